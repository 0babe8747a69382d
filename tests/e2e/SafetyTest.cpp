// The fan handed back to the EC whenever the real program stops watching the
// temperature (a crash, the end of the session, sleep), and the EC shared with other
// programs through their lock. Seen in the simulated EC's log.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"

namespace e2e {
namespace {

// vantu started with the fan forced off at 60 degrees, and the disk level kept; BIOS
// 3305 writes AF for off and 00 for auto.
struct FanForcedOff {
    FanForcedOff() {
        folder.AddFakeCommand("hdparm");
        folder.WriteIni("[Advanced]\r\nTimerInterval=100\r\nPreventHDClicks=True\r\n[Fan]\r\nControl=0\r\n");
        folder.SetEc("Temperature", "60");
        vantu.emplace(folder);
        EXPECT_TRUE(folder.WaitForEcLog("W 55 AF", 1)) << "the fan was never forced off";
    }
    void AwaitTicks(size_t count) const { ASSERT_TRUE(folder.WaitForEcLog("R 58 ", folder.EcLog("R 58 ").size() + count)); }
    size_t Count(const char* line) const { return folder.EcLog(line).size(); }

    SeededBiosVersion bios{"V1.3305"};
    TestFolder folder;
    std::optional<Vantu> vantu;
};

TEST(Safety, ACrashInsideThePortLibraryHandsTheFanBackBeforeTheProcessEnds) {
    FanForcedOff fan;  // the test bed keeps Wine's crash dialog from holding the process
    fan.folder.SetEc("CrashAtPortRead", "1");
    EXPECT_EQ(fan.vantu->WaitForExit(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    const Lines log = fan.folder.EcLog();
    const auto crash = std::find(log.begin(), log.end(), "CRASH");
    ASSERT_NE(crash, log.end());
    EXPECT_EQ(Lines(crash + 1, log.end()), Lines{"W 55 00"});  // the hand-back, no shutdown
}

// The auto byte is written before the suspend broadcast returns, the ticks until resume
// leave it there; each resume event hands the fan to the EC too, and the next tick
// forces it off again and sends the disk level again. Other power events do nothing.
TEST(Safety, SuspendHandsTheFanToTheEcUntilResume) {
    FanForcedOff fan;
    ASSERT_TRUE(fan.vantu->Send(WM_POWERBROADCAST, PBT_APMSUSPEND));
    EXPECT_EQ(fan.folder.EcLog("W 55 "), (Lines{"W 55 AF", "W 55 00"}));
    fan.AwaitTicks(3);
    EXPECT_EQ(fan.Count("W 55 "), 2u);
    size_t resumes = 0;
    for (WPARAM event : {PBT_APMRESUMESUSPEND, PBT_APMRESUMESTANDBY, PBT_APMRESUMECRITICAL}) {
        SCOPED_TRACE(event);
        ASSERT_TRUE(fan.vantu->Send(WM_POWERBROADCAST, event));
        EXPECT_EQ(fan.Count("W 55 00"), ++resumes + 1);
        EXPECT_TRUE(fan.folder.WaitForEcLog("W 55 AF", resumes + 1));
        EXPECT_TRUE(WaitUntil([&] { return fan.folder.Commands("hdparm").size() == resumes + 1; }));
    }
    for (WPARAM event : {PBT_APMRESUMEAUTOMATIC, PBT_APMPOWERSTATUSCHANGE})
        fan.vantu->Send(WM_POWERBROADCAST, event);
    fan.AwaitTicks(3);
    EXPECT_EQ(fan.Count("W 55 00"), resumes + 1);
    EXPECT_EQ(fan.folder.Commands("hdparm").size(), resumes + 1);
}

// While another program holds the lock, nothing reaches the EC but the fan handed back:
// once the readings the lock kept from the EC count as lost, and at the exit, vantu
// waits a second more and writes the auto byte without the lock. The program answers
// all along; released or abandoned, transactions resume, and the program does not keep
// the lock for itself after an abandoned one.
TEST(Safety, TheEcLockOfOtherProgramsIsWaitedForButNeverKeepsTheFanFromTheEc) {
    FanForcedOff fan;
    const milliseconds tenTicks = fan.folder.TimeOfTicks(10);
    {
        const EcLockHolder other;
        ASSERT_TRUE(other.Held());
        const size_t held = fan.folder.EcLog().size();
        fan.folder.SetEc("Temperature", "92");  // critical, were it read
        ASSERT_TRUE(fan.folder.WaitForEcLog("W 55 00", 1)) << "the fan was not handed back";
        ASSERT_TRUE(fan.vantu->AnswersFor(tenTicks)) << "the program did not answer while the lock was held";
        const Lines log = fan.folder.EcLog();
        EXPECT_EQ(Lines(log.begin() + long(held), log.end()), Lines{"W 55 00"});
        ASSERT_TRUE(other.Release());
        EXPECT_TRUE(fan.folder.WaitForEcLog("R 58 5C", 1));
    }
    {
        const EcLockHolder crashed;
        ASSERT_TRUE(crashed.Held());
        fan.folder.SetEc("Temperature", "60");
        crashed.Abandon();
        EXPECT_TRUE(fan.folder.WaitForEcLog("W 55 AF", 2));
    }
    {
        const EcLockHolder next;
        ASSERT_TRUE(next.Held()) << "(after the abandoned lock)";
        ASSERT_TRUE(fan.vantu->Closed());
        const Lines log = fan.folder.EcLog();  // the fan was off (AF) when the lock was taken
        EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"W 55 00", "SHUTDOWN"}));
        EXPECT_TRUE(next.Release());
    }
}

}  // namespace
}  // namespace e2e
