// The tray menu of the real program driven as a user would: opened through the main
// icon's notification, entries chosen with access keys and arrow keys sent to the
// open popup. Another process cannot read the popup's items under Wine, so the
// structure is told by what a key sequence does: the INI file, the commands run and
// the fan bytes in the simulated EC's log. Resume broadcasts are sent the same way.
#include <gtest/gtest.h>

#include "Harness.h"

namespace e2e {
namespace {

const milliseconds kWait(15000);
const char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Sets "CurrentVersion" for the test and puts back what was there.
class SeededWindowsVersion {
public:
    explicit SeededWindowsVersion(const std::string& version) {
        RegOpenKeyA(HKEY_LOCAL_MACHINE, kVersionKey, &key_);
        DWORD size = sizeof previous_;
        RegQueryValueExA(key_, "CurrentVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(previous_), &size);
        Set(version.c_str());
    }
    ~SeededWindowsVersion() {
        Set(previous_);
        RegCloseKey(key_);
    }
    SeededWindowsVersion(const SeededWindowsVersion&) = delete;
    SeededWindowsVersion& operator=(const SeededWindowsVersion&) = delete;

private:
    void Set(const char* version) {
        RegSetValueExA(key_, "CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       DWORD(strlen(version) + 1));
    }
    HKEY key_ = nullptr;
    char previous_[32] = {};
};

// A running vantu with its menu at hand; BIOS 3305 writes AF off, 10 slow, 00 auto.
class MenuUser {
public:
    explicit MenuUser(const std::string& ini, const std::string& folderSuffix = "")
        : bios_({"ACRSYS - 1", "V1.3305"}), folder_(folderSuffix) {
        folder_.WriteIni(ini);
        folder_.SetEc("Temperature", "55");
        folder_.AddFakeCommand("devcon");
        folder_.AddFakeCommand("hdparm");
        vantu_.emplace(folder_);
        main_ = vantu_->MainWindow();
        EXPECT_NE(main_, nullptr);
        EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1, kWait));
    }

    // Opens the menu with a right button release on the icon, lets the monitor tick
    // while it is open, then sends the keys (a letter is an access key, anything else
    // a virtual key).
    void Choose(std::initializer_list<int> keys, size_t ticksWhileOpen = 0) {
        PostMessageA(main_, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = OpenPopupMenu(vantu_->ProcessId())) != nullptr; }, kWait));
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", folder_.EcLog("R 58").size() + ticksWhileOpen, kWait));
        ASSERT_EQ(OpenPopupMenu(vantu_->ProcessId()), menu) << "a tick disturbed the open menu";
        for (int key : keys) {
            if (key >= 'a' && key <= 'z')
                PostMessageA(menu, WM_CHAR, key, 0);
            else
                PostMessageA(menu, WM_KEYDOWN, key, 0);
            Sleep(100);  // a submenu opens before the next key reaches it
        }
        ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(vantu_->ProcessId()) == nullptr; }, kWait));
    }

    std::string StoredFanMode() const {
        char text[16] = {};
        GetPrivateProfileStringA("Fan", "Control", "", text, sizeof text, folder_.Path("vantu.ini").c_str());
        return text;
    }
    size_t FanWrites(const std::string& byte) const { return folder_.EcLog("W 55 " + byte).size(); }
    bool WaitForFanWrites(const std::string& byte, size_t count) const {
        return folder_.WaitForEcLog("W 55 " + byte, count, kWait);
    }
    std::vector<std::string> Commands(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& line : folder_.Commands())
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    void Broadcast(WPARAM event) const { PostMessageA(main_, WM_POWERBROADCAST, event, 0); }
    Vantu& Program() { return *vantu_; }

private:
    SeededBiosVersion bios_;
    TestFolder folder_;
    std::optional<Vantu> vantu_;
    HWND main_ = nullptr;
};

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
        EXPECT_EQ(user.StoredFanMode(), c.stored);
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
        EXPECT_EQ(user.Commands("powercfg /x"),
                  (std::vector<std::string>{"powercfg /x vantu /processor-throttle-ac adaptive",
                                            "powercfg /x vantu /processor-throttle-dc constant",
                                            "powercfg /x vantu /processor-throttle-ac constant",
                                            "powercfg /x vantu /processor-throttle-ac adaptive"}));
        user.Choose({'d', VK_RETURN});  // LAN, enabled until now
        EXPECT_TRUE(WaitUntil([&] { return user.Commands("devcon disable").size() == 1; }, kWait));
    }
    const SeededWindowsVersion vista("6.0");
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\n[Fan]\r\nControl=3\r\n", ".6");
    user.Choose({VK_UP, VK_UP, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(user.StoredFanMode(), "0");
    user.Choose({VK_UP, VK_RETURN});
    EXPECT_TRUE(user.Program().WaitForExit().has_value());
}

// Resume hands the fan to the EC at once; the next tick writes the chosen mode and
// the disk level again. Other power events change nothing.
TEST(Menu, ResumeBroadcastsGiveTheFanToTheEcUntilTheNextTick) {
    MenuUser user("[Advanced]\r\nTimerInterval=300\r\nPreventHDClicks=True\r\n[Fan]\r\nControl=0\r\n");
    ASSERT_TRUE(user.WaitForFanWrites("AF", 1));
    ASSERT_TRUE(WaitUntil([&] { return user.Commands("hdparm").size() == 1; }, kWait));
    size_t resumes = 0;
    for (WPARAM event : {PBT_APMRESUMESUSPEND, PBT_APMRESUMESTANDBY, PBT_APMRESUMECRITICAL}) {
        ++resumes;
        user.Broadcast(event);
        EXPECT_TRUE(user.WaitForFanWrites("00", resumes)) << event;
        EXPECT_TRUE(user.WaitForFanWrites("AF", resumes + 1)) << event;
        EXPECT_TRUE(WaitUntil([&] { return user.Commands("hdparm").size() == resumes + 1; }, kWait));
    }
    for (WPARAM event : {PBT_APMRESUMEAUTOMATIC, PBT_APMPOWERSTATUSCHANGE})
        user.Broadcast(event);
    Sleep(1500);  // several ticks
    EXPECT_EQ(user.FanWrites("00"), resumes);
    EXPECT_EQ(user.Commands("hdparm").size(), resumes + 1);
}

}  // namespace
}  // namespace e2e
