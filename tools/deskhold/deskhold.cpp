// Keeps the test bed's desktop alive for the whole run. Wine closes a desktop one second
// after its last program ends; the next program's first top-level window then has to
// start explorer.exe again and waits at most a few seconds for it. In the slowed 32-bit
// guest explorer took longer, and that window failed with "class does not exist"
// (error 1411). This process is started by scripts/wine-setup, holds one hidden
// top-level window, and ends with the bed's wineserver.
// Usage: deskhold READYFILE (written once the window exists)
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK HolderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Each failed attempt is one late desktop: the next one starts explorer again.
HWND MakeWindow(HINSTANCE instance) {
    constexpr int kAttempts = 10;
    for (int attempt = 0; attempt < kAttempts; ++attempt)
        if (const HWND window = CreateWindowExW(0, L"vantu.deskhold", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                instance, nullptr))
            return window;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskhold READYFILE\n");
        return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HolderProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"vantu.deskhold";
    RegisterClassW(&windowClass);
    if (!MakeWindow(windowClass.hInstance)) {
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
