// The tray menu of the real program driven as a user would: opened through the main
// icon's notification, entries chosen with access keys and arrow keys sent to the open
// popup. Another process cannot read the popup's items under Wine, so what a key
// sequence reached is told by the INI file and the fan bytes in the EC's log.
#include <gtest/gtest.h>

#include "MenuUser.h"

namespace e2e {
namespace {

// A fan entry stores the mode at once, ticks while the menu is open leave it be, and
// the fan follows at the next tick. Esc twice closes it, choosing nothing.
TEST(Menu, FanEntriesByKeysStoreTheModeAndTheFanFollows) {
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\n[Fan]\r\nControl=2\r\n");
    ASSERT_TRUE(user.Folder().WaitForEcLog("W 55 00", 1));
    const struct { std::initializer_list<int> keys; const char* stored; const char* byte; } choices[] = {
        {{'f', VK_RETURN}, "0", "W 55 AF"},                // the first entry, Off
        {{'f', VK_DOWN, VK_RETURN}, "1", "W 55 10"},       // Slow
        {{'f', VK_UP, VK_UP, VK_RETURN}, "2", "W 55 00"},  // from the top round to Auto
    };
    for (const auto& c : choices) {
        const size_t before = user.Folder().EcLog(c.byte).size();
        user.Choose(c.keys, 2);
        EXPECT_TRUE(WaitUntil([&] { return user.Stored("Fan", "Control") == c.stored; })) << c.stored;
        EXPECT_TRUE(user.Folder().WaitForEcLog(c.byte, before + 1)) << c.stored;
    }
    user.Choose({VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ(user.Stored("Fan", "Control"), "2");
    EXPECT_TRUE(user.Program().Running());
}

}  // namespace
}  // namespace e2e
