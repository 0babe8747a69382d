#pragma once
// Reads what FolderSafety judges a folder by: the owners and DACLs of the folder, of
// everything in it and of every folder above it, through Windows' own security calls;
// links on the path, the drive's type and bus, the volume's flags, the profiles folder
// and the running account's token.
#include <string>

#include "settings/FolderSafety.h"

namespace modFolderSafety {

// The running account and whether it counts as an administrator's own: Windows 5.x,
// or no unelevated token beside this one.
FolderSafety::Trust RunningAccount();

// `folder` ends in one backslash. What cannot be read counts as changeable.
FolderSafety::Finding CheckFolder(const std::string& folder);

}  // namespace modFolderSafety
