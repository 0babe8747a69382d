#include "app/modFailSafe.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

#include "ec/modAcerEC.h"

namespace modFailSafe {

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;
std::terminate_handler PreviousTerminate = nullptr;
volatile LONG HandedBack = 0;

// Once: a fault inside the hand-back itself must not start it again.
void HandFanBackOnce() {
    if (InterlockedExchange(&HandedBack, 1) == 0)
        modAcerEC::HandFanBack();
}

// Runs on the faulting thread with the program in an unknown state: no allocation and
// no window, only the port library that is open already. Then the fault takes its
// usual course (the runtime's filter, then the system's).
LONG WINAPI HandFanBackOnFault(EXCEPTION_POINTERS* exception) {
    HandFanBackOnce();
    return PreviousFilter ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// A C++ exception that no handler catches ends here, without passing the filter.
[[noreturn]] void HandFanBackOnTerminate() {
    HandFanBackOnce();
    if (PreviousTerminate)
        PreviousTerminate();
    std::abort();
}

}  // namespace

void InstallCrashHandBack() {
    PreviousFilter = SetUnhandledExceptionFilter(HandFanBackOnFault);
    PreviousTerminate = std::set_terminate(HandFanBackOnTerminate);
}

}  // namespace modFailSafe
