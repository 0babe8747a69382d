// The autostart shortcut in the Wine prefix's real Startup folder, read back through
// the shell's own link interface, and the two folder lookups.
#include "settings/modStartupLink.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "settings/ComObjects.h"
#include "settings/modSettings.h"

namespace {

using namespace modStartupLink;

bool SameFolder(std::string a, std::string b) {
    for (auto* text : {&a, &b})
        for (char& c : *text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return a == b;
}

// What a shortcut file holds, as the shell reads it.
struct LinkProperties {
    std::string target, description, workingDirectory, arguments;
};

std::optional<LinkProperties> ReadLink(const std::string& path) {
    const ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.put())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put())))
        return std::nullopt;
    std::wstring widePath(path.begin(), path.end());
    if (FAILED(file->Load(widePath.c_str(), STGM_READ)))
        return std::nullopt;
    char text[4][MAX_PATH] = {};
    LinkProperties properties;
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetDescription(text[1], MAX_PATH);
    link->GetWorkingDirectory(text[2], MAX_PATH);
    link->GetArguments(text[3], MAX_PATH);
    properties.target = text[0];
    properties.description = text[1];
    properties.workingDirectory = text[2];
    properties.arguments = text[3];
    return properties;
}

// The show command as stored: the 32-bit field at offset 60 of a shell link's header.
uint32_t ShowCommandField(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char field[4] = {};
    in.seekg(60).read(reinterpret_cast<char*>(field), sizeof field);
    return field[0] | field[1] << 8 | field[2] << 16 | static_cast<uint32_t>(field[3]) << 24;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shortcut of this test program, named after it as vantu's is after vantu.exe;
// none before and after each test.
class StartupLinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(StartupFolder().empty());
        Remove();
    }
    void TearDown() override { Remove(); }
    void Remove() const {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string name_ = ExecutableName();
    const std::string folder_ = modSettings::AppFolder();
    const std::string path_ = StartupFolder() + "\\" + name_ + ".lnk";
};

TEST(ShellFoldersTest, AreTheWindowsAndStartupFoldersWithoutTrailingBackslash) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_TRUE(SameFolder(WindowsFolder(), windows)) << WindowsFolder();
    const std::string startup = StartupFolder();
    ASSERT_FALSE(startup.empty());
    EXPECT_NE(startup.back(), '\\');
    const DWORD attributes = GetFileAttributesA(startup.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // The current user's, not the one all users share.
    const char* profile = std::getenv("USERPROFILE");
    ASSERT_NE(profile, nullptr);
    EXPECT_TRUE(SameFolder(startup.substr(0, std::strlen(profile)), profile)) << startup;
}

TEST_F(StartupLinkTest, NameIsTheRunningExecutablesOwn) {
    EXPECT_EQ(name_, "wine_unit_tests");
}

TEST_F(StartupLinkTest, CreatedShortcutStartsTheExecutableInItsFolderWithoutActivation) {
    ASSERT_EQ(CreateStartupLink(name_, folder_), S_OK);
    EXPECT_TRUE(StartupLinkExists(name_));
    const auto link = ReadLink(path_);
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(SameFolder(link->target, folder_ + "wine_unit_tests.exe")) << link->target;
    EXPECT_EQ(link->workingDirectory, folder_);  // as given, with its backslash
    EXPECT_EQ(link->description, name_);
    EXPECT_EQ(link->arguments, "");
    // Readers take any show command but 1, 3 and 7 as 1 (so does the shell here): the
    // value written stands in the file's header.
    EXPECT_EQ(ShowCommandField(path_), SW_SHOWNOACTIVATE);
}

// The configuration dialog's save: the shortcut follows the choice, and one that is
// there already is left as it is, wherever it points.
TEST_F(StartupLinkTest, UpdateCreatesOrRemovesButNeverRewrites) {
    const std::string elsewhere = WindowsFolder() + "\\";
    ASSERT_EQ(CreateStartupLink(name_, elsewhere), S_OK);
    const std::string before = ReadBytes(path_);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    EXPECT_EQ(ReadBytes(path_), before);
    EXPECT_EQ(ReadLink(path_)->workingDirectory, elsewhere);

    EXPECT_EQ(UpdateStartupLink(name_, folder_, false), S_OK);
    EXPECT_FALSE(StartupLinkExists(name_));
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, false), S_OK);  // none there: nothing
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    EXPECT_EQ(ReadLink(path_)->workingDirectory, folder_);
}

TEST_F(StartupLinkTest, OnlyAnOrdinaryShortcutCountsAsThere) {
    EXPECT_FALSE(StartupLinkExists(name_));
    ASSERT_EQ(CreateStartupLink(name_, folder_), S_OK);
    const struct { DWORD attributes; bool counts; } cases[] = {
        {FILE_ATTRIBUTE_NORMAL, true}, {FILE_ATTRIBUTE_READONLY, true},
        {FILE_ATTRIBUTE_HIDDEN, false}, {FILE_ATTRIBUTE_SYSTEM, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetFileAttributesA(path_.c_str(), c.attributes));
        EXPECT_EQ(StartupLinkExists(name_), c.counts) << c.attributes;
    }
}

// Only the shortcut's creation tells its caller of a failure. A folder in the
// shortcut's place can be neither written nor deleted as a file.
TEST_F(StartupLinkTest, AShortcutThatCannotBeWrittenIsReportedAndARemoveThatFailsIsNot) {
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
    EXPECT_TRUE(FAILED(CreateStartupLink(name_, folder_)));
    EXPECT_TRUE(FAILED(UpdateStartupLink(name_, folder_, true)));
    RemoveStartupLink(name_);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
