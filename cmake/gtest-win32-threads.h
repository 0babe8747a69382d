#pragma once
// googletest's thread start-up gate, on a kernel event: the win32 thread model of
// this toolchain (chosen because its runtime imports nothing that Windows XP lacks)
// has no std::condition_variable for googletest's own one.
#ifdef __cplusplus
#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
#endif
