// The hidden main window: it owns the tray icons and the monitor timer, and its
// load and unload handlers bring the program up and down in a fixed order.
#include "app/frmMain.h"

#include <windows.h>

#include "app/Tray.h"
#include "app/TrayMenu.h"
#include "app/frmMainWindow.h"
#include "app/modPowerEvents.h"
#include "ec/modAcerEC.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "system/modDeviceControl.h"
#include "settings/modStartupLink.h"
#include "system/AcpiEcPatch.h"
#include "system/modAcpiECPatch.h"
#include "system/modPowerMan.h"

namespace frmMain {

namespace {

constexpr char kClassName[] = "vantu.frmMain";
constexpr UINT_PTR kTimerMon = 1;
constexpr int kInitEcRetries = 10;
constexpr DWORD kInitEcPause = 100;
constexpr UINT kDefaultTimerInterval = 3000;

struct MainWindowState {
    HWND hwnd = nullptr;
    HANDLE instanceMutex = nullptr;  // held for the whole run
    UINT timerInterval = kDefaultTimerInterval;
    UINT taskbarCreated = 0;  // registered message: the shell's tray is new
    bool unloaded = false;
} state;

void ShowMessage(const char* text) {
    MessageBoxA(nullptr, text, modSettings::AppTitle, MB_OK);
}

// A machine has one EC: any other running copy, in any session, counts.
bool AnotherInstanceRuns() {
    state.instanceMutex = CreateMutexA(nullptr, FALSE, "Global\\vantu.instance");
    return state.instanceMutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool OpenPortAccess() {
    for (int retry = 0;; ++retry) {
        if (modAcerEC::InitEC())
            return true;
        if (retry == kInitEcRetries)
            return false;
        Sleep(kInitEcPause);
    }
}

// The timer cannot take a period of 0 or less; the default stands in for it.
UINT TimerPeriod(int32_t interval) {
    return interval > 0 ? static_cast<UINT>(interval) : kDefaultTimerInterval;
}

// Start-up, in its fixed order. False when the program must end at once.
bool Form_Load() {
    modPowerEvents::PreviousWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        state.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(modPowerEvents::WindowProc)));

    if (AnotherInstanceRuns()) {
        ShowMessage((std::string(modSettings::AppTitle) + " is already running!").c_str());
        return false;
    }

    modSettings::LoadSettings();
    const auto& settings = modSettings::Settings;
    if (!modSettings::IniFileExists()) {
        // First start: the driver patch is offered before the file is written, so once.
        if (!modAcpiECPatch::IsACPIECPatched() && !modSettings::IsWindows6OrLater &&
            !settings.UseAlternateDriver &&
            MessageBoxA(nullptr, AcpiEcPatch::Question, AcpiEcPatch::QuestionCaption,
                        MB_YESNO) == IDYES)
            ShowMessage(modAcpiECPatch::PatchACPIEC());
        modSettings::SaveSettings();
    }

    PrepareScreenMenu();
    modStartupLink::AutostartEnabled =
        modStartupLink::StartupLinkExists(modStartupLink::ExecutableName());

    modDeviceControl::DetectWebcam();
    CheckDevicesStatus();
    PrepareCustomDeviceEntry();

    modPowerMan::CreatePowerScheme();
    RefreshThrottleMenu();

    if (!settings.UseAlternateDriver && !OpenPortAccess()) {
        ShowMessage("Error, can't initialize IO access.");
        return false;
    }

    RefreshFanMenu();
    UpdateMainTrayIcon(TrayAdd);
    modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    modDeviceControl::SetApmLevelInForce(modDeviceControl::ApmLevelDefault);
    SetBatteryTextColor(settings.BatteryTextColor);

    TimerMon_Timer();
    state.timerInterval = TimerPeriod(settings.TimerInterval);
    SetMonitorTimerEnabled(true);
    return true;
}

// Shutdown: leaves the machine neutral (fan under EC control, port access closed).
void Form_Unload() {
    if (state.unloaded)
        return;
    state.unloaded = true;
    KillTimer(state.hwnd, kTimerMon);
    SetWindowLongPtrA(state.hwnd, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(modPowerEvents::PreviousWindowProc));
    modSettings::SaveSettings();
    UpdateMainTrayIcon(TrayDelete);
    UpdateBatteryTrayIcon(TrayDelete);
    modAcerEC::SetFanAuto();
    if (!modSettings::Settings.UseAlternateDriver)
        modAcerEC::CloseEC();
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == state.taskbarCreated && message != 0) {
        if (!state.unloaded)
            TaskbarCreated();
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimerMon)
                TimerMon_Timer();
            return 0;
        case WM_MOUSEMOVE:
            // The main icon's notifications: the mouse event is the low word.
            Form_MouseMove(LOWORD(lParam));
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && MenuCommand(LOWORD(wParam)))
                return 0;
            break;
        case WM_CLOSE:
            UnloadMainWindow();
            return 0;
        case WM_ENDSESSION:
            // Windows is ending the session: unload as on Exit, without returning.
            if (wParam)
                Form_Unload();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HWND MainWindow() { return state.hwnd; }

void UnloadMainWindow() {
    Form_Unload();
    DestroyWindow(state.hwnd);
}

bool Create() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CHIP));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return false;
    // A hidden top-level window, not a message-only one: the shell's broadcasts
    // (power events, a restarted taskbar) reach only top-level windows.
    state.hwnd = CreateWindowExA(0, kClassName, "Main", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
    if (!state.hwnd)
        return false;
    state.taskbarCreated = RegisterTaskbarCreated();
    return Form_Load();
}

void SetMonitorTimerEnabled(bool enabled) {
    if (enabled)
        SetTimer(state.hwnd, kTimerMon, state.timerInterval, nullptr);
    else
        KillTimer(state.hwnd, kTimerMon);
}

}  // namespace frmMain
