// vantu always runs with administrator rights: the real program refuses to set up the
// autostart from a folder that anyone but an administrator can change (the folder or a
// file it loads, a folder above it, a drive that is not fixed, a user's profile), warns
// at start-up of one set up earlier, and runs no command from a folder on PATH. The
// objects are made as Wine reports them: another owner is a chown on the host, rights
// for Everyone are the mode's bits, R: is a drive Wine reports as removable.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <sddl.h>

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

std::string Owner(const std::string& path) {
    char descriptor[1024];
    DWORD size = 0;
    LPSTR sddl = nullptr;
    if (!GetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, descriptor, sizeof descriptor, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION,
                                                              &sddl, nullptr))
        return "";
    const std::string owner = sddl;
    LocalFree(sddl);
    return owner;
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
    ASSERT_TRUE(WaitUntil([&] { return Owner(path) == "O:AN"; })) << Owner(path);
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
         [](const TestFolder& f) { LetEveryoneChange(f.Path("WinIo.dll")); }, "can change this folder, or a file", "WinIo.dll"},
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

// A task set up earlier names a folder that others can change: the next start warns of
// that folder (the task's, not the running copy's) in a balloon, also when the shell
// takes no request yet at the start (log-on): once it takes the icon. The program runs
// as ever, and the task stays.
TEST(UnsafeFolder, AnAutostartSetUpEarlierIsWarnedOfOnceTheShellTakesTheIcon) {
    const SeededWindowsVersion windows("6.1");
    const TestFolder folder, target("-target");
    // As Windows stores it: UTF-16 with its byte order mark.
    const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task><Actions><Exec><Command>" +
                            target.Path("vantu.exe") + "</Command></Exec></Actions></Task>\r\n";
    std::string stored = "\xFF\xFE";
    for (const char c : xml)
        stored += std::string{c, '\0'};
    WriteFileText(TaskFile(), stored);
    folder.WriteIni(kIni);
    folder.SetEc("Temperature", "55");
    std::optional<TrayRecorder> starting(std::in_place, folder, "starting.log", true);
    const Vantu vantu(folder);
    ASSERT_TRUE(starting->WaitFor([&](const Calls&) { return !starting->Balloons().empty(); }));
    const TrayRecorder tray(folder, "tray.log");  // the newer one is found first
    starting.reset();
    ASSERT_TRUE(tray.WaitFor([&](const Calls&) { return !tray.Balloons().empty(); }));
    const std::string ticks = std::to_string(folder.TimeOfTicks(10).count());
    const Lines shown = tray.Balloons();
    ASSERT_EQ(shown.size(), 1u) << "in ten ticks (" << ticks << " ms)";
    EXPECT_EQ(shown[0], "2 vantu runs as administrator, but programs you run without that can change " + target.Dir() +
                            ". Copy vantu to a new folder in Program Files and turn Autostart with Windows on again.");
    EXPECT_TRUE(vantu.Running());
    EXPECT_TRUE(Exists(TaskFile()));
    DeleteFileA(TaskFile().c_str());
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

}  // namespace
}  // namespace e2e
