#include "app/Tray.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <iterator>
#include <optional>
#include <utility>

#include "app/TrayArt.h"
#include "app/TrayPictures.h"
#include "app/frmMainWindow.h"
#include "settings/modSettings.h"
#include "system/modRegistry.h"

namespace frmMain {

namespace {

// The first, smallest record layout: understood by every shell from XP on.
constexpr DWORD kNotifyIconSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(sizeof(void*) != 4 || kNotifyIconSize == 88, "the 32-bit record is 88 bytes");
// The main icon's notifications arrive as mouse moves (the tray menu reads them).
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;
constexpr UINT kMainIconId = 0, kBatteryIconId = 1;
constexpr UINT kBalloonTimeout = 10000;  // ms; the shell keeps it at least this long

NOTIFYICONDATAA MainIconData{};
NOTIFYICONDATAA BatteryIconData{};

// What the shell was last given for an icon. What it has already is not sent again
// (handing an icon to the shell is the dearest part of a tick), unless the shell is
// another one now: a shell that restarted without a word has lost the icon.
struct Sent {
    HWND shell = nullptr;
    HICON icon = nullptr;
    decltype(NOTIFYICONDATAA::szTip) tip{};
    bool known = false;
};
Sent MainSent, BatterySent;
bool batteryIconShown = false;
bool mainIconShown = false;

// Balloons the shell did not take (at log-on the task may start the program before
// there is a notification area; a busy shell times a request out while it keeps the
// icon), sent again at each tick while the shell has the main icon; the oldest go when
// more wait than this, and any that waited too long to be news.
struct Balloon {
    bool warning;
    std::wstring text;
    DWORD queued = 0;  // GetTickCount
};
std::deque<Balloon> waitingBalloons;
constexpr size_t kWaitingBalloons = 4;
constexpr DWORD kBalloonShelfLife = 5 * 60 * 1000;
bool BatteryTurn = false;
COLORREF batteryTextColor = 0;

// The pictures the icons show now, and what they show. The main icon shows the
// undrawn chip until the first good tick. A picture is drawn only when what it shows
// changes (making an icon is the dearest part of a tick), and a replaced one is
// destroyed only once the shell has the new one.
struct ShownPicture {
    Gdi::Icon icon;
    std::optional<TrayPictures::Picture> shows;

    // Draws the picture unless it is shown already; the replaced icon is handed back.
    Gdi::Icon Show(const TrayPictures::Picture& picture) {
        if (icon && shows == picture)
            return Gdi::Icon();
        shows = picture;
        return std::exchange(icon, TrayPictures::Draw(picture));
    }
};
ShownPicture mainPicture;
ShownPicture batteryPicture;
Gdi::Icon chipPicture;

// Whether the taskbar is light, read when first needed and again after the theme
// changed (Windows 10 and later; older ones have no such value: dark).
std::optional<bool> lightTaskbar;

bool LightTaskbar() {
    if (!lightTaskbar) {
        const RegistryValue value = modRegistry::RegReadValue(
            HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
            "SystemUsesLightTheme");
        lightTaskbar = value.IsNumber && value.Number == 1;
    }
    return *lightTaskbar;
}

HICON MainPicture() {
    if (mainPicture.icon)
        return mainPicture.icon.get();
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

// The window that Shell_NotifyIconA hands its requests to.
HWND Shell() { return FindWindowA("Shell_TrayWnd", nullptr); }

void Remember(Sent& sent, HWND shell, const NOTIFYICONDATAA& data, uint32_t message) {
    sent = Sent{shell, data.hIcon, {}, message != TrayDelete};
    std::memcpy(sent.tip, data.szTip, sizeof sent.tip);
}

// A shell that restarted without telling refuses changes of icons it no longer has.
// True when the shell took the icon as a new one.
bool Send(uint32_t message, NOTIFYICONDATAA& data, Sent& sent) {
    const HWND shell = Shell();
    if (message == TrayModify && sent.known && sent.icon == data.hIcon && sent.shell == shell &&
        std::memcmp(sent.tip, data.szTip, sizeof sent.tip) == 0)
        return false;
    bool taken = Shell_NotifyIconA(message, &data), added = taken && message == TrayAdd;
    if (!taken && message == TrayModify)
        taken = added = Shell_NotifyIconA(TrayAdd, &data);
    // What the shell did not take (it was busy, or there is none) is sent again next time.
    if (taken)
        Remember(sent, shell, data, message);
    else
        sent.known = false;
    return added;
}

// The larger record of Windows 2000 and later, for this request only: the icon's own
// requests keep the first layout.
bool SendBalloon(const Balloon& balloon) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = MainWindow();
    data.uID = kMainIconId;
    data.uFlags = NIF_INFO;
    balloon.text.copy(data.szInfo, std::size(data.szInfo) - 1);
    const std::string title = modSettings::AppTitle;
    std::copy(title.begin(), title.end(), data.szInfoTitle);
    data.dwInfoFlags = balloon.warning ? NIIF_WARNING : NIIF_INFO;
    data.uTimeout = kBalloonTimeout;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ShowWaitingBalloons() {
    const DWORD now = GetTickCount();
    while (!waitingBalloons.empty() && now - waitingBalloons.front().queued > kBalloonShelfLife)
        waitingBalloons.pop_front();
    while (!waitingBalloons.empty() && SendBalloon(waitingBalloons.front()))
        waitingBalloons.pop_front();
}

void FillMain() {
    Fill(MainIconData, kMainIconId, MainPicture());
    MainIconData.uCallbackMessage = kTrayCallbackMessage;
}

}  // namespace

void UpdateMainTrayIcon(uint32_t message) {
    FillMain();
    const bool added = Send(message, MainIconData, MainSent);
    mainIconShown = message != TrayDelete;
    if (!mainIconShown)
        waitingBalloons.clear();
    else if (added || MainSent.known)
        ShowWaitingBalloons();
}

void UpdateBatteryTrayIcon(uint32_t message) {
    if (message == TrayDelete && !batteryIconShown)
        return;  // nothing there to remove
    Fill(BatteryIconData, kBatteryIconId, batteryPicture.icon.get());
    Send((message == TrayModify && !batteryIconShown) ? TrayAdd : message, BatteryIconData, BatterySent);
    batteryIconShown = message != TrayDelete;
}

void SetTrayTip(const std::string& text) {
    const TrayArt::TipField field = TrayArt::TrayTipField(text);
    // The first record layout has 64 characters of tooltip: the shell reads no more.
    static_assert(sizeof MainIconData.szTip >= sizeof field);
    std::memcpy(MainIconData.szTip, field.data(), field.size());
}

bool BatteryIconShown() { return batteryIconShown; }

void SetBatteryTextColor(int32_t color) { batteryTextColor = static_cast<COLORREF>(color); }

void DrawTemperatureIcon(uint8_t temperature, int32_t throttleMode, const SettingsRecord& settings) {
    // Full-size digits are drawn straight onto the taskbar: dark ones on a light one.
    const int32_t color = TrayArt::TemperatureTextColor(throttleMode, settings.TemperatureTextColor,
                                                        settings.TemperatureTextColor2,
                                                        settings.ShowFullSizeTempIcon && LightTaskbar());
    const Gdi::Icon replaced = mainPicture.Show(TrayPictures::TemperaturePicture(
        temperature, static_cast<COLORREF>(color), settings.ShowFullSizeTempIcon));
    UpdateMainTrayIcon(TrayModify);
}

void DrawBatteryIcon(int32_t batteryLifeTime, bool singleIconMode) {
    const TrayPictures::Picture picture = TrayPictures::BatteryPicture(batteryLifeTime, batteryTextColor);
    if (singleIconMode) {
        UpdateBatteryTrayIcon(TrayDelete);  // never shown in this mode: no call
        // Every other call the main icon shows the time instead of the temperature.
        if (BatteryTurn) {
            const Gdi::Icon replaced = mainPicture.Show(picture);
            UpdateMainTrayIcon(TrayModify);
        }
    } else {
        const Gdi::Icon replaced = batteryPicture.Show(picture);
        UpdateBatteryTrayIcon(TrayModify);
    }
    BatteryTurn = !BatteryTurn;
}

void ShowBalloon(bool warning, const std::wstring& text) {
    if (!mainIconShown)
        return;
    Balloon balloon{warning, text, GetTickCount()};
    // In their order: one waiting goes first.
    if (waitingBalloons.empty() && SendBalloon(balloon))
        return;
    if (waitingBalloons.size() == kWaitingBalloons)
        waitingBalloons.pop_front();
    waitingBalloons.push_back(std::move(balloon));
}

void TaskbarThemeChanged() { lightTaskbar.reset(); }

const std::optional<TrayPictures::Picture>& MainIconPicture() { return mainPicture.shows; }

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
    const bool added = Shell_NotifyIconA(TrayAdd, &MainIconData);
    Remember(MainSent, Shell(), MainIconData, TrayAdd);
    if (added)
        ShowWaitingBalloons();
    if (batteryIconShown) {
        Fill(BatteryIconData, kBatteryIconId, batteryPicture.icon.get());
        Shell_NotifyIconA(TrayAdd, &BatteryIconData);
        Remember(BatterySent, Shell(), BatteryIconData, TrayAdd);
    }
}

}  // namespace frmMain
