#include "settings/modFolderSafety.h"

#include <windows.h>
#include <winioctl.h>

#include <optional>

#include "settings/modSettings.h"
#include "system/ComObjects.h"
#include "system/Handle.h"
#include "system/SystemLibrary.h"

namespace modFolderSafety {

namespace {

using FolderSafety::Bytes;
using FolderSafety::PathObject;

// The owner and the DACL as one self-relative descriptor; nothing when unreadable.
std::optional<Bytes> Descriptor(const std::wstring& path) {
    constexpr SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    Bytes descriptor(512);
    for (int tries = 0; tries < 3; ++tries) {
        DWORD needed = 0;
        if (GetFileSecurityW(path.c_str(), wanted, descriptor.data(), DWORD(descriptor.size()), &needed)) {
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

// `path` names the object in messages, `wide` for the calls.
PathObject Object(const std::string& path, const std::wstring& wide, DWORD attributes) {
    const bool known = attributes != INVALID_FILE_ATTRIBUTES;
    return {path, Descriptor(wide), known && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
            known && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

PathObject Object(const std::string& path) {
    const std::wstring wide = WideText(path);
    return Object(path, wide, GetFileAttributesW(wide.c_str()));
}

std::string Narrow(const wchar_t* text) {
    char narrow[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    return narrow;
}

// Every entry of a folder (`folder` names it for messages, `wide` for the calls, each
// with one trailing backslash), hidden and system ones too, by their wide names, so
// that no name the code page cannot spell is passed over; in subfolders one level
// down. False when the folder cannot be listed.
bool ListEntries(const std::string& folder, const std::wstring& wide, std::vector<PathObject>& entries,
                 bool subfolders) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((wide + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        PathObject entry = Object(folder + Narrow(name.c_str()), wide + name, found.dwFileAttributes);
        const bool list = subfolders && entry.folder && !entry.link;
        if (list && !ListEntries(entry.path + "\\", wide + name + L"\\", entries, false))
            entry.descriptor.reset();  // what lies in it could not be checked
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search, &found));
    const bool listed = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return listed;
}

// Whether the volume's disk hangs on a USB bus: Windows reports many USB disks as
// fixed, and they can be unplugged and rewritten on another machine.
bool OnUsb(const std::string& volume) {
    char name[MAX_PATH] = {};
    if (!GetVolumeNameForVolumeMountPointA(volume.c_str(), name, MAX_PATH))
        return false;
    std::string device = name;
    if (!device.empty() && device.back() == '\\')
        device.pop_back();  // the volume itself, not its root folder
    const Handle handle(CreateFileA(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    if (!handle)
        return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    DWORD got = 0;
    return DeviceIoControl(handle.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor,
                           sizeof descriptor, &got, nullptr) &&
           got >= offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof descriptor.BusType &&
           descriptor.BusType == BusTypeUsb;
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

FolderSafety::Finding CheckFolder(const std::string& folder) {
    FolderSafety::FolderFacts facts;
    facts.folder = folder;
    char volume[MAX_PATH] = {};
    if (GetVolumePathNameA(folder.c_str(), volume, MAX_PATH)) {
        facts.volume = volume;
        facts.driveType = GetDriveTypeA(volume);
        DWORD flags = 0;
        if (GetVolumeInformationA(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
            facts.volumeFlags = flags;
        facts.usb = OnUsb(volume);
    }
    const std::vector<std::string> above = FolderSafety::FoldersAbove(folder, facts.volume);
    // Named without the trailing backslash, as any other file object; a root keeps it
    // ("C:" alone is the current folder on that drive).
    facts.self = Object(above.empty() ? folder : folder.substr(0, folder.size() - 1));
    if (!ListEntries(folder, WideText(folder), facts.entries, true))
        facts.self.descriptor.reset();
    for (const std::string& path : above)
        facts.above.push_back(Object(path));
    if (modSettings::IsWindows6OrLater) {
        const std::string profiles = ProfilesFolder();
        facts.inUserProfile = !profiles.empty() && FolderSafety::IsInside(folder, profiles);
    }
    return FolderSafety::Judge(facts, RunningAccount());
}

}  // namespace modFolderSafety
