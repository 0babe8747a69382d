#pragma once
// The folder part of the executable's path, kept OS-free so the drive-root case is
// tested natively.
#include <string>
#include <string_view>

// The folder that holds filePath, with exactly one trailing backslash:
// "C:\Tools\vantu.exe" -> "C:\Tools\", "C:\vantu.exe" -> "C:\".
std::string FolderWithBackslash(std::string_view filePath);
