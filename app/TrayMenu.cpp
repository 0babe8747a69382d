#include "app/TrayMenu.h"

#include <set>

#include "app/frmMainWindow.h"
#include "resources/resource.h"

namespace frmMain {

namespace {

// The designed menu, loaded once: it holds the check marks and captions. What is
// invisible is only left out when the popup is built from it.
Menu design;
std::set<uint32_t> invisible;
bool menuOpen = false;

HMENU Design() {
    if (!design)
        design = Menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TRAY)));
    return design ? GetSubMenu(design.get(), 0) : nullptr;
}

// A copy of a menu with its visible entries; submenus are copied the same way.
HMENU CopyVisible(HMENU source) {
    const HMENU copy = CreatePopupMenu();
    if (!copy)
        return nullptr;
    for (int position = 0, count = GetMenuItemCount(source); position < count; ++position) {
        char caption[128] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = caption;
        item.cch = sizeof caption;
        if (!GetMenuItemInfoA(source, position, TRUE, &item) || invisible.count(item.wID))
            continue;
        item.dwTypeData = caption;
        if (item.hSubMenu)
            item.hSubMenu = CopyVisible(item.hSubMenu);
        // A submenu copy that found no place would belong to nobody.
        if (!InsertMenuItemA(copy, GetMenuItemCount(copy), TRUE, &item) && item.hSubMenu)
            DestroyMenu(item.hSubMenu);
    }
    return copy;
}

void OpenTrayMenu() {
    // The menu's own loop runs until it closes; a second click meanwhile would
    // otherwise open a second menu inside the first.
    if (menuOpen)
        return;
    RefreshThrottleMenu();  // the CPU entries show the mode of the power source in use
    RefreshFanMenu();       // and so do the fan entries
    const HWND window = MainWindow();
    SetForegroundWindow(window);
    POINT at{};
    GetCursorPos(&at);
    const Menu popup = BuildTrayPopup();
    if (!popup)
        return;
    menuOpen = true;
    TrackPopupMenu(popup.get(), 0, at.x, at.y, 0, window, nullptr);
    menuOpen = false;
    // Without a message after it, a tray menu does not close on a click elsewhere
    // the next time it opens.
    PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace

void Form_MouseMove(uint32_t mouseEvent) {
    // Either button's release opens the menu; button-down, double clicks and plain
    // moves do nothing.
    if (mouseEvent == WM_LBUTTONUP || mouseEvent == WM_RBUTTONUP)
        OpenTrayMenu();
}

void SetMenuChecked(uint32_t id, bool checked) {
    CheckMenuItem(Design(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuChecked(uint32_t id) {
    return (GetMenuState(Design(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetMenuCaption(uint32_t id, const std::string& caption) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    // A string entry even when the caption is empty: an entry designed without text
    // would otherwise stay a separator.
    item.fMask = MIIM_FTYPE | MIIM_STRING;
    item.fType = MFT_STRING;
    std::string text = caption;
    item.dwTypeData = text.data();
    SetMenuItemInfoA(Design(), id, FALSE, &item);
}

void SetMenuEnabled(uint32_t id, bool enabled) {
    EnableMenuItem(Design(), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuVisible(uint32_t id, bool visible) {
    if (visible)
        invisible.erase(id);
    else
        invisible.insert(id);
}

Menu BuildTrayPopup() {
    const HMENU source = Design();
    return Menu(source ? CopyVisible(source) : nullptr);
}

}  // namespace frmMain
