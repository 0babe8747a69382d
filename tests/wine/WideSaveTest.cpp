// A file the user names, written whole through the wide file calls: any characters,
// any length, and never through a file of the user's.
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

// Files in the folder but the ones named.
int Others(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
    WIN32_FIND_DATAW found;
    int others = 0;
    const HANDLE search = FindFirstFileW(WidePath::Extended(folder + L"\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        bool named = std::wstring(found.cFileName) == L"." || std::wstring(found.cFileName) == L"..";
        for (const wchar_t* name : names)
            named = named || found.cFileName == std::wstring(name);
        others += !named;
    }
    FindClose(search);
    return others;
}

TEST(WideSave, ThePrefixAndTheTemporaryName) {
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(WidePath::Extended(L"C:\\short\\file.csv"), L"C:\\short\\file.csv");
    EXPECT_EQ(WidePath::Extended(deep), L"\\\\?\\" + deep);
    EXPECT_EQ(WidePath::Extended(L"\\\\server\\share\\" + std::wstring(300, L's')), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L's'));
    EXPECT_EQ(WidePath::Extended(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
    EXPECT_EQ(WidePath::Extended(L"C:/" + std::wstring(300, L'd')), L"\\\\?\\" + deep);
    EXPECT_EQ(WidePath::TemporaryBeside(L"C:\\Users\\Tom\\history.csv.new", 42), L"C:\\Users\\Tom\\~vantu-0000002a.tmp");
    EXPECT_EQ(WidePath::TemporaryBeside(L"history.csv", 0xDEADBEEF), L"~vantu-deadbeef.tmp");
}

// Written under a name outside the code page and under a path past 260 characters; a
// file of the user's that looks like a temporary one is never touched; a failed write
// leaves the older file whole and nothing beside it.
TEST(WideSave, AnyNameAnyLengthWholeOrNotAtAll) {
    const std::wstring folder = TestFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* left : {L"\u0141\u00F3d\u017A.csv", L"history.csv", L"history.csv.new"})  // an earlier run's
        DeleteFileW((folder + L"\\" + left).c_str());
    std::wstring deep = folder;
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'x');
        CreateDirectoryW(WidePath::Extended(deep).c_str(), nullptr);
    }
    for (const std::wstring& path : {folder + L"\\\u0141\u00F3d\u017A.csv", deep + L"\\history.csv"}) {
        ASSERT_TRUE(ReplaceFileContents(path, "first")) << path.size();
        ASSERT_TRUE(ReplaceFileContents(path, "second"));
        EXPECT_EQ(Read(path), "second");
    }
    EXPECT_EQ(Others(folder, {L"\u0141\u00F3d\u017A.csv", std::wstring(40, L'x').c_str()}), 0);
    EXPECT_EQ(Others(deep, {L"history.csv"}), 0);

    const std::wstring users = folder + L"\\history.csv.new";
    ASSERT_TRUE(ReplaceFileContents(users, "the user's own"));
    ASSERT_TRUE(ReplaceFileContents(folder + L"\\history.csv", "saved"));
    EXPECT_EQ(Read(users), "the user's own");

    const auto failing = [](HANDLE file, std::string_view bytes) { return WriteAllBytes(file, bytes.substr(0, 2)) && false; };
    EXPECT_FALSE(ReplaceFileContents(folder + L"\\history.csv", "never", failing));
    EXPECT_EQ(Read(folder + L"\\history.csv"), "saved");
    EXPECT_EQ(Others(folder, {L"\u0141\u00F3d\u017A.csv", std::wstring(40, L'x').c_str(), L"history.csv.new", L"history.csv"}), 0);
}

}  // namespace
