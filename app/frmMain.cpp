// The hidden main window: it owns the tray icons and the monitor timer, and its
// load and unload handlers bring the program up and down in a fixed order.
#include "app/frmMain.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "app/Tray.h"
#include "app/TrayMenu.h"
#include "app/frmHistory.h"
#include "app/frmMainWindow.h"
#include "app/modPowerEvents.h"
#include "ec/modAcerEC.h"
#include "ec/modSmbios.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "settings/modStartupLink.h"
#include "system/AcpiEcPatch.h"
#include "system/modAcpiECPatch.h"
#include "system/modDeviceControl.h"
#include "system/modInstanceLock.h"
#include "system/modPowerMan.h"

namespace frmMain {

namespace {

constexpr char kClassName[] = "vantu.frmMain";
constexpr UINT_PTR kTimerMon = 1;
constexpr int kInitEcRetries = 10;
constexpr DWORD kInitEcPause = 100;
constexpr UINT kDefaultTimerInterval = 3000;

// What start-up has set up, recorded as it is set up, so that shutdown undoes exactly
// that: a copy that ends at start-up, or a session that ends half-way through it,
// leaves the settings file, the fan and the port library alone.
struct StartedParts {
    bool subclass = false;
    bool portAccess = false;  // the fan is the program's to hand back to the EC
    bool trayIcon = false;
    bool timer = false;
};

struct MainWindowState {
    HWND hwnd = nullptr;
    UINT timerInterval = kDefaultTimerInterval;
    UINT taskbarCreated = 0;  // registered message: the shell's tray is new
    StartedParts started;
    // Shut down, or ending at start-up: from here on nothing more is set up or undone.
    bool unloaded = false;
    EcModels::MachineIdentity machine;  // unknown until start-up reads it
} state;

void ShowMessage(const char* text) {
    MessageBoxA(nullptr, text, modSettings::AppTitle, MB_OK);
}

// WinIo first, as on the machines the program was made for; PawnIO only when all the
// tries have failed.
bool OpenPortAccess() {
    for (int retry = 0;; ++retry) {
        if (modAcerEC::InitEC())
            return true;
        if (retry == kInitEcRetries)
            return modAcerEC::InitPawnIo();
        Sleep(kInitEcPause);
    }
}

// The timer cannot take a period of 0 or less; the default stands in for it.
UINT TimerPeriod(int32_t interval) {
    return interval > 0 ? static_cast<UINT>(interval) : kDefaultTimerInterval;
}

// A fatal condition at start-up: the message, then the end, without shutdown steps
// even when a message reaches the window while the message shows.
bool EndAtStartup(const std::string& text) {
    state.unloaded = true;
    ShowMessage(text.c_str());
    return false;
}

// Start-up, in its fixed order. False when the program must end at once. A modal
// message lets the window receive messages: one that ends the session unloads the
// window, and start-up then stops there.
bool Form_Load() {
    modPowerEvents::PreviousWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        state.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(modPowerEvents::WindowProc)));
    state.started.subclass = true;

    if (!modInstanceLock::TakeInstanceLock())
        return EndAtStartup(std::string(modSettings::AppTitle) + " is already running!");

    modSettings::LoadSettings();
    state.machine = modSmbios::ReadMachineIdentity();
    modAcerEC::UseFanPlan(FanPlan::PlanFor(EcModels::FindModel(state.machine)));
    UseTheSettingsFanBytes();
    const auto& settings = modSettings::Settings;
    if (!modSettings::IniFileExists()) {
        // First start: the driver patch is offered before the file is written, so once.
        if (!modAcpiECPatch::IsACPIECPatched() && !modSettings::IsWindows6OrLater &&
            !settings.UseAlternateDriver &&
            MessageBoxA(nullptr, AcpiEcPatch::Question, AcpiEcPatch::QuestionCaption,
                        MB_YESNO) == IDYES && !state.unloaded)
            ShowMessage(modAcpiECPatch::PatchACPIEC());
        if (state.unloaded)
            return false;
        modSettings::SaveSettings();
    }

    PrepareScreenMenu();
    modStartupLink::AutostartEnabled =
        modStartupLink::AutostartExists(modStartupLink::ExecutableName());

    modDeviceControl::DetectWebcam();
    CheckDevicesStatus();
    PrepareCustomDeviceEntry();

    modPowerMan::CreatePowerScheme(settings.Processor.AC, settings.Processor.DC);
    RefreshThrottleMenu();

    if (settings.UseAlternateDriver)
        modAcerEC::OpenECWithoutInit();
    else if (!OpenPortAccess())
        return EndAtStartup("Error, can't initialize IO access.");
    state.started.portAccess = true;

    RefreshFanMenu();
    UpdateMainTrayIcon(TrayAdd);
    state.started.trayIcon = true;
    modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    modDeviceControl::SetApmLevelInForce(modDeviceControl::ApmLevelDefault);
    SetBatteryTextColor(settings.BatteryTextColor);

    TimerMon_Timer();
    state.timerInterval = TimerPeriod(settings.TimerInterval);
    SetMonitorTimerEnabled(true);
    state.started.timer = true;
    return true;
}

// Shutdown: leaves the machine neutral (fan under EC control, port access closed),
// undoing only what start-up set up. It may run inside a modal loop (the session ends
// while a dialog or the menu is open): whatever that loop does afterwards, the
// settings and EC modules let nothing reach the file or the EC any more.
void Form_Unload() {
    if (state.unloaded)
        return;
    state.unloaded = true;
    const StartedParts started = state.started;
    if (started.timer)
        KillTimer(state.hwnd, kTimerMon);
    frmHistory::Close();
    if (started.subclass)
        SetWindowLongPtrA(state.hwnd, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(modPowerEvents::PreviousWindowProc));
    modSettings::SaveSettings();  // nothing before the settings were loaded
    modSettings::CloseSettings();
    if (started.trayIcon) {
        UpdateMainTrayIcon(TrayDelete);
        UpdateBatteryTrayIcon(TrayDelete);
    }
    if (started.portAccess) {
        modAcerEC::SetFanAuto();
        modAcerEC::CloseEC();
    }
}

// The taskbar's colours are in the user's theme: light or dark digits follow it.
void Form_SettingChange(const char* area) {
    if (area && std::strcmp(area, "ImmersiveColorSet") == 0)
        TaskbarThemeChanged();
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
        case WM_SETTINGCHANGE:
            Form_SettingChange(reinterpret_cast<const char*>(lParam));
            break;
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

bool Running() { return !state.unloaded; }

void UseTheSettingsFanBytes() {
    const SettingsRecord& s = modSettings::Settings;
    modAcerEC::UseFanBytes({modSettings::BiosVersion, s.UseCustomFanValue, s.FanValueOff, s.FanValueSlow, s.FanValueAuto});
}

std::string MachineLine() { return FanPlan::MachineLine(state.machine, modAcerEC::CurrentFanPlan()); }

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
    modAcerEC::SetMonitorStop([] { SetMonitorTimerEnabled(false); });
    return Form_Load();
}

void SetMonitorTimerEnabled(bool enabled) {
    if (enabled && state.unloaded)
        return;  // the timer went with the shutdown
    if (enabled)
        SetTimer(state.hwnd, kTimerMon, state.timerInterval, nullptr);
    else
        KillTimer(state.hwnd, kTimerMon);
}

}  // namespace frmMain
