#pragma once
// What start-up does about an autostart set up earlier, from the verdicts on the folder
// it names and on the running copy's own folder: decided without OS calls, so that
// every pair is tested natively. An autostart runs the program with administrator
// rights at each log-on without a prompt, so one that names a folder others can change
// is removed; and a copy that runs from such a folder itself ends before it takes
// anything from there.
#include "settings/FolderSafety.h"

namespace StartupVerdict {

enum class Autostart { None, Task, Shortcut };

// The autostart that counts: from Windows 6.0 the scheduled task alone (the shell
// starts no Startup-folder shortcut to a program that asks for administrator rights,
// and that folder is the user's to point anywhere), before it the shortcut.
Autostart InForce(bool windows6OrLater, bool taskExists, bool shortcutExists);

struct Decision {
    Autostart remove = Autostart::None;  // removed, and the user told why
    bool end = false;                    // then the program ends
};

// `autostartFolder` judges the folder the autostart names (the own folder's verdict
// when that cannot be read), `ownFolder` the running copy's.
Decision Decide(Autostart inForce, const FolderSafety::Finding& autostartFolder,
                const FolderSafety::Finding& ownFolder);

}  // namespace StartupVerdict
