// RunCommand against cmdchild, a console child of our own beside the test program.
#include "system/modCmdOutput.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "system/Handle.h"
#include "system/modSystemEnvironment.h"

using modCmdOutput::RunCommand;

namespace {

std::string Captured(const std::string& line, bool convertFromOem = false) {
    return RunCommand(line, true, false, convertFromOem);
}

// Output of many reads joined in order; each stream taken as asked, neither a mistake;
// a program that cannot start gives the failure sentence; a grandchild that holds the
// pipe keeps the read going after the child has ended.
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
    for (const char* line : {"vantu-no-such-command find", ""})
        EXPECT_EQ(Captured(line), modCmdOutput::FailedToCreateProcess) << line;
    EXPECT_EQ(Captured("cmdchild spawn late"), "child;grandchild");
}

// e, e grave, a, o, u umlauts and sharp s in the OEM code page (437 or 850 alike).
TEST(RunCommandTest, OemCharactersComeBackInTheAnsiCodePage) {
    const std::string oem = "\x82\x8A\x84\x94\x81\xE1";
    wchar_t wide[16];
    char ansi[16];
    const int count = MultiByteToWideChar(CP_OEMCP, 0, oem.data(), int(oem.size()), wide, 16);
    const std::string expected(ansi, WideCharToMultiByte(CP_ACP, 0, wide, count, ansi, 16, nullptr, nullptr));
    ASSERT_NE(expected, oem) << "the test needs two different code pages";
    EXPECT_EQ(Captured("cmdchild bytes 828A849481E1", true), expected);
    EXPECT_EQ(Captured("cmdchild bytes 828A849481E1", false), oem);
}

// The bound ends the command and what it started, and returns what they wrote. On a
// slow machine a bound can pass before the grandchild has even started: then the
// command is run again with twice the time.
TEST(RunCommandTest, ACommandThatNeverEndsIsCutAtTheBound) {
    for (const auto& [line, before] : {std::pair{"cmdchild hang", "pid "}, {"cmdchild spawn hang", "child;pid "}}) {
        std::string output;
        for (DWORD bound = 1500; bound <= 48000 && output.rfind(before, 0) != 0; bound *= 2)
            output = RunCommand(line, true, false, false, bound);
        ASSERT_EQ(output.rfind(before, 0), 0u) << output;
        const DWORD pid = std::strtoul(output.c_str() + output.find("pid ") + 4, nullptr, 10);
        const Handle process(OpenProcess(SYNCHRONIZE, FALSE, pid));  // none: gone altogether
        EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0) << output << " still runs";
    }
}

}  // namespace

// The program's own environment after start-up's first step: a SystemRoot and a
// ComSpec of the user's replaced by the system's, __COMPAT_LAYER gone.
TEST(SystemEnvironmentTest, TheProgramsOwnVariablesAreTheSystems) {
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {}, value[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    SetEnvironmentVariableA("SystemRoot", "C:\\Users\\Tom\\evil");
    SetEnvironmentVariableA("ComSpec", "C:\\Users\\Tom\\evil\\cmd.exe");
    SetEnvironmentVariableA("__COMPAT_LAYER", "RunAsInvoker");
    modSystemEnvironment::UseSystemEnvironment();
    EXPECT_TRUE(GetEnvironmentVariableA("SystemRoot", value, MAX_PATH));
    EXPECT_STREQ(value, windows);
    EXPECT_TRUE(GetEnvironmentVariableA("ComSpec", value, MAX_PATH));
    EXPECT_EQ(std::string(value), std::string(system) + "\\cmd.exe");
    EXPECT_FALSE(GetEnvironmentVariableA("__COMPAT_LAYER", value, MAX_PATH));
}
