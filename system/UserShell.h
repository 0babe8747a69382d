#pragma once
// Opens an address as the user would from the desktop: through the desktop's own
// shell, which runs with the user's ordinary rights, rather than in a browser started by
// this program, which would inherit its administrator rights.
#include <windows.h>

namespace UserShell {

// True when the desktop's shell opened it; false when it could not be reached (no
// shell, or one that does not offer its desktop's dispatch object) or COM's security
// could not be made the program's own.
bool OpenThroughTheDesktop(const char* address);

}  // namespace UserShell
