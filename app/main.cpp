// vantu: a tray tool that watches the CPU temperature and drives the netbook's fan.
#include <windows.h>

#include "app/frmMain.h"
#include "app/modFailSafe.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    modFailSafe::InstallCrashHandBack();
    // Start-up may end the program by itself (second instance, no port access).
    if (!frmMain::Create())
        return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
