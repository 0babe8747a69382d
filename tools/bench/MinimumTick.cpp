// The bare minimum a tray temperature tool must do each tick, for scripts/bench to
// measure vantu against: one EC read transaction through the port library beside it
// (the simulated EC), one icon drawn with the reading, handed to the shell, and the
// icon it replaced destroyed. No lock, no power status, no tooltip, no settings.
// Usage: bench_minimum.exe [PERIOD_MS] (10 by default); ends on WM_CLOSE.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ec/EcProtocol.h"

namespace {

using PortValFn = BYTE(__stdcall*)(WORD, PDWORD, BYTE);
using SetPortValFn = BYTE(__stdcall*)(WORD, DWORD, BYTE);
using InitFn = BYTE(__stdcall*)();

PortValFn GetPortVal = nullptr;
SetPortValFn SetPortVal = nullptr;
NOTIFYICONDATAA Icon{};

struct Ports final : EcProtocol::PortIo {
    uint8_t InPort(uint16_t port) override {
        DWORD value = 0;
        GetPortVal(port, &value, 1);
        return static_cast<uint8_t>(value);
    }
    void OutPort(uint8_t value, uint16_t port) override { SetPortVal(port, value, 1); }
    void Pause() override { Sleep(1); }
    bool Lock() override { return true; }
    void Unlock() override {}
};

HICON DrawIcon(uint8_t degrees) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const HBITMAP color = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    const HGDIOBJ old = SelectObject(dc, color);
    const RECT all{0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    char text[4];
    std::snprintf(text, sizeof text, "%u", degrees);
    RECT box = all;
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    ICONINFO parts{TRUE, 0, 0, mask, color};
    const HICON icon = CreateIconIndirect(&parts);
    DeleteObject(mask);
    DeleteObject(color);
    DeleteDC(dc);
    return icon;
}

void Tick() {
    Ports io;
    const HICON icon = DrawIcon(EcProtocol::ReadEC(io, 0x58));
    const HICON replaced = Icon.hIcon;
    Icon.hIcon = icon;
    Shell_NotifyIconA(NIM_MODIFY, &Icon);
    DestroyIcon(replaced);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER: Tick(); return 0;
        case WM_DESTROY:
            Shell_NotifyIconA(NIM_DELETE, &Icon);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const int period = std::atoi(commandLine) > 0 ? std::atoi(commandLine) : 10;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string library(self);
    library = library.substr(0, library.find_last_of('\\') + 1) + "WinIo.dll";
    const HMODULE ports = LoadLibraryA(library.c_str());
    const auto init = ports ? reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(ports, "InitializeWinIo"))) : nullptr;
    GetPortVal = ports ? reinterpret_cast<PortValFn>(reinterpret_cast<void*>(GetProcAddress(ports, "GetPortVal"))) : nullptr;
    SetPortVal = ports ? reinterpret_cast<SetPortValFn>(reinterpret_cast<void*>(GetProcAddress(ports, "SetPortVal"))) : nullptr;
    if (!init || !GetPortVal || !SetPortVal || !init())
        return 1;
    WNDCLASSA type{};
    type.lpfnWndProc = WindowProc;
    type.hInstance = instance;
    type.lpszClassName = "vantu.bench.minimum";
    RegisterClassA(&type);
    const HWND window = CreateWindowA(type.lpszClassName, "Minimum", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                      instance, nullptr);
    Icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    Icon.hWnd = window;
    Icon.uFlags = NIF_ICON;
    Icon.hIcon = DrawIcon(0);
    Shell_NotifyIconA(NIM_ADD, &Icon);
    SetTimer(window, 1, static_cast<UINT>(period), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
