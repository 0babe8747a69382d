#include "app/Tray.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <utility>

#include "app/TrayArt.h"
#include "app/TrayPictures.h"
#include "app/frmMainWindow.h"
#include "settings/modSettings.h"
#include "system/modPowerMan.h"

namespace frmMain {

namespace {

// The first, smallest record layout: understood by every shell from XP on.
constexpr DWORD kNotifyIconSize = NOTIFYICONDATAA_V1_SIZE;
// The main icon's notifications arrive as mouse moves (the tray menu reads them).
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;
constexpr UINT kMainIconId = 0, kBatteryIconId = 1;

NOTIFYICONDATAA MainIconData{};
NOTIFYICONDATAA BatteryIconData{};
bool batteryIconShown = false;
bool mainIconShown = false;
bool BatteryTurn = false;
COLORREF batteryTextColor = 0;

// The pictures the icons show now. The main icon shows the undrawn chip until the
// first good tick. A replaced picture is destroyed only once the shell has the new one.
Gdi::Icon mainPicture;
Gdi::Icon batteryPicture;
Gdi::Icon chipPicture;

HICON MainPicture() {
    if (mainPicture)
        return mainPicture.get();
    if (!chipPicture)
        chipPicture = TrayPictures::LoadChipPicture();
    return chipPicture.get();
}

void Fill(NOTIFYICONDATAA& data, UINT id, HICON picture) {
    data.cbSize = kNotifyIconSize;
    data.hWnd = MainWindow();
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = picture;
}

// A shell that restarted without telling refuses changes of icons it no longer has.
void Send(uint32_t message, NOTIFYICONDATAA& data) {
    if (!Shell_NotifyIconA(message, &data) && message == TrayModify)
        Shell_NotifyIconA(TrayAdd, &data);
}

void FillMain() {
    Fill(MainIconData, kMainIconId, MainPicture());
    MainIconData.uCallbackMessage = kTrayCallbackMessage;
}

}  // namespace

void UpdateMainTrayIcon(uint32_t message) {
    FillMain();
    Send(message, MainIconData);
    mainIconShown = message != TrayDelete;
}

void UpdateBatteryTrayIcon(uint32_t message) {
    if (message == TrayDelete && !batteryIconShown)
        return;  // nothing there to remove
    Fill(BatteryIconData, kBatteryIconId, batteryPicture.get());
    Send((message == TrayModify && !batteryIconShown) ? TrayAdd : message, BatteryIconData);
    batteryIconShown = message != TrayDelete;
}

void SetTrayTip(const std::string& text) {
    // Up to 63 characters and a NUL fit; a longer text fills the field without one.
    char* tip = MainIconData.szTip;
    const size_t size = sizeof MainIconData.szTip;
    std::memset(tip, ' ', size);
    const size_t n = text.size() < size ? text.size() : size;
    std::memcpy(tip, text.data(), n);
    if (n < size)
        tip[n] = '\0';
}

bool BatteryIconShown() { return batteryIconShown; }

void SetBatteryTextColor(int32_t color) { batteryTextColor = static_cast<COLORREF>(color); }

void DrawTemperatureIcon(uint8_t temperature) {
    const auto& settings = modSettings::Settings;
    const int32_t color = TrayArt::TemperatureTextColor(modPowerMan::CurrentThrottleMode(),
                                                        settings.TemperatureTextColor,
                                                        settings.TemperatureTextColor2);
    const Gdi::Icon replaced = std::exchange(
        mainPicture, TrayPictures::DrawTemperaturePicture(temperature, static_cast<COLORREF>(color),
                                                          settings.ShowFullSizeTempIcon));
    UpdateMainTrayIcon(TrayModify);
}

void DrawBatteryIcon() {
    Gdi::Icon picture = TrayPictures::DrawBatteryPicture(
        modPowerMan::PowerStatus().BatteryLifeTime, batteryTextColor);
    if (modSettings::Settings.SingleIconMode) {
        UpdateBatteryTrayIcon(TrayDelete);  // never shown in this mode: no call
        if (BatteryTurn) {
            const Gdi::Icon replaced = std::exchange(mainPicture, std::move(picture));
            UpdateMainTrayIcon(TrayModify);
        }
    } else {
        const Gdi::Icon replaced = std::exchange(batteryPicture, std::move(picture));
        UpdateBatteryTrayIcon(TrayModify);
    }
    BatteryTurn = !BatteryTurn;
}

unsigned RegisterTaskbarCreated() {
    const UINT message = RegisterWindowMessageA("TaskbarCreated");
    // Vista and later hold back broadcasts from a normal-rights shell to an elevated
    // window unless it lets them through; XP has no such filter (nor the function).
    using AllowMessage = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ADD
    if (const auto allow = reinterpret_cast<AllowMessage>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilter"))))
        allow(message, kAllow);
    return message;
}

void TaskbarCreated() {
    if (!mainIconShown)
        return;  // not added yet, or already removed at shutdown
    FillMain();
    Shell_NotifyIconA(TrayAdd, &MainIconData);
    if (batteryIconShown) {
        Fill(BatteryIconData, kBatteryIconId, batteryPicture.get());
        Shell_NotifyIconA(TrayAdd, &BatteryIconData);
    }
}

}  // namespace frmMain
