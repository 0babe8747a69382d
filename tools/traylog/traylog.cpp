// A recording notification area. Under Wine, Shell_NotifyIcon hands each request to
// the top window of class "Shell_TrayWnd" as WM_COPYDATA; this one, created after
// Wine's own, comes first and logs every request, one line each, to the file named
// on its command line. Like a real shell it refuses to change or remove an icon it
// does not have, and to add one twice.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

// Wine's own layout of the request: a fixed header, then the icon's mask bits and
// colour bits as GetBitmapBits gives them.
struct NotifyData {
    int32_t hWnd;
    uint32_t uID;
    uint32_t uFlags;
    uint32_t uCallbackMessage;
    wchar_t szTip[128];
    uint32_t dwState;
    uint32_t dwStateMask;
    wchar_t szInfo[256];
    uint32_t uTimeoutOrVersion;
    wchar_t szInfoTitle[64];
    uint32_t dwInfoFlags;
    GUID guidItem;
    uint32_t width, height, planes, bpp;
};
static_assert(sizeof(NotifyData) == 960);

std::string logPath;
// A busy shell: it refuses the next balloon, and the program has to try again.
bool refusingABalloon = false;
std::set<std::pair<int32_t, uint32_t>> icons;  // window and uID of each icon held

uint32_t BitmapBytes(uint32_t width, uint32_t height, uint32_t planes, uint32_t bpp) {
    return (planes * width * height * bpp + 15) / 16 * 2;
}

std::string Utf8(const wchar_t* text, size_t capacity) {
    const int length = static_cast<int>(wcsnlen(text, capacity));
    std::string out(length * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), static_cast<int>(out.size()),
                                   nullptr, nullptr));
    return out;
}

// The icon as a 32-bit FNV-1a hash of its bits, the count of opaque pixels, of
// transparent ones that are not black (they would show), and its opaque colours (RRGGBB:count, most frequent first), enough to tell pictures apart.
std::string DescribeIcon(const NotifyData& data, const uint8_t* bits, uint32_t size) {
    if (size == 0)
        return "icon=none";
    uint32_t hash = 2166136261u;
    for (uint32_t i = 0; i < size; ++i)
        hash = (hash ^ bits[i]) * 16777619u;
    char text[512];
    int n = std::snprintf(text, sizeof text, "icon=%ux%ux%u hash=%08x", data.width, data.height,
                          data.bpp, hash);
    const uint32_t maskRow = BitmapBytes(data.width, 1, 1, 1);
    if (data.bpp == 32 && maskRow * data.height <= size) {
        const uint8_t* colorBits = bits + BitmapBytes(data.width, data.height, 1, 1);
        std::map<uint32_t, int> colors;
        int opaque = 0, stray = 0;
        for (uint32_t y = 0; y < data.height; ++y)
            for (uint32_t x = 0; x < data.width; ++x) {
                uint32_t pixel;
                std::memcpy(&pixel, colorBits + 4 * (y * data.width + x), 4);
                // A transparent pixel is XORed onto the taskbar: anything but black shows.
                if (bits[y * maskRow + x / 8] & (0x80 >> (x % 8))) {
                    stray += (pixel & 0xFFFFFF) != 0;
                    continue;
                }
                ++opaque;
                ++colors[pixel & 0xFFFFFF];
            }
        std::multimap<int, uint32_t, std::greater<int>> byCount;
        for (const auto& [color, count] : colors)
            byCount.emplace(count, color);
        n += std::snprintf(text + n, sizeof text - n, " opaque=%d stray=%d colors=", opaque, stray);
        for (const auto& [count, color] : byCount)
            if (n < int(sizeof text) - 16)
                n += std::snprintf(text + n, sizeof text - n, "%06X:%d,", color, count);
    }
    return text;
}

void Log(const std::string& line) {
    if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
        std::fprintf(log, "%s\r\n", line.c_str());
        std::fclose(log);
    }
}

BOOL Handle(const COPYDATASTRUCT& copy) {
    static const char* const kVerbs[] = {"ADD", "MODIFY", "DELETE", "SETFOCUS", "SETVERSION"};
    if (copy.cbData < sizeof(NotifyData)) {
        Log("BAD size " + std::to_string(copy.cbData));
        return FALSE;
    }
    NotifyData data;
    std::memcpy(&data, copy.lpData, sizeof data);
    const auto* bits = static_cast<const uint8_t*>(copy.lpData) + sizeof data;
    const uint32_t bitsSize = copy.cbData - sizeof data;
    if (bitsSize != 0 && bitsSize != BitmapBytes(data.width, data.height, 1, 1) +
                                          BitmapBytes(data.width, data.height, data.planes, data.bpp)) {
        Log("BAD icon size " + std::to_string(bitsSize));
        return FALSE;
    }
    const auto key = std::make_pair(data.hWnd, data.uID);
    const bool held = icons.count(key) != 0;
    BOOL accepted = FALSE;
    switch (copy.dwData) {
        case NIM_ADD: accepted = !held; icons.insert(key); break;
        case NIM_MODIFY: accepted = held; break;
        case NIM_DELETE: accepted = held; icons.erase(key); break;
        default: accepted = held; break;
    }
    // A busy shell times out one balloon's request while it keeps the icon.
    if (refusingABalloon && (data.uFlags & NIF_INFO)) {
        refusingABalloon = false;
        accepted = FALSE;
    }
    char head[160];
    std::snprintf(head, sizeof head, "%s id=%u flags=%u msg=0x%x %s ",
                  copy.dwData < 5 ? kVerbs[copy.dwData] : "OTHER", data.uID, data.uFlags,
                  data.uCallbackMessage, accepted ? "accepted" : "refused");
    // A balloon's text, like a tooltip, may hold blanks: whichever the request carries
    // is the rest of the line.
    if (data.uFlags & NIF_INFO)
        Log(head + DescribeIcon(data, bits, bitsSize) + " infoflags=" + std::to_string(data.dwInfoFlags) +
            " title=" + Utf8(data.szInfoTitle, 64) + " info=" + Utf8(data.szInfo, 256));
    else
        Log(head + DescribeIcon(data, bits, bitsSize) + " tip=" + Utf8(data.szTip, 128));
    return accepted;
}

LRESULT CALLBACK TrayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA)
        return Handle(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 3 && std::strcmp(argv[2], "refuse-balloon") == 0)) {
        std::fprintf(stderr, "usage: traylog LOGFILE [refuse-balloon]\n");
        return 2;
    }
    logPath = argv[1];
    refusingABalloon = argc == 3;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TrayProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&windowClass);
    // Top-level and never shown: found by its class, above Wine's own.
    if (!CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr)) {
        std::fprintf(stderr, "traylog: no window, error %lu\n", GetLastError());
        return 1;
    }
    Log("READY");
    // Shell_NotifyIcon waits for the answer: keep pumping until ended from outside.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
