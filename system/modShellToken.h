#pragma once
// Files written for the user, as the user: under the token of the desktop's shell,
// set on the thread for the file work alone.
#include <windows.h>

#include <string>
#include <string_view>

#include "system/Files.h"
#include "system/Handle.h"
#include "system/ShellToken.h"

namespace modShellToken {

struct Token {
    Handle handle;  // for impersonation
    ShellToken::Facts facts;
};

// The process token of GetShellWindow()'s owner, duplicated for impersonation, and
// what it is. Tests replace it: Wine's desktop registers no shell window, and Wine
// makes no token of medium integrity.
extern Token (*DesktopShell)();

struct Result {
    ShellToken::Verdict verdict = ShellToken::Verdict::Usable;  // not Usable: nothing was written
    bool saved = false;
};

// ReplaceFileContents for a file the user chose: where the running account has a
// split token, under the desktop shell's token only (the temporary file, the write,
// the flush, the replacement and the removal after a failure), reverted on every path;
// without a split token (Windows XP, UAC off) as the program itself.
Result ReplaceAsUser(const std::wstring& path, std::string_view bytes, bool splitToken,
                     ByteWriter write = WriteAllBytes);

}  // namespace modShellToken
