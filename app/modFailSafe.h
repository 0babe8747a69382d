#pragma once
// The fan handed back to the EC when the program dies of a fault, not only when it
// exits: a fan forced off must not outlive the program that watched the temperature.

namespace modFailSafe {

// Installs, for the whole process, an unhandled-exception filter (access violations and
// other faults in any handler) and a terminate handler (C++ exceptions nobody catches).
// Each hands the fan back once, then lets the process end as it would have.
void InstallCrashHandBack();

}  // namespace modFailSafe
