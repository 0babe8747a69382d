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

// It starts the running file (named after it, not after the title) in its folder. Its
// show command is 4, without activation: readers take any value but 1, 3 and 7 as 1,
// so it is read where it is stored, the 32-bit field at offset 60 of the header.
TEST(StartupLinkTest, CreatedShortcutStartsTheRunningExecutableInItsFolder) {
    const std::string name = ExecutableName(), folder = modSettings::AppFolder();
    const std::string path = StartupFolder() + "\\" + name + ".lnk";
    ASSERT_EQ(CreateStartupLink(name, folder), S_OK);
    EXPECT_EQ(ReadLink(path), folder + "wine_unit_tests.exe|" + folder + "|wine_unit_tests");
    EXPECT_EQ(ReadBytes(path).substr(60, 4), std::string("\x04\0\0\0", 4));
    RemoveStartupLink(name);
    EXPECT_FALSE(StartupLinkExists(name));
}

}  // namespace
