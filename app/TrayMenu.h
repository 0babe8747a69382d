#pragma once
// The tray menu mnuMenu: opened from the main icon's notifications; its entries keep
// their check marks, captions and visibility between openings, and each opening shows
// the visible ones. The commands and the refresh operations are in MenuCommands.cpp.
#include <cstdint>
#include <string>

#include <windows.h>

#include "system/Owned.h"

namespace frmMain {

struct MenuTraits {
    using Raw = HMENU;
    static bool Valid(HMENU menu) { return menu != nullptr; }
    static void Release(HMENU menu) { DestroyMenu(menu); }  // submenus with it
};
using Menu = Owned<MenuTraits>;

// The main icon's notification; the event number is the mouse message (WM_*UP...).
void Form_MouseMove(uint32_t mouseEvent);

// Entries by their identifier (resources/resource.h).
void SetMenuChecked(uint32_t id, bool checked);
bool MenuChecked(uint32_t id);
void SetMenuCaption(uint32_t id, const std::string& caption);
void SetMenuEnabled(uint32_t id, bool enabled);
// Win32 menus cannot hide an entry: an invisible one is left out of the popup.
void SetMenuVisible(uint32_t id, bool visible);

// The popup as it opens now: the visible entries, with their captions and checks.
Menu BuildTrayPopup();

// A menu entry was chosen; false for an identifier that is no menu entry.
bool MenuCommand(uint32_t id);

// Start-up's preparation of the menu, in the order start-up calls them.
void PrepareScreenMenu();         // or, on Windows 6 or later, hides it and the CPU entries
void CheckDevicesStatus();        // asks devcon, then sets the device check marks
void PrepareCustomDeviceEntry();  // caption and visibility from the settings

// Downscaling in the graphics driver and in the settings (which the caller saves).
void SetDownscaling(bool on);
void RefreshThrottleMenu();
void RefreshFanMenu();           // the modes of the power source whose fan mode is in force

}  // namespace frmMain
