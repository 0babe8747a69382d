#include "app/modPowerEvents.h"

#include "app/TrayMenu.h"
#include "app/frmMain.h"
#include "ec/modAcerEC.h"
#include "settings/modSettings.h"
#include "system/modDeviceControl.h"
#include "system/modScreenRes.h"

namespace modPowerEvents {

WNDPROC PreviousWindowProc = nullptr;

namespace {

constexpr DWORD kResumePause = 100;

bool IsResume(WPARAM event) {
    return event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMESTANDBY ||
           event == PBT_APMRESUMECRITICAL;
}

// The EC takes the fan at once; the next tick writes the chosen mode and the disk
// level again, as after start-up. The graphics driver forgets downscaling in sleep.
void ResumeFromSleep() {
    modAcerEC::SetFanAuto();
    Sleep(kResumePause);
    modDeviceControl::SetApmLevelInForce(modDeviceControl::ApmLevelDefault);
    modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    if (modScreenRes::CustomResolutionActive() && modSettings::Settings.EnableDownscaling)
        frmMain::SetDownscaling(true);
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing watches the temperature while the machine sleeps: the EC keeps the fan
    // from the suspend notice to the resume events (a tick may still run in between).
    if (message == WM_POWERBROADCAST && wParam == PBT_APMSUSPEND)
        frmMain::HandFanToEcForSleep();
    if (message == WM_POWERBROADCAST && IsResume(wParam)) {
        frmMain::WatchFanAfterSleep();
        ResumeFromSleep();
    }
    // Every message, handled or not, still reaches the window's own procedure.
    return CallWindowProcA(PreviousWindowProc, hwnd, message, wParam, lParam);
}

}  // namespace modPowerEvents
