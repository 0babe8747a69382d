#include "settings/StartupVerdict.h"

#include <gtest/gtest.h>

using namespace StartupVerdict;
using FolderSafety::Cause;

// Which autostart counts, and what start-up does about it by the verdicts on the folder
// it names (A) and on the running copy's own (R).
TEST(StartupVerdictTest, TheAutostartInForceAndWhatStartupDoes) {
    const struct {
        bool windows6, task, shortcut, autostartUnsafe, ownUnsafe;
        Autostart remove;
        bool end;
    } cases[] = {
        {false, false, false, true, true, Autostart::None, false},  // no autostart: a start by hand goes on
        {false, true, false, true, true, Autostart::None, false},   // XP starts no task of this kind
        {false, false, true, false, true, Autostart::None, false},  // A safe, whatever R
        {false, false, true, true, false, Autostart::Shortcut, false},
        {false, false, true, true, true, Autostart::Shortcut, true},
        {true, false, true, true, true, Autostart::None, false},  // 6.x: a shortcut starts nothing and is left alone
        {true, true, true, false, false, Autostart::None, false},
        {true, true, false, true, false, Autostart::Task, false},
        {true, true, true, true, true, Autostart::Task, true},
    };
    for (const auto& c : cases) {
        const FolderSafety::Finding safe, unsafe{Cause::Changeable, "C:\\vantu"};
        const Decision decision = Decide(InForce(c.windows6, c.task, c.shortcut), c.autostartUnsafe ? unsafe : safe,
                                         c.ownUnsafe ? unsafe : safe);
        EXPECT_EQ(std::pair(decision.remove, decision.end), std::pair(c.remove, c.end))
            << c.windows6 << c.task << c.shortcut << c.autostartUnsafe << c.ownUnsafe;
    }
}
