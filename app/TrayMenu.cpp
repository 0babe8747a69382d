#include "app/TrayMenu.h"

#include <windows.h>

#include "app/frmMainWindow.h"
#include "system/Owned.h"
#include "resources/resource.h"

namespace frmMain {

namespace {

bool menuOpen = false;

struct MenuTraits {
    using Raw = HMENU;
    static bool Valid(HMENU menu) { return menu != nullptr; }
    static void Release(HMENU menu) { DestroyMenu(menu); }
};
using Menu = Owned<MenuTraits>;

void OpenTrayMenu() {
    // The menu's own loop runs until it closes; a second click meanwhile would
    // otherwise open a second menu inside the first.
    if (menuOpen)
        return;
    const HWND window = MainWindow();
    SetForegroundWindow(window);
    POINT at{};
    GetCursorPos(&at);
    const Menu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TRAY)));
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    menuOpen = true;
    TrackPopupMenu(popup, 0, at.x, at.y, 0, window, nullptr);
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
