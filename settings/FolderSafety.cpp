#include "settings/FolderSafety.h"

#include <algorithm>
#include <initializer_list>
#include <span>

namespace FolderSafety {

namespace {

using Span = std::span<const uint8_t>;

constexpr uint32_t WriteData = 0x2, AppendData = 0x4, DeleteChild = 0x40, Delete = 0x10000,
                   WriteDac = 0x40000, WriteOwner = 0x80000;
constexpr uint32_t GenericAll = 0x10000000, GenericWrite = 0x40000000;
constexpr uint32_t FileGenericWrite = 0x120116, FileAllAccess = 0x1F01FF;
// Write or append data (add a file or a subfolder), delete, change the DACL or the
// owner: each replaces a file, or opens it to whoever wants to.
constexpr uint32_t ChangesFile = WriteData | AppendData | Delete | WriteDac | WriteOwner;
// A folder also through delete-child, which removes a file whatever its own DACL says.
constexpr uint32_t ChangesFolder = ChangesFile | DeleteChild;
// Above the folder, adding files is harmless; renaming, deleting or re-permissioning a
// folder, or deleting the one below it, lets the whole path be built anew.
constexpr uint32_t ChangesFolderAbove = DeleteChild | Delete | WriteDac | WriteOwner;
constexpr uint32_t ChangesRoot = DeleteChild | WriteDac | WriteOwner;  // a root cannot be deleted

constexpr uint16_t SelfRelative = 0x8000, DaclPresent = 0x4;
constexpr uint8_t InheritOnly = 0x08;

Bytes MakeSid(uint8_t authority, std::initializer_list<uint32_t> subAuthorities) {
    Bytes sid{1, static_cast<uint8_t>(subAuthorities.size()), 0, 0, 0, 0, 0, authority};
    for (const uint32_t sub : subAuthorities)
        for (int shift = 0; shift < 32; shift += 8)
            sid.push_back(static_cast<uint8_t>(sub >> shift));
    return sid;
}

const Bytes System = MakeSid(5, {18}), Administrators = MakeSid(5, {32, 544}), PowerUsers = MakeSid(5, {32, 547}),
            TrustedInstaller = MakeSid(5, {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464});

bool Same(Span a, Span b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

uint32_t Read(Span bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = value << 8 | bytes[at + i];
    return value;
}

// The SID at `at`, ending at or before `end`; nothing when it does not fit or is not one.
std::optional<Span> SidAt(Span bytes, size_t at, size_t end) {
    if (at > end || end - at < 8 || bytes[at] != 1 || bytes[at + 1] > 15)
        return std::nullopt;
    const size_t length = 8 + 4 * size_t(bytes[at + 1]);
    if (end - at < length)
        return std::nullopt;
    return bytes.subspan(at, length);
}

// Generic rights as they take effect on a file or folder, for allow and deny alike.
uint32_t Mapped(uint32_t mask) {
    if (mask & GenericWrite)
        mask |= FileGenericWrite;
    if (mask & GenericAll)
        mask |= FileAllAccess;
    return mask;
}

// Who, apart from the trusted, may change an object.
struct Changers {
    bool others = false, account = false;
    void Add(Span sid, const Trust& trust) {
        for (const Bytes* trusted : {&System, &Administrators, &TrustedInstaller})
            if (Same(sid, *trusted))
                return;
        if (trust.windows5 && Same(sid, PowerUsers))
            return;
        if (Same(sid, trust.account))
            account = account || !trust.accountTrusted;
        else
            others = true;
    }
    bool any() const { return others || account; }
};

// A SID's rights so far, entry by entry in Windows' order: a right once denied is not
// granted by a later allow, one once granted is not taken by a later deny.
struct SidRights {
    Span sid;
    uint32_t denied = 0, allowed = 0;
};

enum class Effect { Allow, Deny, None };

struct AceLayout {
    Effect effect;
    bool object;  // an object entry: flags and GUIDs before the SID
};

// Allow entries of any form count (a callback's condition may hold); a deny counts
// only when plain (a condition may fail, an object type may not be this one). Audit,
// alarm, label and attribute entries give no access. Nothing for a type not known.
std::optional<AceLayout> Layout(uint8_t type) {
    switch (type) {
        case 0x00: case 0x09: return AceLayout{Effect::Allow, false};
        case 0x05: case 0x0B: return AceLayout{Effect::Allow, true};
        case 0x01: return AceLayout{Effect::Deny, false};
        case 0x02: case 0x03: case 0x06: case 0x07: case 0x08: case 0x0A:
        case 0x0C: case 0x0D: case 0x0E: case 0x0F: case 0x10:
        case 0x11: case 0x12: case 0x13: case 0x14: case 0x15:
            return AceLayout{Effect::None, false};
        default: return std::nullopt;
    }
}

// Who may take `rights` on an object, from its self-relative descriptor: its owner
// (who can always rewrite the DACL) and every SID its DACL allows one of them. Nothing
// when the descriptor cannot be read; no DACL at all lets everyone in.
std::optional<Changers> ChangersOf(Span sd, uint32_t rights, const Trust& trust) {
    if (sd.size() < 20 || sd[0] != 1)
        return std::nullopt;
    const uint32_t control = Read(sd, 2, 2), ownerAt = Read(sd, 4, 4), daclAt = Read(sd, 16, 4);
    if (!(control & SelfRelative) || ownerAt == 0)
        return std::nullopt;
    const auto owner = SidAt(sd, ownerAt, sd.size());
    if (!owner)
        return std::nullopt;
    Changers changers;
    changers.Add(*owner, trust);
    if (!(control & DaclPresent) || daclAt == 0) {
        changers.others = true;
        return changers;
    }
    if (daclAt > sd.size() || sd.size() - daclAt < 8)
        return std::nullopt;
    const size_t aclEnd = daclAt + Read(sd, daclAt + 2, 2), count = Read(sd, daclAt + 4, 2);
    if (aclEnd > sd.size())
        return std::nullopt;
    std::vector<SidRights> sids;
    size_t at = daclAt + 8;
    for (size_t entry = 0; entry < count; ++entry) {
        if (at > aclEnd || aclEnd - at < 4)
            return std::nullopt;
        const size_t aceEnd = at + Read(sd, at + 2, 2);
        const auto layout = Layout(sd[at]);
        if (aceEnd > aclEnd || aceEnd < at + 4 || !layout)
            return std::nullopt;
        const bool inheritOnly = sd[at + 1] & InheritOnly;
        if (layout->effect != Effect::None && !inheritOnly) {
            if (aceEnd - at < 8)
                return std::nullopt;
            const uint32_t mask = Mapped(Read(sd, at + 4, 4));
            size_t sidAt = at + 8;
            if (layout->object) {
                if (aceEnd - at < 12)
                    return std::nullopt;
                const uint32_t flags = Read(sd, at + 8, 4);
                sidAt = at + 12 + (flags & 1 ? 16 : 0) + (flags & 2 ? 16 : 0);
            }
            const auto sid = SidAt(sd, sidAt, aceEnd);
            if (!sid)
                return std::nullopt;
            auto rightsOf = std::find_if(sids.begin(), sids.end(), [&](const SidRights& r) { return Same(r.sid, *sid); });
            if (rightsOf == sids.end())
                rightsOf = sids.insert(sids.end(), SidRights{*sid});
            if (layout->effect == Effect::Deny)
                rightsOf->denied |= mask;
            else
                rightsOf->allowed |= mask & ~rightsOf->denied;
        }
        at = aceEnd;
    }
    for (const SidRights& r : sids)
        if (r.allowed & rights)
            changers.Add(r.sid, trust);
    return changers;
}

// The finding for one object, nothing when it is safe; what cannot be read is unsafe.
std::optional<Finding> Check(const PathObject& object, uint32_t rights, Cause cause, const Trust& trust) {
    const auto changers = object.descriptor ? ChangersOf(*object.descriptor, rights, trust) : std::nullopt;
    if (!changers)
        return Finding{cause, object.path, false, true};
    if (!changers->any())
        return std::nullopt;
    return Finding{cause, object.path, !changers->others};
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string WithBackslash(std::string_view path) {
    std::string text(path);
    if (text.empty() || text.back() != '\\')
        text += '\\';
    return text;
}

}  // namespace

bool AccountIsTrusted(bool windows6OrLater, std::optional<uint32_t> elevationType) {
    constexpr uint32_t TokenElevationTypeDefault = 1;
    return !windows6OrLater || elevationType == TokenElevationTypeDefault;
}

Finding Judge(const FolderFacts& facts, const Trust& trust) {
    // The Task Scheduler expands variables in a task's command.
    if (facts.folder.find('%') != std::string::npos)
        return {Cause::NotPlainPath, facts.folder};
    const std::string& volume = facts.volume.empty() ? facts.folder : facts.volume;
    if (facts.driveType != DriveFixed || facts.usb)
        return {Cause::NotFixedDrive, volume};
    if (!facts.volumeFlags || !(*facts.volumeFlags & PersistentAcls))
        return {Cause::NoPermissions, volume};
    // A link leads elsewhere than the path that was judged. A root is its volume's own.
    if (facts.self.link && !facts.above.empty())
        return {Cause::NotPlainPath, facts.self.path};
    for (const PathObject& entry : facts.entries)
        if (entry.link)
            return {Cause::NotPlainPath, entry.path};
    for (size_t i = 0; i + 1 < facts.above.size(); ++i)
        if (facts.above[i].link)
            return {Cause::NotPlainPath, facts.above[i].path};

    if (const auto found = Check(facts.self, ChangesFolder, Cause::Changeable, trust))
        return *found;
    for (const PathObject& entry : facts.entries)
        if (const auto found = Check(entry, entry.folder ? ChangesFolder : ChangesFile, Cause::Changeable, trust))
            return *found;
    for (size_t i = 0; i < facts.above.size(); ++i) {
        const uint32_t rights = i + 1 < facts.above.size() ? ChangesFolderAbove : ChangesRoot;
        if (const auto found = Check(facts.above[i], rights, Cause::FolderAbove, trust))
            return *found;
    }
    if (facts.inUserProfile)
        return {Cause::UserProfile, facts.folder, true};
    return {};
}

std::vector<std::string> FoldersAbove(std::string_view folder, std::string_view volume) {
    const std::string root = WithBackslash(volume);
    std::vector<std::string> above;
    if (!IsInside(folder, root))
        return above;
    std::string path(folder);
    if (path.size() > root.size() && path.back() == '\\')
        path.pop_back();
    while (path.size() > root.size()) {
        const size_t cut = path.find_last_of('\\');
        path = cut == std::string::npos || cut < root.size() ? root : path.substr(0, cut);
        above.push_back(path);
    }
    return above;
}

bool IsInside(std::string_view path, std::string_view folder) {
    const std::string inner = WithBackslash(path), outer = WithBackslash(folder);
    return inner.size() >= outer.size() &&
           std::equal(outer.begin(), outer.end(), inner.begin(), [](char a, char b) { return Lower(a) == Lower(b); });
}

namespace {

// The message's first line, before the path.
const char* FirstLine(const Finding& finding) {
    const bool own = finding.accountOnly;
    switch (finding.cause) {
        case Cause::Changeable:
            return finding.unchecked ? "vantu could not check who can change this folder, or something in it:"
                   : own ? "Programs that you run without administrator rights can change this folder, or something in it:"
                         : "Users who are not administrators can change this folder, or something in it:";
        case Cause::FolderAbove:
            return finding.unchecked ? "vantu could not check who can rename or replace this folder above the one it runs from:"
                   : own ? "Programs that you run without administrator rights can rename or replace this folder above "
                           "the one vantu runs from:"
                         : "Users who are not administrators can rename or replace this folder above the one vantu runs "
                           "from:";
        case Cause::NotPlainPath:
            return "The path vantu runs from goes through a junction, a symbolic link or a mount point, or holds a %:";
        case Cause::NotFixedDrive:
            return "vantu runs from a drive that is not a fixed disk of this computer (a removable drive, a USB disk or "
                   "a network share):";
        case Cause::NoPermissions:
            return "vantu runs from a drive that keeps no permissions (FAT or exFAT), so anyone can change its files:";
        case Cause::UserProfile:
        case Cause::None: break;
    }
    return "vantu runs from a user's own folders, which programs that run without administrator rights can change:";
}

std::string WayOut(const Finding& finding) {
    const std::string then = ", then turn \"Autostart with Windows\" on again.";
    if (finding.accountOnly)
        return "Copy vantu into a new folder under Program Files, made by an administrator, such as C:\\Program "
               "Files\\vantu (a folder moved there from your own folders keeps your rights)" + then;
    std::string way = "Move vantu to a folder under Program Files, made by an administrator, such as C:\\Program "
                      "Files\\vantu" + then;
    if (finding.cause == Cause::NoPermissions) {
        std::string drive = finding.path;
        if (drive.size() > 1 && drive.back() == '\\')
            drive.pop_back();
        way += " Or convert this drive to NTFS, which keeps permissions: convert " + drive +
               " /fs:ntfs, in a command prompt run as administrator.";
    }
    return way;
}

std::string Why(const Finding& finding) {
    return std::string(FirstLine(finding)) + "\r\n" + finding.path +
           "\r\n\r\nStarted with Windows, vantu runs with administrator rights, so whoever can change that could make "
           "it run a program of theirs. ";
}

}  // namespace

std::string AutostartRefusedText(const Finding& finding) {
    return Why(finding) + "Autostart with Windows was therefore not turned on.\r\n\r\n" + WayOut(finding);
}

std::string AutostartRemovedText(const Finding& finding, bool removed) {
    return Why(finding) +
           (removed ? "Autostart with Windows has therefore been turned off."
                    : "Autostart with Windows should therefore be turned off, but vantu could not remove it: delete "
                      "the task or the shortcut vantu in the Task Scheduler or your Startup folder.") +
           "\r\n\r\n" + WayOut(finding);
}

}  // namespace FolderSafety
