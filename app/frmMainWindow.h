#pragma once
// The main window's handle and its unloading, for the window's own modules (tray,
// tick, menu).
#include <windows.h>

namespace frmMain {

HWND MainWindow();

// Runs the shutdown steps and destroys the main window, which ends the program.
void UnloadMainWindow();

}  // namespace frmMain
