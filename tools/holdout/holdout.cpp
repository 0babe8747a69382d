// A vantu that does not end when asked, for the setup's tests: a hidden top-level window
// with the class and caption of vantu's main window that ignores WM_CLOSE, so that the
// setup has to give up waiting for it. Runs until it is ended from outside.
// Usage: holdout READYFILE (written once the window exists)
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK IgnoreClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = IgnoreClose;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "vantu.frmMain";
    if (!RegisterClassA(&windowClass) ||
        !CreateWindowExA(0, windowClass.lpszClassName, "Main", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200,
                         100, nullptr, nullptr, windowClass.hInstance, nullptr))
        return 1;
    if (FILE* ready = std::fopen(argv[1], "wb"))
        std::fclose(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
