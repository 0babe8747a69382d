#include "system/modCmdOutput.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "system/CommandStart.h"

namespace modCmdOutput {

namespace {

constexpr DWORD kBufferSize = 1024;

// Ends a command that runs past its time. A synchronous pipe read can only be broken
// from another thread, and Windows XP has no CancelSynchronousIo: ending every writer
// (the child and what it started, held together in a job) makes the read fail as at
// the end of the output. The thread only waits; it touches no window.
class Watchdog {
public:
    Watchdog(HANDLE job, HANDLE process, DWORD timeoutMs)
        : job_(job), process_(process), timeoutMs_(timeoutMs),
          stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        if (stop_)
            thread_ = Handle(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    }
    ~Watchdog() {
        if (thread_) {
            SetEvent(stop_.get());
            WaitForSingleObject(thread_.get(), INFINITE);
        }
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(void* self) {
        const auto* watchdog = static_cast<const Watchdog*>(self);
        if (WaitForSingleObject(watchdog->stop_.get(), watchdog->timeoutMs_) == WAIT_TIMEOUT) {
            // Without a job (this program already runs in one that allows no other,
            // before Windows 8) only the child itself can be ended.
            if (!watchdog->job_ || !TerminateJobObject(watchdog->job_, ERROR_TIMEOUT))
                TerminateProcess(watchdog->process_, ERROR_TIMEOUT);
        }
        return 0;
    }

    HANDLE job_;
    HANDLE process_;
    DWORD timeoutMs_;
    Handle stop_;
    Handle thread_;
};

std::string TextOf(const char* bytes, DWORD count, bool convertFromOem) {
    std::string text(bytes, count);
    if (convertFromOem && count > 0)
        OemToCharBuffA(bytes, text.data(), count);
    return text;
}

}  // namespace

std::string RunCommand(const std::string& commandLine, bool wantStdout, bool wantStderr,
                       bool convertFromOem, uint32_t timeoutMs) {
    if (!wantStdout && !wantStderr)
        throw std::invalid_argument("RunCommand: neither standard output nor standard error wanted");

    std::vector<char> buffer(kBufferSize);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, kBufferSize))
        return "";
    Handle write(writeEnd);
    // The child must not inherit the read end: it would keep the pipe open for ever.
    // The source is closed whether or not the duplication succeeds.
    HANDLE ownRead = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), readEnd, GetCurrentProcess(), &ownRead, 0, FALSE,
                         DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
        return "";
    const Handle read(ownRead);
    Handle writeCopy;
    if (wantStdout && wantStderr) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), write.get(), GetCurrentProcess(), &copy, 0, TRUE,
                            DUPLICATE_SAME_ACCESS))
            writeCopy = Handle(copy);
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = wantStdout ? write.get() : nullptr;
    startup.hStdError = wantStdout ? (wantStderr ? writeCopy.get() : nullptr) : write.get();

    // Suspended until it is in the job, so that nothing it starts escapes the job.
    auto child = StartCommand(commandLine, startup, true, CREATE_SUSPENDED);
    if (!child)
        return FailedToCreateProcess;
    Handle job(CreateJobObjectA(nullptr, nullptr));
    if (job && !AssignProcessToJobObject(job.get(), child->Process.get()))
        job.Close();
    ResumeThread(child->Thread.get());
    child->Thread.Close();
    // Only the child may hold the writing side, or the read below never ends.
    write.Close();
    writeCopy.Close();

    std::string result;
    {
        const Watchdog watchdog(job.get(), child->Process.get(), timeoutMs);
        DWORD count = 0;
        while (ReadFile(read.get(), buffer.data(), kBufferSize, &count, nullptr))
            result += TextOf(buffer.data(), count, convertFromOem);
    }
    return result;
}

}  // namespace modCmdOutput
