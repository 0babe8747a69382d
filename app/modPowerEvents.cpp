#include "app/modPowerEvents.h"

#include "app/frmMain.h"

namespace modPowerEvents {

WNDPROC PreviousWindowProc = nullptr;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing watches the temperature while the machine sleeps: the EC keeps the fan
    // from the suspend notice to the resume events (a tick may still run in between).
    if (message == WM_POWERBROADCAST && wParam == PBT_APMSUSPEND)
        frmMain::HandFanToEcForSleep();
    if (message == WM_POWERBROADCAST && (wParam == PBT_APMRESUMESUSPEND ||
                                         wParam == PBT_APMRESUMESTANDBY ||
                                         wParam == PBT_APMRESUMECRITICAL))
        frmMain::WatchFanAfterSleep();
    // Resume from sleep is handled here once the resume steps are in place; every
    // message, handled or not, still reaches the window's own procedure.
    return CallWindowProcA(PreviousWindowProc, hwnd, message, wParam, lParam);
}

}  // namespace modPowerEvents
