#pragma once
// The About dialog: the program's name and version, its authors, their site and a
// donation page.
#include <windows.h>

#include <string>

namespace frmAbout {

// Shows the dialog modally; while it is open, a second request brings it to the front.
void Show(HWND owner, const std::string& machineLine);

}  // namespace frmAbout
