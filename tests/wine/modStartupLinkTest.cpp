// The autostart shortcut in the Wine prefix's real Startup folder, read back through
// the shell's own link interface, and the two folder lookups.
#include "settings/modStartupLink.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "settings/ComObjects.h"
#include "settings/modSettings.h"

namespace {

using namespace modStartupLink;

// What the shell reads from a shortcut file: target, working directory, description.
std::vector<std::string> ReadLink(const std::string& path) {
    const ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    const std::wstring widePath(path.begin(), path.end());
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.put())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put())) ||
        FAILED(file->Load(widePath.c_str(), STGM_READ)))
        return {};
    char text[3][MAX_PATH] = {};
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(text[1], MAX_PATH);
    link->GetDescription(text[2], MAX_PATH);
    return {text[0], text[1], text[2]};
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
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string name_ = ExecutableName();
    const std::string folder_ = modSettings::AppFolder();
    const std::string path_ = StartupFolder() + "\\" + name_ + ".lnk";
};

TEST(ShellFoldersTest, AreTheWindowsAndTheUsersStartupFolderWithoutTrailingBackslash) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(WindowsFolder().c_str(), windows), 0) << WindowsFolder();
    const char* profile = std::getenv("USERPROFILE");
    ASSERT_NE(profile, nullptr);
    const std::string startup = StartupFolder();
    EXPECT_EQ(lstrcmpiA(startup.substr(0, strlen(profile)).c_str(), profile), 0) << startup;
    EXPECT_NE(startup.back(), '\\');
    EXPECT_EQ(GetFileAttributesA(startup.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(StartupLinkTest, CreatedShortcutStartsTheRunningExecutableInItsFolder) {
    ASSERT_EQ(name_, "wine_unit_tests");  // the running file's name, not the title
    ASSERT_EQ(CreateStartupLink(name_, folder_), S_OK);
    const std::vector<std::string> link = ReadLink(path_);
    ASSERT_EQ(link.size(), 3u);
    EXPECT_EQ(lstrcmpiA(link[0].c_str(), (folder_ + "wine_unit_tests.exe").c_str()), 0) << link[0];
    EXPECT_EQ(link[1], folder_);  // as given, with its backslash
    EXPECT_EQ(link[2], name_);
    // Show command 4, shown without activation. Readers take any value but 1, 3 and 7
    // as 1 (the shell here too), so it is read where it is stored: the 32-bit field at
    // offset 60 of the link's header.
    EXPECT_EQ(ReadBytes(path_).substr(60, 4), std::string("\x04\0\0\0", 4));
}

// The configuration dialog's save: the shortcut follows the choice, and one that is
// there already is left as it is, wherever it points.
TEST_F(StartupLinkTest, UpdateCreatesOrRemovesButNeverRewrites) {
    const std::string elsewhere = WindowsFolder() + "\\";
    ASSERT_EQ(CreateStartupLink(name_, elsewhere), S_OK);
    const std::string before = ReadBytes(path_);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    EXPECT_EQ(ReadBytes(path_), before);

    EXPECT_EQ(UpdateStartupLink(name_, folder_, false), S_OK);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, false), S_OK);  // none there: nothing
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    EXPECT_TRUE(StartupLinkExists(name_));
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(StartupLinkExists(name_));  // only an ordinary file counts
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
