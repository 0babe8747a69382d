#pragma once
// The one way the program finds and starts a command, shared by StartHidden and
// RunCommand.
#include <windows.h>

#include <optional>
#include <string>

#include "system/Handle.h"

// The full path of the program the command line names, or "" when there is none.
// Looked for in this program's own folder, the system folder and the Windows folder,
// never along PATH or in the current directory: the program runs with administrator
// rights, and a devcon.exe that others could plant there must not run with them.
std::string ResolveCommand(const std::string& commandLine);

struct StartedProcess {
    Handle Process;
    Handle Thread;
};

// Starts the resolved program by its full path, in the system folder, with an
// environment made from the system's own values (SystemEnvironment::CommandBlock), none
// of the program's; the child gets the command line as given. Nothing when the program
// is not found or could not be started.
std::optional<StartedProcess> StartCommand(const std::string& commandLine, STARTUPINFOA& startup,
                                           bool inheritHandles, DWORD creationFlags);
