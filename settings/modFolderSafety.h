#pragma once
// Reads the DACLs of the program's folder and of the files it loads from there, for
// FolderSafety to judge: autostart is not turned on from a folder that users who are
// not administrators can change, and start-up warns when it is already on.
#include <string>

namespace modFolderSafety {

// `folder` ends in one backslash; `exeName` is the running executable's file name
// ("vantu.exe"). Listed files that do not exist are skipped; a DACL that cannot be
// read does not make the folder unsafe.
bool FolderIsUnsafe(const std::string& folder, const std::string& exeName);

// The same for the running program's own folder and executable.
bool ProgramFolderIsUnsafe();

}  // namespace modFolderSafety
