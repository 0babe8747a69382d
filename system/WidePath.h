#pragma once
// Paths of any length and any characters, for the wide file calls. No OS calls, so
// they are tested natively and in-process alike.
#include <cstdint>
#include <string>
#include <string_view>

namespace WidePath {

// The path as the wide file calls take it at any length: a long absolute one gets the
// "\\?\" prefix ("\\?\UNC\" for a share), which every Windows from XP on knows and
// which lifts the 260-character limit; slashes become backslashes, as the prefix wants.
// A short or relative path, or one prefixed already, stays as it is.
std::wstring Extended(std::wstring_view path);

// A file name of the program's own in the folder of `target`, "~vantu-0000002a.tmp"
// for the number 42: never "NAME.new", which may be a file of the user's.
std::wstring TemporaryBeside(std::wstring_view target, uint32_t number);

}  // namespace WidePath
