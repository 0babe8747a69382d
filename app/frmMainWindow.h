#pragma once
// The main window's handle, for the window's own modules (tray, tick, menu).
#include <windows.h>

namespace frmMain {

HWND MainWindow();

}  // namespace frmMain
