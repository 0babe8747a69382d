#pragma once
// The tray menu: opened from the main icon's notifications, its commands run in
// the main window.
#include <cstdint>

namespace frmMain {

// The main icon's notification; the event number is the mouse message (WM_*UP...).
void Form_MouseMove(uint32_t mouseEvent);

// A menu entry was chosen; false for an identifier that is no menu entry.
bool MenuCommand(uint32_t id);

}  // namespace frmMain
