#pragma once
// The main window's subclass procedure: it watches the system's power broadcasts
// and passes every message on to the window's own procedure.
#include <windows.h>

namespace modPowerEvents {

// The procedure the main window had before subclassing.
extern WNDPROC PreviousWindowProc;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace modPowerEvents
