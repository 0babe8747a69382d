#pragma once
// The autostart shortcut in the current user's Startup folder, and the shell's
// special folders. Whether vantu starts with Windows is only the presence of the
// shortcut; nothing of it is in the INI file.
#include <windows.h>

#include <string>

namespace modStartupLink {

// Whether the shortcut existed at start-up; afterwards what the user last chose.
extern bool AutostartEnabled;

// The running executable's file name without its extension: the shortcut's name
// (renamed, the program names its shortcut after the new name).
std::string ExecutableName();

// Writes (or overwrites) the shortcut `name`.lnk to folder\`name`.exe, with that
// description, the folder exactly as given as working directory, and the window shown
// without activation. Failures come back to the caller: making the shell link, no
// Startup folder (E_FAIL), or writing the file.
HRESULT CreateStartupLink(const std::string& name, const std::string& folder);
// Deletes the shortcut; a failed delete (none there, in use) is ignored.
void RemoveStartupLink(const std::string& name);
// Only an ordinary file counts: a hidden or system shortcut is absent.
bool StartupLinkExists(const std::string& name);

// Makes the shortcut follow the autostart choice: created when enabled and missing,
// removed when disabled and present. An existing shortcut is never rewritten. The
// result is CreateStartupLink's, else S_OK.
HRESULT UpdateStartupLink(const std::string& name, const std::string& folder, bool enabled);

// Whether the program starts with Windows, as start-up reads it: the shortcut before
// Windows 6.0, the scheduled task from 6.0 on (where the Startup folder is never read).
bool AutostartExists(const std::string& name);
// The program the autostart starts, as stored: from Windows 6.0 on the task's command,
// else the shortcut's target as its file stores it (read without the shell); "" when
// it cannot be told.
std::string AutostartTarget(const std::string& name);
// Makes autostart follow the choice, as the configuration dialog's save does: the
// shortcut before Windows 6.0; from 6.0 on the task, registered anew or deleted. A
// failure to create either comes back.
HRESULT UpdateAutostart(const std::string& name, const std::string& folder, bool enabled);

}  // namespace modStartupLink
