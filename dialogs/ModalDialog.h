#pragma once
// A dialog of the resources shown modally, at most once at a time: while it is open a
// second request brings it to the front instead. `open` is the dialog's own handle,
// which its procedure sets in WM_INITDIALOG; empty when the call does not show it.
#include <windows.h>

#include <optional>

inline std::optional<INT_PTR> ShowModalOnce(HWND& open, int id, HWND owner, DLGPROC procedure) {
    if (open) {
        SetForegroundWindow(open);
        return std::nullopt;
    }
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner,
                                           procedure, 0);
    open = nullptr;
    return result;
}
