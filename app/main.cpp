// vantu: a tray tool that watches the CPU temperature and drives the netbook's fan.
#include <windows.h>

#include <cstdlib>

#include "app/frmHistory.h"
#include "app/frmMain.h"
#include "app/modFailSafe.h"
#include "settings/modSettings.h"
#include "settings/modStartupCheck.h"
#include "system/SystemLibrary.h"
#include "system/modSystemEnvironment.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The environment may be the user's, who can set it without elevation: before
    // anything reads it (COM expands %SystemRoot% from it), the system's own values.
    modSystemEnvironment::UseSystemEnvironment();
    RestrictLibrarySearch();
    modFailSafe::InstallCrashHandBack();
    // An autostart that names a folder others can change is judged and removed before
    // anything is taken from a folder (it decides between task and shortcut by the
    // Windows version); a copy that runs from such a folder itself ends here.
    modSettings::ReadWindowsVersion();
    const modStartupCheck::Outcome autostart = modStartupCheck::CheckAutostart();
    if (!autostart.message.empty())
        MessageBoxA(nullptr, autostart.message.c_str(), modSettings::AppTitle, MB_OK);
    if (autostart.end)
        return 0;
    // Start-up may end the program by itself (second instance, no port access).
    if (!frmMain::Create())
        return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (frmHistory::PreTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// The runtime's default terminate handler prints the uncaught exception's type, and for
// that links the whole C++ name demangler (46 KB). A program without a console has
// nowhere to print it; the crash hand-back has run before this is called.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
