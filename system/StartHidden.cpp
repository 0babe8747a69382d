#include "system/StartHidden.h"

#include <windows.h>

#include "system/CommandStart.h"

bool StartHidden(const std::string& commandLine, uint32_t waitMilliseconds) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // A console program would otherwise flash up a console window of its own.
    const auto started = StartCommand(commandLine, startup, false, CREATE_NO_WINDOW);
    if (!started)
        return false;
    if (waitMilliseconds != 0)
        WaitForSingleObject(started->Process.get(), waitMilliseconds);
    return true;
}
