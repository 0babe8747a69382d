#pragma once
// The text of a private-profile (INI) file, edited the way the platform's profile
// writer edits the file in place: the program builds the whole new file in memory and
// writes it at once, since the platform's writer can report success for a file it cut
// short (Wine's does on a full disk). No OS calls, so it is tested natively.
#include <string>
#include <string_view>

namespace IniText {

// Sets key=value in section. The first line of the key (names compared without regard
// to letter case or the blanks around them) in the first section of that name is
// replaced, keeping its line end; a missing key goes after the last non-blank line of
// its section, a missing section at the end of the text. Every other line, comments
// and keys the program does not know included, stays as it is.
void SetValue(std::string& text, std::string_view section, std::string_view key,
              std::string_view value);

}  // namespace IniText
