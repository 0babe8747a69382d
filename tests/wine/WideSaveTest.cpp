// A file the user names, written whole through the wide file calls: any length, and
// never through a file of the user's (the paths themselves: tests/native/WidePathTest.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include "system/Files.h"
#include "system/WidePath.h"

namespace {

std::wstring TestFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"vantu-wide-save";
}

std::string Read(const std::wstring& path) {
    const HANDLE file = CreateFileW(WidePath::Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(none)";
    char bytes[256] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    return std::string(bytes, read);
}

// The temporary files left in the folder.
int Temporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    int left = 0;
    const HANDLE search = FindFirstFileW(WidePath::Extended(folder + L"\\~vantu-*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        ++left;
    FindClose(search);
    return left;
}

// Written under a path past 260 characters, and never through a file of the user's that
// looks like a temporary one. (A name outside the code page, and a write that fails on a
// full disk: tests/e2e/HistoryTest.cpp, through the Save dialog.)
TEST(WideSave, AnyLengthAndNeverThroughTheUsersFile) {
    const std::wstring folder = TestFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* left : {L"history.csv", L"history.csv.new"})  // an earlier run's
        DeleteFileW((folder + L"\\" + left).c_str());
    std::wstring deep = folder;
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'x');
        CreateDirectoryW(WidePath::Extended(deep).c_str(), nullptr);
    }
    ASSERT_TRUE(ReplaceFileContents(deep + L"\\history.csv", "first"));
    ASSERT_TRUE(ReplaceFileContents(deep + L"\\history.csv", "second"));
    EXPECT_EQ(Read(deep + L"\\history.csv"), "second");
    EXPECT_EQ(Temporaries(deep), 0);

    const std::wstring users = folder + L"\\history.csv.new";
    ASSERT_TRUE(ReplaceFileContents(users, "the user's own"));
    ASSERT_TRUE(ReplaceFileContents(folder + L"\\history.csv", "saved"));
    EXPECT_EQ(Read(users), "the user's own");
    EXPECT_EQ(Temporaries(folder), 0);
}

}  // namespace
