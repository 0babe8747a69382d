// Autostart runs vantu with administrator rights: the real program refuses to set it up
// from a folder that other users can change (the folder, or a file it loads from
// there), and warns at start-up of one set up earlier. The folder's and the files'
// permissions are set through Windows' own security calls, as an administrator would.
#include <gtest/gtest.h>

#include <sddl.h>

#include "ConfigDialogUser.h"
#include "Harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

const char kIni[] = "[Advanced]\r\nTimerInterval=100\r\n";

// Everyone may change the file or folder, as under C:\ or in a shared folder.
void LetEveryoneChange(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    EXPECT_TRUE(SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor)) << path;
    LocalFree(descriptor);
}

// The message names the folder and the way out.
testing::AssertionResult RefusesFor(const Lines& messages, const std::string& folder) {
    if (messages.size() != 1)
        return testing::AssertionFailure() << messages.size() << " messages";
    for (const std::string& part : {folder + "\\\r\n", std::string("not administrators"),
                                    std::string("such as C:\\Program Files\\vantu")})
        if (messages[0].find(part) == std::string::npos)
            return testing::AssertionFailure() << "no \"" << part << "\" in: " << messages[0];
    return testing::AssertionSuccess();
}

// Turned on from such a folder (on Windows 6.1 the task, on 5.1 the shortcut): the
// message, nothing set up, the box saved as off, the rest of the save made.
TEST(UnsafeFolder, AutostartIsNotSetUpFromIt) {
    const struct { const char* windows; const char* changeable; } cases[] = {
        {"6.1", ""}, {"6.1", "WinIo.dll"}, {"5.1", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.windows) + " " + c.changeable);
        const SeededWindowsVersion windows(c.windows);
        DeleteFileA(TaskFile().c_str());
        DeleteFileA(StartupLink().c_str());
        MenuUser user(kIni);
        LetEveryoneChange(*c.changeable ? user.Folder().Path(c.changeable) : user.Folder().Dir());
        {
            const ConfigDialog dialog(user);
            dialog.SetChecked(IDC_CHKAUTOSTART, true);
            dialog.SetChecked(IDC_CHKNOHDCLICKS, true);
            EXPECT_TRUE(RefusesFor(dialog.Press(IDC_BUTSAVE, 1), user.Folder().Dir()));
            ASSERT_TRUE(dialog.WaitClosed());
        }
        EXPECT_FALSE(Exists(TaskFile()) || Exists(StartupLink()));
        EXPECT_EQ(user.Stored("Advanced", "PreventHDClicks"), "True");
        const ConfigDialog again(user);
        EXPECT_FALSE(again.Checked(IDC_CHKAUTOSTART));
        again.Press(IDCANCEL);
        EXPECT_TRUE(again.WaitClosed());
    }
}

// A task set up from a folder that was safe then, the folder changeable now: the next
// start warns once in a balloon and runs as ever; the task stays.
TEST(UnsafeFolder, AnAutostartSetUpEarlierIsWarnedOfOnce) {
    const SeededWindowsVersion windows("6.1");
    DeleteFileA(TaskFile().c_str());
    MenuUser user(kIni);
    {
        const ConfigDialog dialog(user);
        dialog.SetChecked(IDC_CHKAUTOSTART, true);
        EXPECT_EQ(dialog.Press(IDC_BUTSAVE), Lines{});
        ASSERT_TRUE(dialog.WaitClosed());
    }
    ASSERT_TRUE(Exists(TaskFile()));
    user.Program().Close();
    ASSERT_TRUE(user.Program().WaitForExit().has_value());
    const TestFolder& folder = user.Folder();
    LetEveryoneChange(folder.Dir());
    folder.SetEc("Temperature", "55");
    const TrayRecorder tray(folder, "tray.log");
    const Vantu vantu(folder);
    const std::string ticks = std::to_string(folder.TimeOfTicks(10).count());
    Lines balloons;
    for (const TrayCall& call : tray.Get("MODIFY", 0))
        if (call.Field("flags") == "16")
            balloons.push_back(call.Field("infoflags") + " " + call.Info());
    ASSERT_EQ(balloons.size(), 1u) << "in ten ticks (" << ticks << " ms)";
    // The folder, shortened in the middle to fit the balloon where it is long.
    EXPECT_EQ(balloons[0].rfind("2 vantu starts with administrator rights from Z:\\", 0), 0u) << balloons[0];
    EXPECT_NE(balloons[0].find("WarnedOfOnce\\, which non-administrators can change."), std::string::npos);
    EXPECT_TRUE(vantu.Running());
    EXPECT_TRUE(Exists(TaskFile()));
    DeleteFileA(TaskFile().c_str());
}

}  // namespace
}  // namespace e2e
