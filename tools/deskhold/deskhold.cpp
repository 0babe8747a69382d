// Keeps the test bed's desktop alive for the whole run. Wine closes a desktop one second
// after its last program ends; the next program's first top-level window then has to
// start explorer.exe again and waits at most a few seconds for it. In the slowed 32-bit
// guest explorer took longer, and that window failed with "class does not exist"
// (error 1411). This process is started by scripts/wine-setup, holds one hidden
// top-level window, and ends with the bed's wineserver.
// Usage: deskhold READYFILE (written once the window exists)
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskhold READYFILE\n");
        return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"vantu.deskhold";
    RegisterClassW(&windowClass);
    // Top-level and never shown. When Wine gave up on a late explorer this fails, and
    // scripts/wine-setup starts another holder: this process's desktop stays without one.
    if (!CreateWindowExW(0, L"vantu.deskhold", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance,
                         nullptr)) {
        std::fprintf(stderr, "deskhold: no window, error %lu\n", GetLastError());
        return 1;
    }
    if (FILE* ready = std::fopen(argv[1], "wb"))
        std::fclose(ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
