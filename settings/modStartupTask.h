#pragma once
// The scheduled task that starts the program at log-on from Windows 6.0 on, through
// the Task Scheduler 2.0 service (created at run time: Windows XP has none, and is
// never asked). The task is named after the executable, as the shortcut is.
#include <windows.h>

#include <string>

namespace modStartupTask {

// Whether the task is registered, seen from the file in which the service keeps each
// task (the Tasks folder of the system folder) rather than by asking the service: the
// libraries that asking loads (RPC's among them) would stay in the program for good.
bool StartupTaskExists(const std::string& name);
// Registers the task for the current user, or replaces it (so that a moved executable
// is followed): it starts folder\`name`.exe in folder. The failure comes back (the
// service stopped, access denied).
HRESULT RegisterStartupTask(const std::string& name, const std::string& folder);
// The program the registered task starts, read from its file (UTF-16 as Windows writes
// it, UTF-8 as Wine does); "" when there is none or it names none.
std::string StartupTaskCommand(const std::string& name);
// Deletes the task; none there is no failure.
void DeleteStartupTask(const std::string& name);

}  // namespace modStartupTask
