// modAcerEC against the simulated EC (WinIo.dll beside the test program): the
// hand-back of a C++ crash. The EC protocol and the fan bytes are the native tests';
// port access and a crash in the port library are seen end to end.
#include "ec/modAcerEC.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/modFailSafe.h"
#include "settings/modSettings.h"
#include "system/KnownFolders.h"

using namespace modAcerEC;

namespace {

// The simulated EC's log beside the test program: its lines, and none before the test.
struct EcLog {
    EcLog() { DeleteFileA(path.c_str()); }
    ~EcLog() { DeleteFileA(path.c_str()); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::ifstream log(path);
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }
    const std::string path = KnownFolders::AppFolder() + "simec.log";
};

void Throw() { throw std::runtime_error("nobody catches this"); }
// The exception cannot leave this frame, so nothing above it can catch it.
void ThrowPastANoexceptFrame() noexcept { Throw(); }

// A C++ exception that reaches the top ends the process through std::terminate; the fan
// goes back to the EC first. The child process writes the log, this one reads it.
TEST(ModAcerECDeathTest, AnUncaughtExceptionHandsTheFanBackBeforeTheProcessEnds) {
    const EcLog ec;
    EXPECT_EXIT(
        {
            modFailSafe::InstallCrashHandBack();
            InitEC();
            SetFanOff();
            ThrowPastANoexceptFrame();
        },
        [](int code) { return code != 0; }, "");
    EXPECT_EQ(ec.Lines(), (std::vector<std::string>{"INIT 1", "W 55 1F", "W 55 00"}));
}

}  // namespace
