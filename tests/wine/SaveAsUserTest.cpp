// A file the user chose, written with the desktop user's rights where the account has a
// split token. Wine's desktop registers no shell window and Wine makes no token of
// medium integrity, so the shell's token comes from a stand-in: Wine's linked token
// (limited, not elevated), with the facts each row claims for it.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "system/modShellToken.h"

namespace {

using ShellToken::Verdict;

ShellToken::Facts claimed;

modShellToken::Token StandIn() {
    modShellToken::Token token;
    HANDLE own = nullptr, linked = nullptr;
    DWORD size = 0;
    if (claimed.found && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) {
        GetTokenInformation(own, static_cast<TOKEN_INFORMATION_CLASS>(19), &linked, sizeof linked, &size);
        CloseHandle(own);
    }
    token.handle = Handle(linked);
    token.facts = claimed;
    return token;
}

// Whose token the thread holds: 3 the limited (the stand-in's), 0 none of its own.
DWORD ThreadTokenType() {
    HANDLE token = nullptr;
    DWORD type = 0, size = 0;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token))
        return 0;
    GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(18), &type, sizeof type, &size);
    CloseHandle(token);
    return type;
}

DWORD heldWhileWriting = 99;
bool Recording(HANDLE file, std::string_view bytes) {
    heldWhileWriting = ThreadTokenType();
    return WriteAllBytes(file, bytes);
}
bool Failing(HANDLE file, std::string_view bytes) { return Recording(file, bytes.substr(0, 3)) && false; }

}  // namespace

// Under the shell's token only while the file work lasts, on success and after a failed
// write (the old file whole); with no usable token (elevated, none; of high integrity:
// the native table) nothing is written and the verdict says what was missing; without a
// split token, as the program.
TEST(SaveAsUser, TheFileWorkRunsUnderTheShellsTokenOrNotAtAll) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"vantu-as-user.csv";
    const std::string narrow(path.begin(), path.end());
    const auto saved = modShellToken::DesktopShell;
    modShellToken::DesktopShell = StandIn;
    const struct {
        bool split;
        ShellToken::Facts facts;
        ByteWriter write;
        Verdict verdict;
        bool saved;
        DWORD held;  // the thread's token type while writing; 99: no write
    } cases[] = {
        {true, {true, 0, 0x2000}, Recording, Verdict::Usable, true, 3},
        {true, {true, 0, 0x2000}, Failing, Verdict::Usable, false, 3},
        {true, {true, 1, 0x2000}, Recording, Verdict::Elevated, false, 99},
        {true, {false, {}, {}}, Recording, Verdict::NoShell, false, 99},
        {false, {false, {}, {}}, Recording, Verdict::Usable, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.verdict) << c.split << c.saved);
        std::ofstream(narrow, std::ios::binary) << "old";
        claimed = c.facts;
        heldWhileWriting = 99;
        const modShellToken::Result result = modShellToken::ReplaceAsUser(path, "time,temperature\r\n", c.split, c.write);
        EXPECT_EQ(result.verdict, c.verdict);
        EXPECT_EQ(result.saved, c.saved);
        EXPECT_EQ(heldWhileWriting, c.held);
        EXPECT_EQ(ThreadTokenType(), 0u) << "not reverted";
        EXPECT_EQ(ReadWholeFile(narrow), c.saved ? "time,temperature\r\n" : "old");
    }
    DeleteFileW(path.c_str());
    modShellToken::DesktopShell = saved;
}
