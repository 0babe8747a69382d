// For scripts/bench --history: opens the running vantu's history window from its menu
// command and chooses its 24-hour view, as a user would leave it open on a desk.
// Ends with 0 once the view is chosen, 1 when vantu or the window did not come.
#include <windows.h>

#include "resources/resource.h"

int main() {
    HWND main = nullptr, history = nullptr;
    for (int tries = 0; tries < 600 && !(main = FindWindowA("vantu.frmMain", "Main")); ++tries)
        Sleep(100);
    if (!main)
        return 1;
    PostMessageA(main, WM_COMMAND, IDM_HISTORY, 0);
    for (int tries = 0; tries < 600 && !(history = FindWindowA(nullptr, "vantu history")); ++tries)
        Sleep(100);
    if (!history)
        return 1;
    SendMessageA(GetDlgItem(history, IDC_OPTSPAN24HOURS), BM_CLICK, 0, 0);
    return 0;
}
