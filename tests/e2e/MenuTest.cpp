// The tray menu of the real program driven as a user would: opened through the main
// icon's notification, entries chosen with access keys and arrow keys sent to the
// open popup. Another process cannot read the popup's items under Wine, so the
// structure is told by what a key sequence does: the INI file, the commands run and
// the fan bytes in the simulated EC's log. Resume broadcasts are sent the same way.
#include <gtest/gtest.h>

#include "MenuUser.h"
#include "support/SeededRegistryValue.h"

namespace e2e {
namespace {

// A fan entry stores the mode at once; the fan follows at the next tick.
TEST(Menu, FanEntriesByKeysStoreTheModeAndTheFanFollows) {
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\n[Fan]\r\nControl=2\r\n");
    ASSERT_TRUE(user.WaitForFanWrites("00", 1));
    const struct { std::initializer_list<int> keys; const char* stored; const char* byte; } choices[] = {
        {{'f', VK_RETURN}, "0", "AF"},                  // the first entry, Off
        {{'f', VK_DOWN, VK_RETURN}, "1", "10"},         // Slow
        {{'f', VK_UP, VK_UP, VK_RETURN}, "2", "00"},    // from the top round to Auto
    };
    for (const auto& c : choices) {
        const size_t before = user.FanWrites(c.byte);
        user.Choose(c.keys, 2);
        EXPECT_TRUE(WaitUntil([&] { return user.StoredFanMode() == c.stored; }, kUserWait)) << c.stored;
        EXPECT_TRUE(user.WaitForFanWrites(c.byte, before + 1)) << c.stored;
    }
    user.Choose({VK_ESCAPE, VK_ESCAPE});  // closes it, choosing nothing
    EXPECT_EQ(user.StoredFanMode(), "2");
    EXPECT_TRUE(user.Program().Running());
}

// Before Windows 6 the CPU entries are the two above the last separator; from
// Windows 6 on the same keys reach the Fan submenu.
TEST(Menu, StructureTellsByWhatTheKeysReach) {
    {
        MenuUser user("[Advanced]\r\nTimerInterval=300\r\n");
        user.Choose({VK_UP, VK_UP, VK_UP, VK_RETURN});
        user.Choose({VK_UP, VK_UP, VK_RETURN});
        // The command runs once the menu has closed.
        EXPECT_TRUE(WaitUntil([&] { return user.Commands("powercfg /x").size() == 4; }, kUserWait));
        EXPECT_EQ(user.Commands("powercfg /x"),
                  (std::vector<std::string>{"powercfg /x vantu /processor-throttle-ac adaptive",
                                            "powercfg /x vantu /processor-throttle-dc constant",
                                            "powercfg /x vantu /processor-throttle-ac constant",
                                            "powercfg /x vantu /processor-throttle-ac adaptive"}));
        user.Choose({'d', VK_RETURN});  // LAN, enabled until now
        EXPECT_TRUE(WaitUntil([&] { return user.Commands("devcon disable").size() == 1; }, kUserWait));
    }
    const SeededRegistryValue vista("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion",
                                    REG_SZ, std::string("6.0", 4));
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\n[Fan]\r\nControl=3\r\n", ".6");
    user.Choose({VK_UP, VK_UP, VK_RIGHT, VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return user.StoredFanMode() == "0"; }, kUserWait));
    user.Choose({VK_UP, VK_RETURN});
    EXPECT_TRUE(user.Program().WaitForExit().has_value());
}

// Resume hands the fan to the EC at once; the next tick writes the chosen mode and
// the disk level again. Other power events change nothing.
TEST(Menu, ResumeBroadcastsGiveTheFanToTheEcUntilTheNextTick) {
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\nPreventHDClicks=True\r\n[Fan]\r\nControl=0\r\n");
    ASSERT_TRUE(user.WaitForFanWrites("AF", 1));
    ASSERT_TRUE(WaitUntil([&] { return user.Commands("hdparm").size() == 1; }, kUserWait));
    size_t resumes = 0;
    for (WPARAM event : {PBT_APMRESUMESUSPEND, PBT_APMRESUMESTANDBY, PBT_APMRESUMECRITICAL}) {
        ++resumes;
        user.Broadcast(event);
        EXPECT_TRUE(user.WaitForFanWrites("00", resumes)) << event;
        EXPECT_TRUE(user.WaitForFanWrites("AF", resumes + 1)) << event;
        EXPECT_TRUE(WaitUntil([&] { return user.Commands("hdparm").size() == resumes + 1; }, kUserWait));
    }
    for (WPARAM event : {PBT_APMRESUMEAUTOMATIC, PBT_APMPOWERSTATUSCHANGE})
        user.Broadcast(event);
    Sleep(1500);  // several ticks
    EXPECT_EQ(user.FanWrites("00"), resumes);
    EXPECT_EQ(user.Commands("hdparm").size(), resumes + 1);
}

}  // namespace
}  // namespace e2e
