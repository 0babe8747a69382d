#include "settings/modFolderSafety.h"

#include <windows.h>

#include <optional>

#include "settings/modSettings.h"
#include "system/Handle.h"
#include "system/SystemLibrary.h"

namespace modFolderSafety {

namespace {

using FolderSafety::Bytes;

// The owner and the DACL as one self-relative descriptor; nothing when unreadable.
std::optional<Bytes> Descriptor(const std::string& path) {
    constexpr SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    Bytes descriptor(512);
    for (int tries = 0; tries < 3; ++tries) {
        DWORD needed = 0;
        if (GetFileSecurityA(path.c_str(), wanted, descriptor.data(), DWORD(descriptor.size()), &needed)) {
            if (needed > 0 && needed < descriptor.size())
                descriptor.resize(needed);
            return descriptor;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= descriptor.size())
            return std::nullopt;
        descriptor.resize(needed);
    }
    return std::nullopt;
}

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FolderSafety::PathObject Object(const std::string& path) {
    return {path, Descriptor(path), IsLink(GetFileAttributesA(path.c_str()))};
}

// Where the users' profiles lie ("C:\Users"), from Windows' own user library.
std::string ProfilesFolder() {
    const Library userenv = LoadSystemLibrary("userenv.dll");
    using GetProfilesDirectory = BOOL(WINAPI*)(LPSTR, LPDWORD);
    const auto get = LibraryFunction<GetProfilesDirectory>(userenv, "GetProfilesDirectoryA");
    char folder[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return get && get(folder, &size) ? std::string(folder) : std::string();
}

}  // namespace

FolderSafety::Trust RunningAccount() {
    FolderSafety::Trust trust;
    trust.windows5 = !modSettings::IsWindows6OrLater;
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return trust;
    const Handle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    Bytes user(size);
    if (size != 0 && GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
        const auto* bytes = static_cast<const uint8_t*>(sid);
        trust.account.assign(bytes, bytes + GetLengthSid(sid));
    }
    // TokenElevationType (18): Windows 6.0 and later; Windows 5.x answers no.
    constexpr auto kTokenElevationType = static_cast<TOKEN_INFORMATION_CLASS>(18);
    DWORD type = 0;
    const bool known = GetTokenInformation(token.get(), kTokenElevationType, &type, sizeof type, &size) != FALSE;
    trust.accountTrusted = FolderSafety::AccountIsTrusted(modSettings::IsWindows6OrLater,
                                                          known ? std::optional<uint32_t>(type) : std::nullopt);
    return trust;
}

FolderSafety::Finding CheckFolder(const std::string& folder, const std::string& exeName,
                                  FolderSafety::Reading reading) {
    FolderSafety::FolderFacts facts;
    facts.folder = folder;
    char volume[MAX_PATH] = {};
    if (GetVolumePathNameA(folder.c_str(), volume, MAX_PATH)) {
        facts.volume = volume;
        facts.driveType = GetDriveTypeA(volume);
    }
    const std::vector<std::string> above = FolderSafety::FoldersAbove(folder, facts.volume);
    // Named without the trailing backslash, as any other file object; a root keeps it
    // ("C:" alone is the current folder on that drive).
    facts.self = Object(above.empty() ? folder : folder.substr(0, folder.size() - 1));
    for (const std::string& name : FolderSafety::LoadedFiles(exeName)) {
        const std::string path = folder + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        // A folder of that name is never loaded or run.
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            facts.files.push_back(Object(path));
    }
    for (const std::string& path : above)
        facts.above.push_back(Object(path));
    if (modSettings::IsWindows6OrLater) {
        const std::string profiles = ProfilesFolder();
        facts.inUserProfile = !profiles.empty() && FolderSafety::IsInside(folder, profiles);
    }
    return FolderSafety::Judge(facts, RunningAccount(), reading);
}

}  // namespace modFolderSafety
