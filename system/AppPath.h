#pragma once
// The parts of the executable's path and the autostart shortcut's path, kept OS-free
// so the drive-root and odd-name cases are tested natively.
#include <string>
#include <string_view>

// The path with a trailing backslash added when its last character is not one
// ("" gives "\", "C:\" stays "C:\").
std::string AddBackslash(std::string_view path);

// The folder that holds filePath, with exactly one trailing backslash:
// "C:\Tools\vantu.exe" -> "C:\Tools\", "C:\vantu.exe" -> "C:\".
std::string FolderWithBackslash(std::string_view filePath);

// The file name without its extension: "C:\Tools\my.fan.exe" -> "my.fan". A dot in
// a folder's name is not an extension.
std::string ExecutableName(std::string_view filePath);

// The shortcut file for a name in a folder: folder, one backslash, the name, and
// ".lnk" unless the name already ends in exactly (case-sensitive) ".lnk".
std::string StartupLinkPath(std::string_view folder, std::string_view name);
