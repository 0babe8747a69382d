#include "app/Tray.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/frmMainWindow.h"
#include "resources/resource.h"

namespace frmMain {

namespace {

// The first, smallest record layout: understood by every shell from XP on.
constexpr DWORD kNotifyIconSize = NOTIFYICONDATAA_V1_SIZE;
// The main icon's notifications arrive as mouse moves (the tray menu reads them).
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;

NOTIFYICONDATAA MainIconData{};
NOTIFYICONDATAA BatteryIconData{};
bool batteryIconShown = false;

HICON Picture(int id) {
    // Shared resource icons belong to the system: nothing to destroy.
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, 16, 16, LR_SHARED));
}

void Fill(NOTIFYICONDATAA& data, UINT id, HICON picture) {
    data.cbSize = kNotifyIconSize;
    data.hWnd = MainWindow();
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = picture;
}

}  // namespace

void UpdateMainTrayIcon(uint32_t message) {
    Fill(MainIconData, 0, Picture(IDI_CHIP));
    MainIconData.uCallbackMessage = kTrayCallbackMessage;
    Shell_NotifyIconA(message, &MainIconData);
}

void UpdateBatteryTrayIcon(uint32_t message) {
    if (message == TrayDelete && !batteryIconShown)
        return;  // nothing there to remove
    Fill(BatteryIconData, 1, Picture(IDI_BATTERY));
    const uint32_t sent = (message == TrayModify && !batteryIconShown) ? TrayAdd : message;
    Shell_NotifyIconA(sent, &BatteryIconData);
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

void DrawTemperatureIcon(uint8_t) {
    // The tray shows the chip picture with the stored tooltip until the digits are
    // drawn onto it.
    UpdateMainTrayIcon(TrayModify);
}

void DrawBatteryIcon() {
    // The battery picture, without the time text until that is drawn onto it.
    UpdateBatteryTrayIcon(TrayModify);
}

}  // namespace frmMain
