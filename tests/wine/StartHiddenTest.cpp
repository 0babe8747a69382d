#include "system/StartHidden.h"

#include <gtest/gtest.h>

#include "CommandLog.h"

namespace {

using Lines = std::vector<std::string>;

class StartHiddenTest : public testing::Test {
protected:
    void SetUp() override { CommandLog::Clear(); }
    void TearDown() override { CommandLog::Clear(); }
};

TEST_F(StartHiddenTest, WaitedCommandHasRunWhenTheCallReturns) {
    ASSERT_TRUE(StartHidden("powercfg  /q \"two words\" ", 5000));
    EXPECT_EQ(CommandLog::Lines(), Lines{"powercfg  /q \"two words\" "});
}

TEST_F(StartHiddenTest, UnwaitedCommandRunsOnItsOwn) {
    ASSERT_TRUE(StartHidden("powercfg /s vantu", 0));
    EXPECT_EQ(CommandLog::WaitForLines(1), Lines{"powercfg /s vantu"});
}

TEST_F(StartHiddenTest, MissingProgramIsReportedNotRun) {
    EXPECT_FALSE(StartHidden("vantu-no-such-command /c vantu", 5000));
    EXPECT_FALSE(StartHidden("", 0));
    EXPECT_TRUE(CommandLog::Lines().empty());
}

}  // namespace
