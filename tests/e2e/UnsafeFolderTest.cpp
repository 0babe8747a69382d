// vantu always runs with administrator rights: the real program refuses to set up the
// autostart from a folder that anyone but an administrator can change (the folder or
// anything in it, a folder above it, a drive that is not fixed, a user's profile),
// removes one set up earlier at start-up, before it takes anything from a folder, and
// runs no command from a folder on PATH. The objects are made as Wine reports them:
// another owner is a chown on the host, rights for Everyone are the mode's bits, R: is
// a drive Wine reports as removable.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <sddl.h>

#include <cstring>

#include "ConfigDialogUser.h"
#include "Harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

const char kIni[] = "[Advanced]\r\nTimerInterval=100\r\n";

// Everyone may change the file or folder, as a folder made in C:\ or a shared one.
void LetEveryoneChange(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    EXPECT_TRUE(SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor)) << path;
    LocalFree(descriptor);
}

// Another account owns the folder: chown on the host, which Wine reports as ANONYMOUS
// LOGON. Wine gives no handle of a host program to wait on (nor to close: its values
// are another object's), so the owner is watched instead.
void LetAnotherAccountOwn(const std::string& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    ASSERT_TRUE(unixName);
    const std::wstring wide(path.begin(), path.end());
    char* const unix = unixName(wide.c_str());
    ASSERT_TRUE(unix) << path;
    std::string line = "Z:\\bin\\chown nobody \"" + std::string(unix) + "\"";
    HeapFree(GetProcessHeap(), 0, unix);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const auto owner = [&] { return SecurityText(path, OWNER_SECURITY_INFORMATION); };
    ASSERT_TRUE(WaitUntil([&] { return owner() == "O:AN"; })) << owner();
}

std::string Made(const std::string& folder) {
    CreateDirectoryA(kTestFolders, nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Turned on from such a folder (the shortcut as Windows 5.1, where the running account
// counts as an administrator's; the task as 6.1, where a split token's own rights do
// not): the message says why and names the nearest unsafe path; nothing is set up and
// the box is saved as off, the rest of the save made. From a safe folder: the shortcut.
TEST(UnsafeFolder, AutostartIsSetUpOnlyFromAFolderOnlyAdministratorsChange) {
    char profile[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, profile), S_OK);
    const std::string openParent = std::string(kTestFolders) + "\\open", closedParent = std::string(kTestFolders) + "\\closed";
    const struct {
        const char* name;
        const char* windows;
        std::string parent;
        std::function<void(const TestFolder&)> change;
        const char* says;  // "" for none: the autostart is set up
        std::string path;  // the path named
    } cases[] = {
        {"owned by another account", "5.1", closedParent, [](const TestFolder& f) { LetAnotherAccountOwn(f.Dir()); },
         "Users who are not administrators can change this folder", ""},
        {"a file Everyone may change", "5.1", closedParent,
         [](const TestFolder& f) { LetEveryoneChange(f.Path("WinIo.dll")); }, "can change this folder, or something in it",
         "WinIo.dll"},
        {"the settings file alone", "5.1", closedParent, [](const TestFolder& f) { LetEveryoneChange(f.Path("vantu.ini")); },
         "can change this folder, or something in it", "vantu.ini"},
        {"a folder of DLLs for the program", "5.1", closedParent,
         [](const TestFolder& f) { LetEveryoneChange(Made(f.Path("vantu.exe.local"))); }, "or something in it",
         "vantu.exe.local"},
        {"a parent Everyone may delete from", "5.1", openParent, nullptr, "rename or replace this folder above", openParent},
        {"a removable drive", "5.1", "R:", nullptr, "not a fixed disk", "R:\\"},
        // Wine's Downloads is a link to the host's folder: a plain one beside it.
        {"a folder in the user's profile", "6.1", std::string(profile) + "\\Apps", nullptr,
         "Copy vantu into a new folder under Program Files", ""},
        {"a safe parent", "5.1", closedParent, nullptr, "", ""},
    };
    LetEveryoneChange(Made(openParent));
    Made(closedParent);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SeededWindowsVersion windows(c.windows);
        DeleteFileA(TaskFile().c_str());
        DeleteFileA(StartupLink().c_str());
        MenuUser user(kIni, Made(c.parent));
        if (c.change)
            c.change(user.Folder());
        const std::string path = c.path.empty() ? user.Folder().Dir() : c.path.find('\\') != std::string::npos ? c.path : user.Folder().Path(c.path);
        {
            const ConfigDialog dialog(user);
            dialog.SetChecked(IDC_CHKAUTOSTART, true);
            dialog.SetChecked(IDC_CHKNOHDCLICKS, true);
            const Lines messages = dialog.Press(IDC_BUTSAVE, *c.says ? 1 : 0);
            ASSERT_TRUE(dialog.WaitClosed());
            if (*c.says) {
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_NE(messages[0].find(c.says), std::string::npos) << messages[0];
                EXPECT_NE(messages[0].find(":\r\n" + path + "\r\n"), std::string::npos) << messages[0];
                EXPECT_NE(messages[0].find("C:\\Program Files\\vantu"), std::string::npos) << messages[0];
            }
        }
        EXPECT_EQ(Exists(TaskFile()) || Exists(StartupLink()), !*c.says);
        EXPECT_EQ(user.Stored("Advanced", "PreventHDClicks"), "True");
        const ConfigDialog again(user);
        EXPECT_EQ(again.Checked(IDC_CHKAUTOSTART), !*c.says);
        again.Press(IDCANCEL);
        EXPECT_TRUE(again.WaitClosed());
    }
    DeleteFileA(StartupLink().c_str());
}

// An autostart shortcut to `program`, as the shell makes one.
void MakeStartupLink(const std::string& program) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(program.c_str());
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    const std::string path = StartupLink();
    EXPECT_TRUE(SUCCEEDED(file->Save(std::wstring(path.begin(), path.end()).c_str(), TRUE)));
    file->Release();
    link->Release();
    CoUninitialize();
}

std::string FileTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" + std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// Started with an autostart set up earlier whose folder others can change: the message
// says it was turned off, and it is gone. A copy that runs from such a folder too (the
// shortcut's own, or as 6.1 with a split token any of the bed's) ends without taking
// anything from there, the EC untouched, no command run, its settings as they were;
// started by hand again, with no autostart, it runs. A copy in a folder under a parent
// that only administrators change runs on, though the shortcut named another copy
// under an open parent.
TEST(UnsafeFolder, AnUnsafeAutostartIsRemovedAndACopyInSuchAFolderEnds) {
    const std::string openParent = std::string(kTestFolders) + "\\open";
    LetEveryoneChange(Made(openParent));
    for (const char* windows : {"5.1", "6.1", "5.1 another copy"}) {
        SCOPED_TRACE(windows);
        const SeededWindowsVersion version(std::string(windows, 3).c_str());
        const bool ends = std::strlen(windows) == 3;
        const TestFolder folder, other("-other", openParent);
        folder.WriteIni(kIni);
        const std::string autostart = *windows == '5' ? StartupLink() : TaskFile();
        if (*windows == '5') {
            MakeStartupLink((ends ? folder : other).Path("vantu.exe"));
            if (ends)
                LetEveryoneChange(folder.Dir());
        } else {  // as Windows stores a task: UTF-16 with its byte order mark
            const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task><Actions><Exec><Command>" +
                                    folder.Path("vantu.exe") + "</Command></Exec></Actions></Task>\r\n";
            std::string stored = "\xFF\xFE";
            for (const char c : xml)
                stored += std::string{c, '\0'};
            WriteFileText(autostart, stored);
        }
        const std::string time = FileTime(folder.Path("vantu.ini"));
        std::optional<Vantu> vantu(std::in_place, folder);
        const auto box = WaitForMessageBox(vantu->ProcessId(), "vantu");
        ASSERT_TRUE(box.has_value());
        EXPECT_NE(box->text.find(ends ? "can change this folder, or something in it:\r\n" + folder.Dir() + "\r\n"
                                      : "rename or replace this folder above the one vantu runs from:\r\n" + openParent),
                  std::string::npos) << box->text;
        EXPECT_NE(box->text.find("Autostart with Windows has therefore been turned off."), std::string::npos);
        EXPECT_FALSE(Exists(autostart));
        box->Press(IDOK);
        if (ends) {
            EXPECT_TRUE(vantu->WaitForExit().has_value());
            EXPECT_EQ(folder.EcLog(), Lines{});
            EXPECT_EQ(folder.Commands(), Lines{});
            EXPECT_EQ(folder.Ini(), kIni);
            EXPECT_EQ(FileTime(folder.Path("vantu.ini")), time);
            vantu.emplace(folder);
        }
        EXPECT_TRUE(folder.WaitForEcLog("R 58", 1));
        EXPECT_TRUE(vantu->Closed());
    }
}

// From Windows 6.0 a shortcut in the Startup folder, which the user's programs can
// point anywhere, is no autostart: the box shows unchecked, and Save leaves it alone.
TEST(UnsafeFolder, AsWindows6TheStartupFolderIsLeftAlone) {
    const SeededWindowsVersion windows("6.1");
    DeleteFileA(TaskFile().c_str());
    WriteFileText(StartupLink(), "not a shortcut of vantu's");
    const std::string time = FileTime(StartupLink());
    MenuUser user(kIni);
    const ConfigDialog dialog(user);
    EXPECT_FALSE(dialog.Checked(IDC_CHKAUTOSTART));
    dialog.Press(IDC_BUTSAVE);
    EXPECT_TRUE(dialog.WaitClosed());
    EXPECT_EQ(ReadFileText(StartupLink()), "not a shortcut of vantu's");
    EXPECT_EQ(FileTime(StartupLink()), time);
    EXPECT_FALSE(Exists(TaskFile()));
    DeleteFileA(StartupLink().c_str());
}

// devcon is not part of Windows: one in a folder on PATH, where others may write, is
// never started, nor one in the current folder.
TEST(UnsafeFolder, CommandsAreNotLookedForAlongPathNorInTheCurrentFolder) {
    const TestFolder folder, onPath("-path");
    onPath.AddFakeCommand("devcon");
    char path[4096] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (onPath.Dir() + ";" + path).c_str());
    {
        const Vantu vantu(folder, "vantu.exe", onPath.Dir());
        SetEnvironmentVariableA("PATH", path);
        ASSERT_TRUE(folder.WaitForEcLog("R 58", 2));  // start-up, and with it the device checks, is over
        ASSERT_TRUE(vantu.Closed());
    }
    EXPECT_EQ(onPath.Commands(), Lines{});
    EXPECT_EQ(folder.Commands("devcon"), Lines{});
    EXPECT_NE(folder.Commands("powercfg"), Lines{});  // the one beside the program still runs
}

// The commands vantu starts get an environment made from the system's values: nothing
// seeded into vantu's own reaches devcon. A custom device ID that names no device in
// particular (empty, as a file may hold it) runs no devcon at all and stays in the file;
// one whose pattern devcon find says matches 12 devices switches none, and says so.
TEST(UnsafeFolder, CommandsGetTheSystemsEnvironmentAndNeverSwitchManyDevices) {
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string seeded[][2] = {{"VANTU_MARKER", "seeded"}, {"__COMPAT_LAYER", "RunAsInvoker"},
                                     {"ComSpec", "C:\\vantu-e2e\\cmd.exe"}, {"SystemRoot", "C:\\vantu-e2e"}};
    const TestFolder folder;
    folder.AddFakeCommand("devcon");
    folder.WriteIni(std::string(kIni) + "[Special]\r\nUseCustomDevice=True\r\nCustomDeviceID=\r\n");
    const std::string comSpec = std::string(system) + "\\cmd.exe";
    for (const auto& [name, value] : seeded)  // vantu gets this process's environment
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    std::optional<Vantu> vantu(std::in_place, folder);
    for (const auto& [name, value] : seeded)
        SetEnvironmentVariableA(name.c_str(), name == "SystemRoot" ? windows : name == "ComSpec" ? comSpec.c_str() : nullptr);
    ASSERT_TRUE(folder.WaitForEcLog("R 58", 1));
    const std::string environment = ReadFileText(folder.Path("devcon.env"));
    for (const std::string& variable :
         {std::string("SystemRoot=") + windows, std::string("windir=") + windows, std::string("SystemDrive=C:"),
          "ComSpec=" + comSpec, "PATH=" + std::string(system) + ";" + windows,
          std::string("OS=Windows_NT"), std::string("PROCESSOR_ARCHITECTURE=x86")})
        EXPECT_NE(environment.find(variable + "\r\n"), std::string::npos) << variable << " in\n" << environment;
    for (const char* absent : {"VANTU_MARKER=", "__COMPAT_LAYER=", "vantu-e2e", "TEMP=", "TMP="})
        EXPECT_EQ(environment.find(absent), std::string::npos) << absent << " in\n" << environment;

    PostMessageA(vantu->MainWindow(), WM_COMMAND, IDM_CUSTOMDEVICE, 0);
    ASSERT_TRUE(vantu->Closed());
    for (const std::string& line : folder.Commands("devcon"))
        EXPECT_EQ(line.find("\"*\""), std::string::npos) << line;
    EXPECT_NE(folder.Ini().find("CustomDeviceID=\r\n"), std::string::npos) << folder.Ini();

    folder.WriteIni(std::string(kIni) + "[Special]\r\nUseCustomDevice=True\r\nCustomDeviceID=USB\\VID_1BCF\r\n");
    WriteFileText(folder.Path("devcon.outs"), ">devcon find \"USB\\VID_1BCF*\"\r\n12 matching device(s) found.\r\n");
    vantu.emplace(folder);
    ASSERT_TRUE(folder.WaitForEcLog("R 58", 1));
    PostMessageA(vantu->MainWindow(), WM_COMMAND, IDM_CUSTOMDEVICE, 0);
    const auto box = WaitForMessageBox(vantu->ProcessId(), "vantu");
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->text.find("matches 12 devices"), std::string::npos) << box->text;
    box->Press(IDOK);
    ASSERT_TRUE(vantu->Closed());
    EXPECT_EQ(folder.Commands("devcon disable"), Lines{});
    EXPECT_EQ(folder.Commands("devcon enable"), Lines{});
}

}  // namespace
}  // namespace e2e
