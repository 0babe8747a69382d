#include "app/frmHistory.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/HistoryChartView.h"
#include "app/frmMain.h"
#include "app/modHistory.h"
#include "resources/resource.h"
#include "settings/modFolderSafety.h"
#include "settings/modSettings.h"
#include "system/SystemLibrary.h"
#include "system/modShellToken.h"

namespace frmHistory {

namespace {

constexpr struct {
    int id;
    int64_t seconds;
} kSpans[] = {{IDC_OPTSPAN10MIN, 600}, {IDC_OPTSPAN1HOUR, 3600}, {IDC_OPTSPAN24HOURS, 86400}};
constexpr int kBottomControls[] = {IDC_OPTSPAN10MIN, IDC_OPTSPAN1HOUR, IDC_OPTSPAN24HOURS, IDC_BUTCOPY, IDC_BUTSAVEAS};
constexpr int kRightControls[] = {IDC_BUTCOPY, IDC_BUTSAVEAS};
constexpr wchar_t kDefaultFileName[] = L"vantu-history.csv";
// Room for a path of the longest length Windows knows, not the 260 characters of old.
constexpr DWORD kPathRoom = 32768;

struct HistoryWindow {
    HWND hwnd = nullptr;
    int spanId = IDC_OPTSPAN1HOUR;  // kept from one opening to the next
    SIZE designed{};               // the client size the layout was designed for
    SIZE smallest{};               // the window size it opens with: no smaller
    HHOOK keys = nullptr;          // its keyboard inside other dialogs' modal loops
} window;

// The configuration and About dialogs and the message boxes run modal loops of their own,
// which pass no message through the program's loop: its keys reach the window here.
LRESULT CALLBACK ModalLoopMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && window.hwnd && IsDialogMessageA(window.hwnd, reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(window.keys, code, wParam, lParam);
}

void ShowMessage(const std::string& text) { MessageBoxA(window.hwnd, text.c_str(), modSettings::AppTitle, MB_OK); }

HWND Control(int id) { return GetDlgItem(window.hwnd, id); }

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The controls keep their sizes and their distance from the bottom (the buttons from
// the right too); the chart takes what is left.
void Form_Resize(int width, int height) {
    if (!window.hwnd || width == 0 || height == 0)
        return;  // not laid out yet, or minimised
    const int dx = width - window.designed.cx, dy = height - window.designed.cy;
    window.designed = {width, height};
    HDWP batch = BeginDeferWindowPos(6);
    for (int id : kBottomControls) {
        const RECT r = ClientRectOf(Control(id));
        const bool right = id == kRightControls[0] || id == kRightControls[1];
        batch = batch ? DeferWindowPos(batch, Control(id), nullptr, r.left + (right ? dx : 0), r.top + dy, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                      : nullptr;
    }
    const RECT chart = ClientRectOf(Control(IDC_CHART));
    if (batch)
        batch = DeferWindowPos(batch, Control(IDC_CHART), nullptr, 0, 0, chart.right - chart.left + dx,
                               chart.bottom - chart.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (batch)
        EndDeferWindowPos(batch);
    // The radio buttons and buttons leave their old place: the dialog paints it over.
    InvalidateRect(window.hwnd, nullptr, TRUE);
}

void ChooseSpan(int id) {
    for (const auto& span : kSpans)
        if (span.id == id) {
            window.spanId = id;
            HistoryChartView::SetSpan(Control(IDC_CHART), span.seconds);
        }
}

std::string HistoryCsv() { return TickHistory::CsvText(modHistory::Ticks(), modHistory::LocalTimeNow()); }

void butCopy_Click() {
    const std::string csv = HistoryCsv();
    bool copied = false;
    if (OpenClipboard(window.hwnd)) {
        EmptyClipboard();
        if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, csv.size() + 1)) {
            if (void* bytes = GlobalLock(memory)) {
                std::memcpy(bytes, csv.c_str(), csv.size() + 1);
                GlobalUnlock(memory);
                copied = SetClipboardData(CF_TEXT, memory) != nullptr;
            }
            if (!copied)
                GlobalFree(memory);  // the clipboard owns it only once it took it
        }
        CloseClipboard();
    }
    if (!copied)
        ShowMessage("The history could not be put on the clipboard.");
}

// The common dialog's library only while it is asked: it is rarely used. Wide, so that
// a name of any characters comes back as typed, not mapped to the code page; "" when
// cancelled or failed.
std::wstring AskFileName() {
    const Library comdlg = LoadSystemLibrary("comdlg32.dll");
    const auto getSaveFileName = LibraryFunction<decltype(&GetSaveFileNameW)>(comdlg, "GetSaveFileNameW");
    if (!getSaveFileName)
        return L"";
    std::wstring path(kPathRoom, L'\0');
    path.replace(0, std::size(kDefaultFileName) - 1, kDefaultFileName);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window.hwnd;
    dialog.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathRoom;
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!getSaveFileName(&dialog))
        return L"";
    path.resize(path.find(L'\0'));
    return path;
}

// The EC has the fan while the Save runs, the dialog and the file work: browsing or
// writing to a network share that has dropped waits out the network's time-out in the
// dialog or in a file call, tens of seconds with no tick, and nothing would hand the fan
// to the EC at the critical temperature. The chosen mode comes back with the next tick.
struct FanHeldAtEc {
    FanHeldAtEc() { frmMain::HoldFanWhileSaving(true); }
    ~FanHeldAtEc() { frmMain::HoldFanWhileSaving(false); }
    FanHeldAtEc(const FanHeldAtEc&) = delete;
    FanHeldAtEc& operator=(const FanHeldAtEc&) = delete;
};

// Written as the settings are: whole or not at all, any older file left whole; and
// where the user's own programs run without administrator rights, with the rights of
// the desktop's user, since the folder is the user's choice and may be theirs to
// change between two steps of the save.
void butSaveAs_Click() {
    modShellToken::Result result;
    std::wstring path;
    {
        const FanHeldAtEc held;
        path = AskFileName();
        // The program may have ended while the dialog was open: then nothing is written.
        if (path.empty() || !window.hwnd)
            return;
        const bool splitToken = !modFolderSafety::RunningAccount().accountTrusted;
        result = modShellToken::ReplaceAsUser(path, HistoryCsv(), splitToken);
    }
    if (result.saved)
        return;
    const std::string missing = ShellToken::Missing(result.verdict), title = modSettings::AppTitle;
    const std::wstring text =
        missing.empty() ? L"The history could not be saved to " + path + L"."
                        : L"The history was not saved to " + path +
                              L": vantu writes it with the rights of the desktop's user, and " +
                              std::wstring(missing.begin(), missing.end()) + L".";
    MessageBoxW(window.hwnd, text.c_str(), std::wstring(title.begin(), title.end()).c_str(), MB_OK);
}

void Form_Load(HWND hwnd) {
    window.hwnd = hwnd;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const WPARAM size : {ICON_SMALL, ICON_BIG})
        SendMessageA(hwnd, WM_SETICON, size, reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_CHIP))));
    RECT client{}, outer{};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &outer);
    window.designed = {client.right, client.bottom};
    window.smallest = {outer.right - outer.left, outer.bottom - outer.top};
    CheckRadioButton(hwnd, IDC_OPTSPAN10MIN, IDC_OPTSPAN24HOURS, window.spanId);
    ChooseSpan(window.spanId);
}

void OnCommand(int id) {
    switch (id) {
        case IDCANCEL: DestroyWindow(window.hwnd); break;  // Esc, the close box
        case IDC_BUTCOPY: butCopy_Click(); break;
        case IDC_BUTSAVEAS: butSaveAs_Click(); break;
        default: ChooseSpan(id); break;
    }
}

INT_PTR CALLBACK HistoryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Form_Load(hwnd);
            return TRUE;  // the focus goes to the first control
        case WM_SIZE:
            Form_Resize(LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        case WM_GETMINMAXINFO:
            if (window.smallest.cx)
                reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {window.smallest.cx, window.smallest.cy};
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED)
                OnCommand(LOWORD(wParam));
            return TRUE;
        case WM_NCDESTROY:
            window.hwnd = nullptr;
            UnhookWindowsHookEx(window.keys);
            window.keys = nullptr;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

void Show() {
    if (window.hwnd) {
        if (IsIconic(window.hwnd))
            ShowWindow(window.hwnd, SW_RESTORE);
        SetForegroundWindow(window.hwnd);
        return;
    }
    HistoryChartView::RegisterChartClass();
    // No owner: a window of its own in the taskbar, open beside the others.
    if (!CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HISTORY), nullptr, HistoryProc, 0))
        return;
    window.keys = SetWindowsHookExA(WH_MSGFILTER, ModalLoopMessage, nullptr, GetCurrentThreadId());
    ShowWindow(window.hwnd, SW_SHOW);
    SetForegroundWindow(window.hwnd);
}

// A minimised window draws nothing: restored, it is painted anew anyway.
void TicksChanged() {
    if (window.hwnd && !IsIconic(window.hwnd))
        InvalidateRect(Control(IDC_CHART), nullptr, FALSE);
}

bool PreTranslateMessage(MSG& message) {
    return window.hwnd && IsDialogMessageA(window.hwnd, &message);
}

void Close() {
    if (window.hwnd)
        DestroyWindow(window.hwnd);
}

}  // namespace frmHistory
