#include "system/ShellToken.h"

#include <gtest/gtest.h>

using namespace ShellToken;

// The shell's token is used only when neither elevated nor above medium integrity, and
// when both could be read; the account it belongs to is not asked.
TEST(ShellTokenTest, UsableOnlyWhenNotElevatedAndAtMostMediumIntegrity) {
    const struct {
        Facts facts;
        Verdict verdict;
    } cases[] = {
        {{true, 0, 0x2000}, Verdict::Usable},        {{true, 0, 0x1000}, Verdict::Usable},  // low
        {{true, 1, 0x2000}, Verdict::Elevated},      {{true, 0, 0x2001}, Verdict::HighIntegrity},
        {{true, 0, 0x3000}, Verdict::HighIntegrity}, {{false, 0, 0x2000}, Verdict::NoShell},
        {{true, {}, 0x2000}, Verdict::Unreadable},   {{true, 0, {}}, Verdict::Unreadable},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Judge(c.facts), c.verdict) << int(c.verdict);
        EXPECT_EQ(*Missing(Judge(c.facts)) == '\0', c.verdict == Verdict::Usable);
    }
}
