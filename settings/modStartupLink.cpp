#include "settings/modStartupLink.h"

#include <shlobj.h>

#include <cstring>

#include "settings/LinkTarget.h"
#include "settings/modSettings.h"
#include "settings/modStartupTask.h"
#include "system/AppPath.h"
#include "system/ComObjects.h"
#include "system/Files.h"
#include "system/KnownFolders.h"

namespace modStartupLink {

bool AutostartEnabled = false;

std::string ExecutableName() { return ::ExecutableName(KnownFolders::ExecutablePath()); }

HRESULT CreateStartupLink(const std::string& name, const std::string& folder) {
    const std::string startup = KnownFolders::StartupFolder();
    if (startup.empty())
        return E_FAIL;
    const ComApartment apartment;  // declared first: left after the objects are released
    if (!apartment.usable())
        return apartment.result();
    ComPtr<IShellLinkA> link;
    HRESULT result = ComLibrary::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, link.put());
    if (FAILED(result))
        return result;
    const std::string target = AddBackslash(folder) + name + ".exe";
    // SW_SHOWNOACTIVATE (4): in its last size and place, without taking the focus.
    for (const HRESULT set : {link->SetPath(target.c_str()), link->SetDescription(name.c_str()),
                              link->SetWorkingDirectory(folder.c_str()),
                              link->SetShowCmd(SW_SHOWNOACTIVATE)})
        if (FAILED(set))
            return set;
    ComPtr<IPersistFile> file;
    if (FAILED(result = link->QueryInterface(IID_IPersistFile, file.put())))
        return result;
    return file->Save(WideText(StartupLinkPath(startup, name)).c_str(), TRUE);
}

void RemoveStartupLink(const std::string& name) {
    const std::string startup = KnownFolders::StartupFolder();
    if (!startup.empty())
        DeleteFileA(StartupLinkPath(startup, name).c_str());
}

bool StartupLinkExists(const std::string& name) {
    const std::string startup = KnownFolders::StartupFolder();
    return !startup.empty() && OrdinaryFileExists(StartupLinkPath(startup, name));
}

HRESULT UpdateStartupLink(const std::string& name, const std::string& folder, bool enabled) {
    if (StartupLinkExists(name)) {
        if (!enabled)
            RemoveStartupLink(name);
        return S_OK;
    }
    return enabled ? CreateStartupLink(name, folder) : S_OK;
}

bool AutostartExists(const std::string& name) {
    return modSettings::IsWindows6OrLater ? modStartupTask::StartupTaskExists(name) : StartupLinkExists(name);
}

std::string AutostartTarget(const std::string& name) {
    if (modSettings::IsWindows6OrLater)
        return modStartupTask::StartupTaskCommand(name);
    const std::string startup = KnownFolders::StartupFolder();
    if (startup.empty() || !StartupLinkExists(name))
        return "";
    // A shortcut is a few kilobytes: a larger file is not one of ours.
    const auto bytes = ReadWholeFile(StartupLinkPath(startup, name), 1 << 16);
    return bytes ? LinkTarget(*bytes) : "";
}

// From Windows 6.0 the shell skips, without a word, a Startup-folder shortcut to a
// program that asks for administrator rights, as this one does: the task starts it.
// The Startup folder is then left alone: it lies in the user's profile, where a program
// running as the user can point it, or the shortcut's name, at any file.
HRESULT UpdateAutostart(const std::string& name, const std::string& folder, bool enabled) {
    if (!modSettings::IsWindows6OrLater)
        return UpdateStartupLink(name, folder, enabled);
    if (!enabled) {
        modStartupTask::DeleteStartupTask(name);
        return S_OK;
    }
    return modStartupTask::RegisterStartupTask(name, folder);
}

}  // namespace modStartupLink
