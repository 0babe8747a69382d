// Plays vantu's user for the setup's tests, which are scripts: a tray menu command, sent
// to vantu's hidden main window as the menu sends it (WM_COMMAND with the item's ID),
// then, when a caption follows, a click on each named button of the dialog of that
// caption, in turn, once it shows.
// Usage: menupick ITEM_ID [CAPTION BUTTON...]
// Exit codes: 0 done, 1 no vantu window, 2 usage.
#include <windows.h>

#include <cstdlib>

namespace {

// Polls: the dialog opens in vantu's own time.
HWND Await(HWND parent, const char* windowClass, const char* text) {
    HWND window;
    while (!(window = FindWindowExA(parent, nullptr, windowClass, text)))
        Sleep(100);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc == 3)
        return 2;
    const HWND main = FindWindowA("vantu.frmMain", "Main");
    if (!main)
        return 1;
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[1]), 0), 0);
    if (argc == 2)
        return 0;
    const HWND dialog = Await(nullptr, "#32770", argv[2]);
    for (int i = 3; i < argc; ++i)
        SendMessageA(Await(dialog, "Button", argv[i]), BM_CLICK, 0, 0);
    return 0;
}
