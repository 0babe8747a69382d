#include "system/StartHidden.h"

#include <windows.h>

namespace {

// Closes the handles CreateProcessA returned, whichever way the caller leaves.
class ProcessHandles {
public:
    explicit ProcessHandles(const PROCESS_INFORMATION& info) : info_(info) {}
    ~ProcessHandles() {
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    ProcessHandles(const ProcessHandles&) = delete;
    ProcessHandles& operator=(const ProcessHandles&) = delete;

    HANDLE process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_;
};

}  // namespace

bool StartHidden(const std::string& commandLine, uint32_t waitMilliseconds) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    // CreateProcessA may write into the command line it is given.
    std::string line = commandLine;
    // A console program would otherwise flash up a console window of its own.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
        return false;
    const ProcessHandles handles(info);
    if (waitMilliseconds != 0)
        WaitForSingleObject(handles.process(), waitMilliseconds);
    return true;
}
