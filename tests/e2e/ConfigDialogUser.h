#pragma once
// The configuration dialog of the real program as a user reaches it: vantu running, its
// tray menu opened, Configure chosen by its access key, and the dialog's real controls.
#include <shlobj.h>

#include <optional>
#include <string>

#include "Harness.h"

namespace e2e {

// A running vantu whose tray menu the test uses as a user would; BIOS 3305 writes AF
// off, 10 slow, 00 auto.
class MenuUser {
public:
    explicit MenuUser(const std::string& ini, const std::string& parent = kTestFolders) : folder_("", parent) {
        folder_.WriteIni(ini);
        folder_.SetEc("Temperature", "55");
        vantu_.emplace(folder_);
        EXPECT_TRUE(folder_.WaitForEcLog("R 58", 1));
    }
    // Opens the menu with a right button release on the icon, lets the monitor tick
    // while it is open, then chooses Configure by its access key.
    void ChooseConfigure(size_t ticksWhileOpen = 0) {
        const HWND menu = vantu_->OpenTrayMenu();
        ASSERT_TRUE(menu);
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", folder_.EcLog("R 58").size() + ticksWhileOpen));
        ASSERT_EQ(OpenPopupMenu(vantu_->ProcessId()), menu) << "a tick disturbed the open menu";
        PostMessageA(menu, WM_CHAR, 'c', 0);
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
    TestFolder folder_;  // after the BIOS: its program reads it
    std::optional<Vantu> vantu_;
};

// The open configuration dialog of a MenuUser, chosen from the menu after it has been
// open for that many ticks.
class ConfigDialog {
public:
    explicit ConfigDialog(MenuUser& user, size_t ticksWhileMenuOpen = 0) : user_(user) {
        user.ChooseConfigure(ticksWhileMenuOpen);
        const auto found = WaitForMessageBox(user.Program().ProcessId(), "Configure vantu");
        EXPECT_TRUE(found.has_value()) << "no configuration dialog";
        hwnd_ = found ? found->hwnd : nullptr;
    }
    HWND Window() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    void Type(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }
    std::string Text(int id) const {
        char text[256] = {};
        GetDlgItemTextA(hwnd_, id, text, sizeof text);
        return text;
    }
    bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(int id, bool checked) const {
        if (Checked(id) != checked)
            SendMessageA(Control(id), BM_CLICK, 0, 0);
    }
    // Posted, since the press may open message boxes; their texts, each answered OK.
    Lines Press(int id, size_t messages = 0) const {
        PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Control(id)));
        Lines texts;
        for (std::optional<MessageBoxWindow> box; texts.size() < messages;) {
            if (!(box = WaitForMessageBox(user_.Program().ProcessId(), "vantu")))
                break;
            texts.push_back(box->text);
            box->Press(IDOK);
            WaitUntil([&] { return !IsWindow(box->hwnd); });
        }
        return texts;
    }
    // Closed, and for a Save its steps done: they end with a monitor tick. Still open,
    // it says which message of the program's holds it.
    testing::AssertionResult WaitClosed() const {
        if (!WaitUntil([&] { return !IsWindow(hwnd_); })) {
            const auto box = OpenMessageBox(user_.Program().ProcessId(), "vantu");
            return testing::AssertionFailure() << "the dialog stayed open; the program's message: "
                                               << (box ? box->text : "none");
        }
        if (!user_.Folder().WaitForEcLog("R 58", user_.Folder().EcLog("R 58").size() + 1))
            return testing::AssertionFailure() << "no tick after the dialog closed";
        return testing::AssertionSuccess();
    }

private:
    MenuUser& user_;
    HWND hwnd_ = nullptr;
};

inline std::string StartupLink() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, folder);
    return std::string(folder) + "\\vantu.lnk";
}

// Wine keeps each scheduled task as a file named after it.
inline std::string TaskFile() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\tasks\\vantu";
}

}  // namespace e2e
