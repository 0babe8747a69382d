#include "app/modPowerEvents.h"

#include "app/frmMain.h"

namespace modPowerEvents {

WNDPROC PreviousWindowProc = nullptr;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing watches the temperature while the machine sleeps: the EC keeps the fan.
    if (message == WM_POWERBROADCAST && wParam == PBT_APMSUSPEND)
        frmMain::HandFanToEcForSleep();
    // Resume from sleep is handled here once the resume steps are in place; every
    // message, handled or not, still reaches the window's own procedure.
    return CallWindowProcA(PreviousWindowProc, hwnd, message, wParam, lParam);
}

}  // namespace modPowerEvents
