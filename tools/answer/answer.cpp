// Answers a message box on a Wine desktop nobody can see, for scripts/run: the first
// start's question would otherwise wait for ever on a private X server. Waits until a
// dialog with the caption shows on the named desktop, then presses the button; gives
// up when the file appears first (the program went on without asking).
// Usage: answer DESKTOP CAPTION yes|no|ok FILE
// Exit codes: 0 answered, 1 not asked (the file appeared), 2 usage.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    const char* const desktopName = argv[1];
    const char* const caption = argv[2];
    const char* const file = argv[4];
    const int button = std::strcmp(argv[3], "yes") == 0 ? IDYES : std::strcmp(argv[3], "no") == 0 ? IDNO
                       : std::strcmp(argv[3], "ok") == 0 ? IDOK : 0;
    if (button == 0)
        return 2;
    // Windows are looked for on the thread's own desktop: the program's, once it exists.
    for (bool onDesktop = false;; Sleep(100)) {
        if (!onDesktop) {
            const HDESK desktop = OpenDesktopA(desktopName, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            onDesktop = desktop && SetThreadDesktop(desktop);
            if (desktop && !onDesktop)
                CloseDesktop(desktop);
        } else if (const HWND box = FindWindowExA(nullptr, nullptr, "#32770", caption)) {
            SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
            return 0;
        }
        if (GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES)
            return 1;
    }
}
