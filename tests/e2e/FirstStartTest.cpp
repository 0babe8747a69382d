// The first start's offer to patch the ACPIEC driver, on a Windows XP machine (5.1)
// with an unpatched driver in the prefix's drivers folder.
#include <gtest/gtest.h>

#include "Harness.h"
#include "support/DriverFiles.h"

using namespace std::string_literals;

namespace e2e {
namespace {

const std::string kDriver = "MZ\0\0IoWriteErrorLogEntry\0"s, kPatched = "MZ\0\0IoFreeErrorLogEntry\0\0"s;

class FirstStart : public testing::Test {
protected:
    void SetUp() override { DriverFiles::Write(DriverFiles::DriverPath(), kDriver); }
    // The question, once start-up has reached it: it holds start-up there.
    MessageBoxWindow Question(const Vantu& vantu) const {
        const auto question = WaitForMessageBox(vantu.ProcessId(), "Warning");
        EXPECT_TRUE(question.has_value());
        EXPECT_EQ(folder_.Ini(), "");  // written after the answer
        return question.value_or(MessageBoxWindow{});
    }

    const SeededWindowsVersion windowsXp_{"5.1"};
    const DriverFiles files_;
    const DriverFiles::ImagePath unpatched_{DriverFiles::Unpatched};
    TestFolder folder_;
};

// Yes patches and asks for a restart; either way the settings are written, so the
// next start asks no more.
TEST_F(FirstStart, TheAnswerIsTakenOnceAndTheSettingsWrittenEitherWay) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        const DriverFiles::ImagePath unpatched(DriverFiles::Unpatched);
        for (const std::string& file : {folder_.Path("vantu.ini"), folder_.Path("simec.log"), DriverFiles::PatchedPath()})
            DeleteFileA(file.c_str());
        Vantu vantu(folder_);
        const MessageBoxWindow question = Question(vantu);
        EXPECT_EQ(question.text, "Your ACPIEC driver is not patched :\r\n\r\nIt is recommanded to patch it to "
                                 "prevent constant log writing, especially if you have a SSD.\r\nThis should be "
                                 "completely safe, and can be undone later in the configuration dialog.\r\n\r\n"
                                 "Do you want to patch it now?");
        question.Press(yes ? IDYES : IDNO);
        if (yes) {
            const auto restart = WaitForMessageBox(vantu.ProcessId(), "vantu");
            ASSERT_TRUE(restart.has_value());
            EXPECT_EQ(restart->text, "You must restart your computer to make the changes take effect!");
            restart->Press(IDOK);
        }
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", 1));
        EXPECT_NE(folder_.Ini().find("[Fan]\r\nControl=3\r\n"), std::string::npos);
        EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), yes ? std::optional(kPatched) : std::nullopt);
        EXPECT_EQ(DriverFiles::StoredImagePath(), yes ? "1:"s + DriverFiles::Patched + '\0' : "2:"s + DriverFiles::Unpatched + '\0');
        EXPECT_TRUE(vantu.Closed());
    }
    DeleteFileA(folder_.Path("simec.log").c_str());
    Vantu again(folder_);
    EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1)) << "asked again";
}

// The session ends while the question waits: the defaults are written (they would be
// right after the answer), the fan and the port library are not touched, and the
// answer that comes late starts nothing more.
TEST_F(FirstStart, TheSessionEndingDuringTheQuestionWritesTheDefaultsOnly) {
    Vantu vantu(folder_);
    const MessageBoxWindow question = Question(vantu);
    PostMessageA(vantu.MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    ASSERT_TRUE(vantu.EndSession());
    const std::string saved = folder_.Ini();
    EXPECT_NE(saved.find("[Fan]\r\nControl=3\r\n"), std::string::npos) << saved;
    question.Press(IDYES);
    EXPECT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder_.Ini(), saved);
    EXPECT_EQ(folder_.EcLog(), Lines{});
    EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
}

// On Windows 6.0 or later, or with the alternate port driver (read from a hidden
// settings file, which counts as missing and so makes a first start), nothing is
// asked. A renamed executable still writes vantu.ini. The alternate driver is neither
// opened nor closed, the fan still handed back, and its hand-set key kept.
TEST_F(FirstStart, NothingIsAskedOnWindows6OrWithTheAlternateDriver) {
    for (const bool alternate : {false, true}) {
        SCOPED_TRACE(alternate ? "alternate driver" : "6.0");
        const SeededWindowsVersion version(alternate ? "5.1" : "6.0");
        for (const char* file : {"vantu.ini", "simec.log"})
            DeleteFileA(folder_.Path(file).c_str());
        if (alternate) {
            // A library that needs no initialisation, as the alternate driver is meant for
            // (WinIo itself refuses the ports to a process that never initialised it).
            folder_.SetEc("PortsWithoutInit", "1");
            folder_.WriteIni("[Special]\r\nUseAlternateDriver=True\r\n");
            SetFileAttributesA(folder_.Path("vantu.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        Vantu vantu(folder_, alternate ? "vantu.exe" : "fanctl.exe");
        EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1)) << "a question holds start-up";
        EXPECT_TRUE(vantu.Closed());
        EXPECT_NE(folder_.Ini().find(alternate ? "[Special]\r\nUseAlternateDriver=True\r\nUseCustomFanValue=False\r\n"
                                               : "[Fan]"), std::string::npos);
        EXPECT_EQ(folder_.EcLog("INIT").size() + folder_.EcLog("SHUTDOWN").size(), alternate ? 0u : 2u);
        EXPECT_EQ(folder_.LastEcLog("W 55 "), "W 55 00");
    }
    EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
    EXPECT_FALSE(Exists(folder_.Path("fanctl.ini")));
}

}  // namespace
}  // namespace e2e
