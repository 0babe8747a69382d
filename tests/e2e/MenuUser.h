#pragma once
// A running vantu whose tray menu the test uses as a user would: opened through the
// main icon's notification, entries chosen with keys sent to the open popup.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "Harness.h"

namespace e2e {

// A running vantu with its menu at hand; BIOS 3305 writes AF off, 10 slow, 00 auto.
class MenuUser {
public:
    explicit MenuUser(const std::string& ini) {
        folder_.WriteIni(ini);
        folder_.SetEc("Temperature", "55");
        vantu_.emplace(folder_);
        EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1));
    }

    // Opens the menu with a right button release on the icon, lets the monitor tick
    // while it is open, then sends the keys (a letter is an access key, anything else
    // a virtual key).
    void Choose(std::initializer_list<int> keys, size_t ticksWhileOpen = 0) {
        PostMessageA(vantu_->MainWindow(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = OpenPopupMenu(vantu_->ProcessId())) != nullptr; }));
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", folder_.EcLog("R 58").size() + ticksWhileOpen));
        ASSERT_EQ(OpenPopupMenu(vantu_->ProcessId()), menu) << "a tick disturbed the open menu";
        for (int key : keys) {
            PostMessageA(menu, key >= 'a' && key <= 'z' ? WM_CHAR : WM_KEYDOWN, key, 0);
            Sleep(100);  // a submenu opens before the next key reaches it
        }
        ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(vantu_->ProcessId()) == nullptr; }));
    }

    std::string Stored(const char* section, const char* key) const {
        char text[256] = {};
        GetPrivateProfileStringA(section, key, "", text, sizeof text, folder_.Path("vantu.ini").c_str());
        return text;
    }
    Vantu& Program() { return *vantu_; }
    const TestFolder& Folder() const { return folder_; }

private:
    SeededBiosVersion bios_{"V1.3305"};
    TestFolder folder_;
    std::optional<Vantu> vantu_;
};

}  // namespace e2e
