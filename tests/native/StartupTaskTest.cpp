#include "settings/StartupTask.h"

#include <gtest/gtest.h>

#include <vector>

// What makes the task start the program as the shortcut would have, and keep it
// running on a netbook: each setting where the scheduler reads it, the names and
// paths escaped (a folder may be called "Tools & Fans").
TEST(StartupTaskTest, DefinitionHoldsTheTriggerTheRightsTheBatterySettingsAndTheProgram) {
    const std::string xml = StartupTask::Definition("vantu", "C:\\Tools & Fans\\vantu.exe",
                                                    "C:\\Tools & Fans\\", "NETBOOK\\<Tom>");
    const char* pieces[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task version=\"1.2\" "
        "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">", "<Description>vantu</Description>",
        "<Triggers>\r\n    <LogonTrigger>\r\n      <Enabled>true</Enabled>\r\n"
        "      <UserId>NETBOOK\\&lt;Tom&gt;</UserId>\r\n    </LogonTrigger>\r\n  </Triggers>",
        "<Principal id=\"Author\">\r\n      <UserId>NETBOOK\\&lt;Tom&gt;</UserId>\r\n      <LogonType>InteractiveToken"
        "</LogonType>\r\n      <RunLevel>HighestAvailable</RunLevel>\r\n    </Principal>",
        "<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>", "<StartWhenAvailable>true</StartWhenAvailable>",
        "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>", "<Priority>5</Priority>",
        "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>", "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>",
        "<Actions Context=\"Author\">\r\n    <Exec>\r\n      <Command>C:\\Tools &amp; Fans\\vantu.exe</Command>\r\n"
        "      <WorkingDirectory>C:\\Tools &amp; Fans\\</WorkingDirectory>\r\n    </Exec>",
    };
    for (const char* piece : pieces)
        EXPECT_NE(xml.find(piece), std::string::npos) << piece << "\nmissing from\n" << xml;
    EXPECT_EQ(xml.find("& "), std::string::npos);
    // Well-formed: each element closed, in order, and nothing after the task.
    std::vector<std::string> open;
    for (size_t at = xml.find("<Task "); at != std::string::npos; at = xml.find('<', at + 1)) {
        const std::string tag = xml.substr(at + 1, xml.find_first_of(" >", at) - at - 1);
        if (tag[0] != '/')
            open.push_back(tag);
        else if (!open.empty() && open.back() == tag.substr(1))
            open.pop_back();
        else
            ADD_FAILURE() << tag << " closes " << (open.empty() ? "nothing" : open.back());
    }
    EXPECT_TRUE(open.empty()) << open.size() << " left open";
    EXPECT_EQ(xml.substr(xml.size() - 9), "</Task>\r\n");
}

// What start-up judges: the program the stored task names, as Windows keeps it (the
// definition as registered) or as written by hand.
TEST(StartupTaskTest, CommandIsReadBackFromTheStoredTask) {
    const std::string command = "C:\\Tools & <Fans>\\vantu.exe";
    EXPECT_EQ(StartupTask::Command(StartupTask::Definition("vantu", command, "C:\\", "PC\\Tom")), command);
    const struct { const char* xml; const char* command; } cases[] = {
        {"<Exec><Command>\"C:\\Program Files\\vantu\\vantu.exe\"</Command></Exec>", "C:\\Program Files\\vantu\\vantu.exe"},
        {"<Command>\r\n  %ProgramFiles%\\vantu.exe &quot;&apos;&unknown;\r\n</Command>", "%ProgramFiles%\\vantu.exe \"'&unknown;"},
        {"<Command>a</Command><Command>b</Command>", "a"},
        {"<Command>C:\\vantu.exe", ""}, {"<Task/>", ""}, {"<Command>  </Command>", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StartupTask::Command(c.xml), c.command) << c.xml;
}
