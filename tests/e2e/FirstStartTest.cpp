// The first start's offer to patch the ACPIEC driver, on a Windows XP machine (5.1)
// with an unpatched driver in the prefix's drivers folder.
#include <gtest/gtest.h>

#include "Harness.h"
#include "support/DriverFiles.h"

using namespace std::string_literals;

namespace e2e {
namespace {

const milliseconds kStartup = kEventBound;
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

const char kQuestion[] =
    "Your ACPIEC driver is not patched :\r\n"
    "\r\n"
    "It is recommanded to patch it to prevent constant log writing, especially if you have a "
    "SSD.\r\n"
    "This should be completely safe, and can be undone later in the configuration dialog.\r\n"
    "\r\n"
    "Do you want to patch it now?";

const std::string kDriver = "MZ\0\0IoWriteErrorLogEntry\0\0IoWriteErrorLogEntry\0"s;
const std::string kPatched = "MZ\0\0IoFreeErrorLogEntry\0\0\0IoFreeErrorLogEntry\0\0"s;

// Start-up has passed the first-start step once the first tick has read the
// temperature: the question, while open, holds start-up where it is.
bool Started(const TestFolder& folder) { return folder.WaitForEcLog("R 58", 1, kStartup); }

class FirstStart : public testing::Test {
protected:
    void SetUp() override { DriverFiles::Write(DriverFiles::DriverPath(), kDriver); }

    const SeededRegistryValue windowsXp_{kCurrentVersionKey, "CurrentVersion", REG_SZ,
                                         SeededRegistryValue::Text("5.1")};
    const DriverFiles files_;
    const DriverFiles::ImagePath unpatched_{DriverFiles::Unpatched};
    TestFolder folder_;
};

TEST_F(FirstStart, YesPatchesTheDriverAndAsksForARestart) {
    Vantu vantu(folder_);
    const auto question = WaitForMessageBox(vantu.ProcessId(), "Warning", kStartup);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->text, kQuestion);
    EXPECT_EQ(folder_.Ini(), "");  // written after the answer
    question->Press(IDYES);
    const auto restart = WaitForMessageBox(vantu.ProcessId(), "vantu");
    ASSERT_TRUE(restart.has_value());
    EXPECT_EQ(restart->text, "You must restart your computer to make the changes take effect!");
    restart->Press(IDOK);
    ASSERT_TRUE(Started(folder_));
    EXPECT_NE(folder_.Ini(), "");
    EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), kPatched);
    EXPECT_EQ(DriverFiles::StoredImagePath(), "1:"s + DriverFiles::Patched + '\0');
    vantu.Close();
    EXPECT_TRUE(vantu.WaitForExit().has_value());
}

TEST_F(FirstStart, NoPatchesNothingAndTheNextStartAsksNoMore) {
    {
        Vantu vantu(folder_);
        const auto question = WaitForMessageBox(vantu.ProcessId(), "Warning", kStartup);
        ASSERT_TRUE(question.has_value());
        question->Press(IDNO);
        ASSERT_TRUE(Started(folder_));
        EXPECT_NE(folder_.Ini(), "");
        vantu.Close();
        EXPECT_TRUE(vantu.WaitForExit().has_value());
    }
    EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
    EXPECT_EQ(DriverFiles::StoredImagePath(), "2:"s + DriverFiles::Unpatched + '\0');

    DeleteFileA(folder_.Path("simec.log").c_str());
    Vantu again(folder_);
    EXPECT_TRUE(Started(folder_)) << "asked again";
    again.Close();
    EXPECT_TRUE(again.WaitForExit().has_value());
}

// The session ends while the question waits: the defaults are written (they would be
// right after the answer), the fan and the port library are not touched, and the
// answer that comes late starts nothing more.
TEST_F(FirstStart, TheSessionEndingDuringTheQuestionWritesTheDefaultsOnly) {
    Vantu vantu(folder_);
    const auto question = WaitForMessageBox(vantu.ProcessId(), "Warning", kStartup);
    ASSERT_TRUE(question.has_value());
    PostMessageA(vantu.MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    ASSERT_TRUE(vantu.EndSession());
    const std::string saved = folder_.Ini();
    EXPECT_NE(saved.find("[Fan]\r\nControl=3\r\n"), std::string::npos) << saved;
    question->Press(IDYES);
    EXPECT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder_.Ini(), saved);
    EXPECT_TRUE(folder_.EcLog().empty());
    EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
}

// On Windows 6.0 or later, or with the alternate port driver (read from a hidden
// settings file, which counts as missing and so makes a first start), nothing is
// asked. A renamed executable still writes vantu.ini.
TEST(FirstStartWithoutQuestion, OnWindows6OrWithTheAlternateDriver) {
    const DriverFiles files;
    DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    const DriverFiles::ImagePath unpatched(DriverFiles::Unpatched);
    const struct { const char* version; const char* hiddenIni; const char* exe; } cases[] = {
        {"6.0", nullptr, "fanctl.exe"},
        {"5.1", "[Special]\r\nUseAlternateDriver=True\r\n", "vantu.exe"},
    };
    const TestFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const SeededRegistryValue version(kCurrentVersionKey, "CurrentVersion", REG_SZ,
                                          SeededRegistryValue::Text(c.version));
        for (const char* file : {"vantu.ini", "simec.log"})
            DeleteFileA(folder.Path(file).c_str());
        if (c.hiddenIni) {
            folder.WriteIni(c.hiddenIni);
            SetFileAttributesA(folder.Path("vantu.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        Vantu vantu(folder, c.exe);
        EXPECT_TRUE(Started(folder)) << "a question holds start-up";
        EXPECT_NE(folder.Ini().find("[Fan]"), std::string::npos);  // still written
        vantu.Close();
        EXPECT_TRUE(vantu.WaitForExit().has_value());
        EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
    }
    EXPECT_EQ(GetFileAttributesA(folder.Path("fanctl.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace e2e
