// The autostart shortcut in the Wine prefix's real Startup folder, read back through
// the shell's own link interface.
#include "settings/modStartupLink.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/ComObjects.h"
#include "settings/modSettings.h"

namespace {

using namespace modStartupLink;

// What the shell reads from a shortcut file: "target|working directory|description".
std::string ReadLink(const std::string& path) {
    const ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    char text[3][MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put())) && SUCCEEDED(file->Load(WideText(path).c_str(), STGM_READ))) {
        link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(text[1], MAX_PATH);
        link->GetDescription(text[2], MAX_PATH);
    }
    return std::string(text[0]) + "|" + text[1] + "|" + text[2];
}

std::string ReadBytes(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The shortcut of this test program, named after it as vantu's is after vantu.exe;
// none before and after each test.
class StartupLinkTest : public testing::Test {
protected:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    void Remove() const {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string name_ = ExecutableName(), folder_ = modSettings::AppFolder();
    const std::string path_ = StartupFolder() + "\\" + name_ + ".lnk";
};

// It starts the running file (named after it, not after the title) in its folder. Its
// show command is 4, without activation: readers take any value but 1, 3 and 7 as 1,
// so it is read where it is stored, the 32-bit field at offset 60 of the header.
TEST_F(StartupLinkTest, CreatedShortcutStartsTheRunningExecutableInItsFolder) {
    ASSERT_EQ(CreateStartupLink(name_, folder_), S_OK);
    EXPECT_EQ(ReadLink(path_), folder_ + "wine_unit_tests.exe|" + folder_ + "|wine_unit_tests");
    EXPECT_EQ(ReadBytes(path_).substr(60, 4), std::string("\x04\0\0\0", 4));
}

// The dialog's save: the shortcut follows the choice, one that is there already left
// as it is, wherever it points (a hidden one counts as absent). Only its creation
// tells of a failure: a folder in its place can be neither written nor deleted.
TEST_F(StartupLinkTest, UpdateCreatesOrRemovesButNeverRewritesAndTellsOfAFailedCreation) {
    ASSERT_EQ(CreateStartupLink(name_, WindowsFolder() + "\\"), S_OK);
    const std::string before = ReadBytes(path_);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    EXPECT_EQ(ReadBytes(path_), before);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, false), S_OK);
    EXPECT_EQ(Attributes(path_), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(UpdateStartupLink(name_, folder_, true), S_OK);
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(StartupLinkExists(name_));
    Remove();
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
    EXPECT_TRUE(FAILED(UpdateStartupLink(name_, folder_, true)));
    RemoveStartupLink(name_);
    EXPECT_EQ(Attributes(path_), DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
