// The autostart shortcut in the Wine prefix's real Startup folder, read back through
// the shell's own link interface.
#include "settings/modStartupLink.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <utility>

#include "settings/modSettings.h"
#include "system/ComObjects.h"
#include "system/KnownFolders.h"

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
    const std::string name = ExecutableName(), folder = KnownFolders::AppFolder();
    const std::string path = KnownFolders::StartupFolder() + "\\" + name + ".lnk";
    ASSERT_EQ(CreateStartupLink(name, folder), S_OK);
    EXPECT_EQ(ReadLink(path), folder + "wine_unit_tests.exe|" + folder + "|wine_unit_tests");
    EXPECT_EQ(ReadBytes(path).substr(60, 4), std::string("\x04\0\0\0", 4));
    RemoveStartupLink(name);
    EXPECT_FALSE(StartupLinkExists(name));
}

}  // namespace

namespace {

std::string TaskPath(const std::string& name) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\tasks\\" + name;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

// From Windows 6.0 the autostart is a scheduled task, the shortcut before: set up,
// seen at the next start, deleted when cleared; one that cannot be registered comes
// back as a failure. A shortcut in the Startup folder is neither counted nor touched
// from 6.0 on. The program it starts is read back from the task (as Windows or Wine
// stores it) or from the shortcut's own bytes, as Wine's shell writes them.
TEST(StartupLinkTest, AutostartIsATaskFromWindows6AndItsProgramIsReadBack) {
    const bool windows6 = std::exchange(modSettings::IsWindows6OrLater, true);
    const std::string name = ExecutableName(), folder = KnownFolders::AppFolder(), task = TaskPath(name);
    DeleteFileA(task.c_str());
    ASSERT_EQ(CreateStartupLink(name, folder), S_OK);  // an earlier build's, or anyone's
    EXPECT_FALSE(AutostartExists(name));
    ASSERT_EQ(UpdateAutostart(name, folder, true), S_OK);
    EXPECT_TRUE(AutostartExists(name));
    // What Wine keeps of the definition (it drops the trigger, the rights and the
    // program; tests/native/StartupTaskTest.cpp reads them in what is registered).
    const std::string definition = ReadBytes(task);
    for (const char* setting : {"<Description>wine_unit_tests</Description>", "<MultipleInstancesPolicy>IgnoreNew<",
                                "<DisallowStartIfOnBatteries>false<", "<StartWhenAvailable>true<", "<ExecutionTimeLimit>PT0S<"})
        EXPECT_NE(definition.find(setting), std::string::npos) << setting << " missing from\n" << definition;

    const std::string xml = "<Task><Exec><Command>\"C:\\Tools &amp; Fans\\vantu.exe\"</Command></Exec></Task>";
    std::string utf16 = "\xFF\xFE";
    for (const char c : xml)
        utf16 += std::string{c, '\0'};
    for (const std::string& stored : {utf16, "\xEF\xBB\xBF" + xml}) {
        Write(task, stored);
        EXPECT_EQ(AutostartTarget(name), "C:\\Tools & Fans\\vantu.exe");
    }
    ASSERT_EQ(UpdateAutostart(name, folder, false), S_OK);
    EXPECT_FALSE(AutostartExists(name));
    EXPECT_TRUE(StartupLinkExists(name));
    RemoveStartupLink(name);
    ASSERT_TRUE(CreateDirectoryA(task.c_str(), nullptr));
    EXPECT_TRUE(FAILED(UpdateAutostart(name, folder, true)));
    RemoveDirectoryA(task.c_str());

    modSettings::IsWindows6OrLater = false;
    ASSERT_EQ(UpdateAutostart(name, folder, true), S_OK);
    EXPECT_EQ(AutostartTarget(name), folder + name + ".exe");
    ASSERT_EQ(UpdateAutostart(name, folder, false), S_OK);
    EXPECT_EQ(AutostartTarget(name), "");
    modSettings::IsWindows6OrLater = windows6;
}
