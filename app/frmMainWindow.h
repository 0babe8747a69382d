#pragma once
// The main window's handle and its unloading, for the window's own modules (tray,
// tick, menu).
#include <windows.h>

#include <string>

namespace frmMain {

HWND MainWindow();

// The About box's line naming the machine, as start-up found it, and where its fan
// bytes come from.
std::string MachineLine();

// Runs the shutdown steps and destroys the main window, which ends the program.
void UnloadMainWindow();
// False once the shutdown steps have run (the session may end inside a dialog's loop).
bool Running();

// The fan bytes the settings and the BIOS version choose, handed to the EC module.
void UseTheSettingsFanBytes();

}  // namespace frmMain
