#pragma once
// The configuration dialog: the settings without a menu entry of their own, the
// EC value tester and the driver patch buttons.
#include <windows.h>

namespace frmConfig {

// Shows the dialog modally; while it is open, a second request brings it to the front.
void Show(HWND owner);

}  // namespace frmConfig
