#pragma once
// A running vantu whose tray menu the test uses as a user would: opened through the
// main icon's notification, entries chosen with keys sent to the open popup.
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Harness.h"

namespace e2e {

inline constexpr milliseconds kUserWait{15000};
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
        EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1, kUserWait));
    }

    // Opens the menu with a right button release on the icon, lets the monitor tick
    // while it is open, then sends the keys (a letter is an access key, anything else
    // a virtual key).
    void Choose(std::initializer_list<int> keys, size_t ticksWhileOpen = 0) {
        PostMessageA(main_, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = OpenPopupMenu(vantu_->ProcessId())) != nullptr; }, kUserWait));
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", folder_.EcLog("R 58").size() + ticksWhileOpen, kUserWait));
        ASSERT_EQ(OpenPopupMenu(vantu_->ProcessId()), menu) << "a tick disturbed the open menu";
        for (int key : keys) {
            if (key >= 'a' && key <= 'z')
                PostMessageA(menu, WM_CHAR, key, 0);
            else
                PostMessageA(menu, WM_KEYDOWN, key, 0);
            Sleep(100);  // a submenu opens before the next key reaches it
        }
        ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(vantu_->ProcessId()) == nullptr; }, kUserWait));
    }

    std::string StoredFanMode() const {
        char text[16] = {};
        GetPrivateProfileStringA("Fan", "Control", "", text, sizeof text, folder_.Path("vantu.ini").c_str());
        return text;
    }
    size_t FanWrites(const std::string& byte) const { return folder_.EcLog("W 55 " + byte).size(); }
    bool WaitForFanWrites(const std::string& byte, size_t count) const {
        return folder_.WaitForEcLog("W 55 " + byte, count, kUserWait);
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
    const TestFolder& Folder() const { return folder_; }
    HWND MainWindow() const { return main_; }

private:
    SeededBiosVersion bios_;
    TestFolder folder_;
    std::optional<Vantu> vantu_;
    HWND main_ = nullptr;
};

}  // namespace e2e
