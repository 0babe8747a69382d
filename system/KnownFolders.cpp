#include "system/KnownFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "system/AppPath.h"

namespace KnownFolders {

namespace {

// The folder a call like GetSystemDirectoryA fills, or "" when it fails.
template <typename Call>
std::string FolderFrom(Call call) {
    char folder[MAX_PATH];
    const UINT length = call(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

}  // namespace

std::string ExecutablePath() {
    std::vector<char> path(MAX_PATH);
    DWORD length = 0;
    // XP neither terminates nor reports a cut path other than by filling the buffer.
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    return std::string(path.data(), length);
}

std::string AppFolder() { return FolderWithBackslash(ExecutablePath()); }

std::string SystemFolder() { return FolderFrom(GetSystemDirectoryA); }

std::string WindowsFolder() { return FolderFrom(GetSystemWindowsDirectoryA); }

std::string StartupFolder() {
    char path[MAX_PATH] = {};
    // Flags 0: the folder's current path. S_FALSE (a folder that does not exist) fails.
    if (SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, path) != S_OK)
        return "";
    return std::string(path, strnlen(path, MAX_PATH));
}

}  // namespace KnownFolders
