// Another program's hold on the EC, for the tests: takes the system-wide mutex that
// hardware-monitoring programs take around their EC transactions and holds it until
// told to let go. The hand-over goes through named events that the test made before
// starting it, so that the test waits on them instead of looking at files that may
// still be open: NAME.waiting is set when it starts waiting for the mutex, NAME.held
// once it holds it, and NAME.release tells it to release the mutex and end. Ended
// from outside instead, it leaves the mutex abandoned, as a monitor that crashed would.
#include <windows.h>

#include <string>

#include "system/Handle.h"

namespace {

enum ExitCode { Released = 0, NoMutex = 1, Usage = 2, NoEvents = 3, NotOwner = 4 };

Handle OpenNamedEvent(const std::string& name) {
    return Handle(OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return Usage;
    const std::string name = argv[1];
    const Handle waiting = OpenNamedEvent(name + ".waiting"), held = OpenNamedEvent(name + ".held"),
                 release = OpenNamedEvent(name + ".release");
    if (!waiting || !held || !release)
        return NoEvents;
    const Handle lock(CreateMutexA(nullptr, FALSE, "Global\\Access_EC"));
    if (!lock)
        return NoMutex;
    SetEvent(waiting.get());
    const DWORD wait = WaitForSingleObject(lock.get(), INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return NoMutex;
    SetEvent(held.get());
    WaitForSingleObject(release.get(), INFINITE);
    return ReleaseMutex(lock.get()) ? Released : NotOwner;
}
