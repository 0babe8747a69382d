#pragma once
// The first thing start-up does, before the main window, the settings file, a second
// instance's message or any library loaded at run time: judge the folder that an
// autostart set up earlier runs the program from, and remove an autostart that names
// one others can change.
#include <string>

namespace modStartupCheck {

struct Outcome {
    std::string message;  // for the user; "" when there is nothing to say
    bool end = false;     // the program runs from such a folder itself: it ends
};

// Needs the Windows version read (modSettings::ReadWindowsVersion).
Outcome CheckAutostart();

}  // namespace modStartupCheck
