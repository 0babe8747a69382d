#include "app/TrayMenu.h"

#include <windows.h>

#include "app/frmMainWindow.h"
#include "resources/resource.h"

namespace frmMain {

namespace {

bool menuOpen = false;

class LoadedMenu {
public:
    explicit LoadedMenu(int id) : menu_(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))) {}
    ~LoadedMenu() {
        if (menu_)
            DestroyMenu(menu_);
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;

    HMENU Popup() const { return menu_ ? GetSubMenu(menu_, 0) : nullptr; }

private:
    HMENU menu_;
};

void OpenTrayMenu() {
    // The menu's own loop runs until it closes; a second click meanwhile would
    // otherwise open a second menu inside the first.
    if (menuOpen)
        return;
    const HWND window = MainWindow();
    SetForegroundWindow(window);
    POINT at{};
    GetCursorPos(&at);
    const LoadedMenu menu(IDM_TRAY);
    if (!menu.Popup())
        return;
    menuOpen = true;
    TrackPopupMenu(menu.Popup(), 0, at.x, at.y, 0, window, nullptr);
    menuOpen = false;
    // Without a message after it, a tray menu does not close on a click elsewhere
    // the next time it opens.
    PostMessageA(window, WM_NULL, 0, 0);
}

void mnuExit_Click() { UnloadMainWindow(); }

}  // namespace

void Form_MouseMove(uint32_t mouseEvent) {
    // Either button's release opens the menu; button-down, double clicks and plain
    // moves do nothing.
    if (mouseEvent == WM_LBUTTONUP || mouseEvent == WM_RBUTTONUP)
        OpenTrayMenu();
}

bool MenuCommand(uint32_t id) {
    switch (id) {
        case IDM_EXIT: mnuExit_Click(); return true;
    }
    return false;
}

}  // namespace frmMain
