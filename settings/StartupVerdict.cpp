#include "settings/StartupVerdict.h"

namespace StartupVerdict {

Autostart InForce(bool windows6OrLater, bool taskExists, bool shortcutExists) {
    if (windows6OrLater)
        return taskExists ? Autostart::Task : Autostart::None;
    return shortcutExists ? Autostart::Shortcut : Autostart::None;
}

// A start by hand from an unsafe folder, with no unsafe autostart, is the user's own
// decision: it goes on.
Decision Decide(Autostart inForce, const FolderSafety::Finding& autostartFolder,
                const FolderSafety::Finding& ownFolder) {
    if (inForce == Autostart::None || !autostartFolder.unsafe())
        return {};
    return {inForce, ownFolder.unsafe()};
}

}  // namespace StartupVerdict
