// Another program's hold on the EC, for the tests: takes the system-wide mutex that
// hardware-monitoring programs take around their EC transactions, creates the file
// named by its argument once it holds it, and releases the mutex and ends when that
// file is deleted. Ended from outside instead, it leaves the mutex abandoned, as a
// monitor that crashed would.
#include <windows.h>

#include "system/Handle.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const Handle lock(CreateMutexA(nullptr, FALSE, "Global\\Access_EC"));
    if (!lock)
        return 1;
    const DWORD wait = WaitForSingleObject(lock.get(), INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return 1;
    // Closed before the wait, so that the test can delete it.
    const bool marked = static_cast<bool>(Handle(CreateFileA(
        argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    while (marked && GetFileAttributesA(argv[1]) != INVALID_FILE_ATTRIBUTES)
        Sleep(20);
    ReleaseMutex(lock.get());
    return marked ? 0 : 1;
}
