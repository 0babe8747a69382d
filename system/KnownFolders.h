#pragma once
// The folders the program works with, each found one way, here: its own (as the loader
// names it), the system and Windows folders (the machine's own, never the per-user
// Windows folder of Terminal Services), and the user's Startup folder.
#include <string>

namespace KnownFolders {

std::string ExecutablePath();  // the running executable's full path
std::string AppFolder();       // its folder with exactly one trailing backslash
// Without a trailing backslash; "" when the system cannot say.
std::string SystemFolder();   // "C:\WINDOWS\system32"
std::string WindowsFolder();  // "C:\WINDOWS"
std::string StartupFolder();  // the current user's, as the shell names it

}  // namespace KnownFolders
