#pragma once
// The history window: a chart of the recorded ticks over a chosen span, following
// them live, and their CSV text copied or saved. One at most; not modal.
#include <windows.h>

namespace frmHistory {

// Opens the window, or brings the open one to the front.
void Show();

// A tick was recorded: the open window shows it.
void TicksChanged();

// The window's keyboard (Tab, access keys, Esc) for a message of the program's loop;
// true when the message was the window's.
bool PreTranslateMessage(MSG& message);

// Closes the window, at the program's end.
void Close();

}  // namespace frmHistory
