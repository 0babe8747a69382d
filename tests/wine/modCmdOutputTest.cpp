// RunCommand against cmdchild, a console child of our own beside the test program.
#include "system/modCmdOutput.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

using modCmdOutput::RunCommand;

namespace {

std::string Captured(const std::string& line, bool convertFromOem = false) {
    return RunCommand(line, true, false, convertFromOem);
}

// Output of many reads joined in order; each stream taken as asked, neither a mistake.
TEST(RunCommandTest, OutputIsJoinedInOrderAndStreamsTakenAsAsked) {
    std::string expected;
    for (int i = 1; i <= 400; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "line %04d\r\n", i);
        expected += line;
    }
    EXPECT_EQ(Captured("cmdchild lines 400"), expected);
    EXPECT_EQ(Captured("cmdchild lines 0"), "");
    EXPECT_EQ(RunCommand("cmdchild streams", false, true, false), "err");
    EXPECT_EQ(RunCommand("cmdchild streams", true, true, false), "outerr");
    EXPECT_THROW(RunCommand("cmdchild streams", false, false, true), std::invalid_argument);
}

// e, e grave, a, o, u umlauts and sharp s in the OEM code page (437 or 850 alike).
TEST(RunCommandTest, OemCharactersComeBackInTheAnsiCodePage) {
    const std::string oem = "\x82\x8A\x84\x94\x81\xE1";
    ASSERT_NE(GetOEMCP(), GetACP()) << "the test needs two different code pages";
    wchar_t wide[16];
    const int count = MultiByteToWideChar(CP_OEMCP, 0, oem.data(), int(oem.size()), wide, 16);
    char ansi[16];
    const int ansiCount = WideCharToMultiByte(CP_ACP, 0, wide, count, ansi, 16, nullptr, nullptr);
    const std::string expected(ansi, ansiCount);
    ASSERT_NE(expected, oem);

    EXPECT_EQ(Captured("cmdchild bytes 828A849481E1", true), expected);
    EXPECT_EQ(Captured("cmdchild bytes 828A849481E1", false), oem);
}

TEST(RunCommandTest, AProgramThatCannotStartGivesTheFailureSentence) {
    for (const char* line : {"vantu-no-such-command find", ""})
        EXPECT_EQ(Captured(line), modCmdOutput::FailedToCreateProcess) << line;
}

// A grandchild that holds the pipe keeps the read going after the child has ended.
TEST(RunCommandTest, TheReadWaitsForEveryWriterOfThePipe) {
    EXPECT_EQ(Captured("cmdchild spawn late"), "child;grandchild");
}

// The process ID in "pid N;" of a hanging command; 0 when missing.
DWORD PidIn(const std::string& output) {
    const auto at = output.find("pid ");
    return at == std::string::npos ? 0 : std::strtoul(output.c_str() + at + 4, nullptr, 10);
}

bool Ended(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return true;  // gone altogether
    const bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// The bound ends the command and what it started, and returns what they wrote.
TEST(RunCommandTest, ACommandThatNeverEndsIsCutAtTheBound) {
    const struct { const char* line; const char* before; } cases[] = {
        {"cmdchild hang", "pid "},
        {"cmdchild spawn hang", "child;pid "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string output = RunCommand(c.line, true, false, false, 1500);
        EXPECT_EQ(output.rfind(c.before, 0), 0u) << output;
        const DWORD pid = PidIn(output);
        ASSERT_NE(pid, 0u) << output;
        EXPECT_TRUE(Ended(pid)) << "process " << pid << " still runs";
    }
}

}  // namespace
