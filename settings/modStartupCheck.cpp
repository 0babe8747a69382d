#include "settings/modStartupCheck.h"

#include "settings/FolderSafety.h"
#include "settings/StartupVerdict.h"
#include "settings/modFolderSafety.h"
#include "settings/modSettings.h"
#include "settings/modStartupLink.h"
#include "settings/modStartupTask.h"
#include "system/AppPath.h"
#include "system/KnownFolders.h"

namespace modStartupCheck {

Outcome CheckAutostart() {
    using StartupVerdict::Autostart;
    const std::string name = modStartupLink::ExecutableName();
    const bool windows6 = modSettings::IsWindows6OrLater;
    const auto exists = [&](Autostart kind) {
        return kind == Autostart::Task ? modStartupTask::StartupTaskExists(name)
                                       : modStartupLink::StartupLinkExists(name);
    };
    const Autostart inForce = StartupVerdict::InForce(windows6, windows6 && exists(Autostart::Task),
                                                      !windows6 && exists(Autostart::Shortcut));
    if (inForce == Autostart::None)
        return {};
    // Judged by the same rule, never compared as text: a target that cannot be read
    // is taken to be this copy.
    const FolderSafety::Finding own = modFolderSafety::CheckFolder(KnownFolders::AppFolder());
    const std::string target = modStartupLink::AutostartTarget(name);
    const FolderSafety::Finding named = target.empty() ? own : modFolderSafety::CheckFolder(FolderWithBackslash(target));
    const StartupVerdict::Decision decision = StartupVerdict::Decide(inForce, named, own);
    if (decision.remove == Autostart::None)
        return {};
    if (decision.remove == Autostart::Task)
        modStartupTask::DeleteStartupTask(name);
    else
        modStartupLink::RemoveStartupLink(name);
    return {FolderSafety::AutostartRemovedText(named, !exists(decision.remove)), decision.end};
}

}  // namespace modStartupCheck
