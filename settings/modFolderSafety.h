#pragma once
// Reads what FolderSafety judges a folder by: the owners and DACLs of the folder, of
// the files the program loads from there and of every folder above it, through
// Windows' own security calls; links on the path, the drive's type, the profiles
// folder and the running account's token.
#include <string>

#include "settings/FolderSafety.h"

namespace modFolderSafety {

// The running account and whether it counts as an administrator's own: Windows 5.x,
// or no unelevated token beside this one.
FolderSafety::Trust RunningAccount();

// `folder` ends in one backslash; `exeName` is the file name of the program that runs
// from there ("vantu.exe"). Listed files that do not exist are skipped.
FolderSafety::Finding CheckFolder(const std::string& folder, const std::string& exeName,
                                  FolderSafety::Reading reading);

}  // namespace modFolderSafety
