#include "dialogs/frmAbout.h"

#include <shellapi.h>

#include <string>

#include "dialogs/AboutLinks.h"
#include "dialogs/ModalDialog.h"
#include "resources/resource.h"
#include "settings/modFolderSafety.h"
#include "settings/modSettings.h"
#include "system/GdiHandles.h"
#include "system/KnownFolders.h"
#include "system/SystemLibrary.h"
#include "system/UserShell.h"

namespace frmAbout {

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 255);

struct AboutDialog {
    HWND hwnd = nullptr;
    std::string machineLine;
    Gdi::Object linkFont;  // "MS Sans Serif" 8.25 points, underlined
} dialog;

// Major and minor of the file version in the program's version resource. Its library
// is loaded from the system folder for the moment: imported, it would be looked for
// beside the program first, before the program could say where from.
std::string VersionLine() {
    std::string line = std::string(modSettings::AppTitle) + " version ";
    const Library version = LoadSystemLibrary("version.dll");
    const auto infoSize = LibraryFunction<decltype(&GetFileVersionInfoSizeA)>(version, "GetFileVersionInfoSizeA");
    const auto getInfo = LibraryFunction<decltype(&GetFileVersionInfoA)>(version, "GetFileVersionInfoA");
    const auto query = LibraryFunction<decltype(&VerQueryValueA)>(version, "VerQueryValueA");
    if (!infoSize || !getInfo || !query)
        return line;
    const std::string path = KnownFolders::ExecutablePath();
    DWORD ignored = 0;
    std::string data(infoSize(path.c_str(), &ignored), '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !getInfo(path.c_str(), 0, DWORD(data.size()), data.data()) ||
        !query(data.data(), "\\", reinterpret_cast<void**>(&info), &size) || !info)
        return line;
    return line + std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS));
}

// A browser started by this program would run with its administrator rights: where
// the user's own programs run without them (UAC), the desktop's shell opens the
// address, and failing that it is shown to be copied.
void Open(const char* address) {
    if (modFolderSafety::RunningAccount().accountTrusted) {
        ShellExecuteA(dialog.hwnd, "open", address, "", "", SW_SHOWNORMAL);
        return;
    }
    if (!UserShell::OpenThroughTheDesktop(address))
        MessageBoxA(dialog.hwnd,
                    (std::string("Open this address in your browser (Ctrl+C copies this message):\r\n\r\n") + address)
                        .c_str(),
                    modSettings::AppTitle, MB_OK);
}

void Form_Load() {
    SetWindowTextA(dialog.hwnd, (std::string("About ") + modSettings::AppTitle).c_str());
    SendMessageA(dialog.hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CHIP))));
    SetDlgItemTextA(dialog.hwnd, IDC_LBLVERSION, VersionLine().c_str());
    SetDlgItemTextA(dialog.hwnd, IDC_LBLAUTHOR, (std::string("by ") + AboutLinks::Author).c_str());
    SetDlgItemTextA(dialog.hwnd, IDC_LBLSITE, AboutLinks::Site);
    SetDlgItemTextA(dialog.hwnd, IDC_LBLMACHINE, dialog.machineLine.c_str());
    const HDC screen = GetDC(dialog.hwnd);
    const int height = -MulDiv(825, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(dialog.hwnd, screen);
    dialog.linkFont = Gdi::Object(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, ANSI_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH, "MS Sans Serif"));
}

// The site address drawn as a link: blue, underlined, centred, with the focus shown.
void DrawLink(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const Gdi::Selection font(dc, dialog.linkFont.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLinkColor);
    RECT text = item.rcItem;
    DrawTextA(dc, AboutLinks::Site, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
}

INT_PTR CALLBACK AboutProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            dialog.hwnd = hwnd;
            Form_Load();
            return TRUE;
        case WM_DRAWITEM:
            if (wParam == IDC_LBLSITE) {
                DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == GetDlgItem(hwnd, IDC_LBLSITE)) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            break;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_LBLSITE: Open(AboutLinks::Site); return TRUE;
                case IDC_BUTDONATE: Open(AboutLinks::Donate); return TRUE;
                case IDOK:
                case IDCANCEL: EndDialog(hwnd, IDOK); return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

void Show(HWND owner, const std::string& machineLine) {
    if (!dialog.hwnd)
        dialog.machineLine = machineLine;
    if (ShowModalOnce(dialog.hwnd, IDD_ABOUT, owner, AboutProc))
        dialog.linkFont.Close();
}

}  // namespace frmAbout
