#include "settings/FolderSafety.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "ec/PawnIoRequest.h"

namespace FolderSafety {

namespace {

using Mask = uint32_t;

constexpr Mask GenericWrite = 0x40000000, GenericAll = 0x10000000;
constexpr Mask FileGenericWrite = 0x120116, FileAllAccess = 0x1F01FF;
// Write data (add file), append data (add subfolder), DELETE, WRITE_DAC, WRITE_OWNER:
// each lets a file be replaced, or its permissions opened so that it can be.
constexpr Mask ChangesFile = 0x2 | 0x4 | 0x10000 | 0x40000 | 0x80000;
// A folder also through delete-child, which removes a file whatever the file's own
// DACL says (on a file the same bit means nothing).
constexpr Mask ChangesFolder = ChangesFile | 0x40;

struct RightAlias {
    std::string_view text;
    Mask mask;
};
constexpr RightAlias RightAliases[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000},
    {"RC", 0x20000},    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},
    {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116},   {"FX", 0x1200A0},
    {"KA", 0xF003F},    {"KR", 0x20019},    {"KW", 0x20006},    {"KX", 0x20019},
    {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},
    {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},
    {"CR", 0x100},
};

// The groups that any user who is not an administrator is in, as SDDL abbreviates them
// and as SIDs in the canonical form Canonical() gives: Everyone, Users, Authenticated
// Users, INTERACTIVE, Guests, ANONYMOUS LOGON.
constexpr size_t GroupCount = 6;
constexpr std::string_view GroupAliases[GroupCount] = {"WD", "BU", "AU", "IU", "BG", "AN"};
constexpr std::string_view GroupSids[GroupCount] = {"S-1-1-0",      "S-1-5-32-545", "S-1-5-11",
                                                    "S-1-5-4",      "S-1-5-32-546", "S-1-5-7"};
constexpr size_t OtherSid = GroupCount;

// Inheritance flags the SDDL text may carry; only IO and OI change what counts.
constexpr std::string_view AceFlags[] = {"CI", "OI", "NP", "IO", "ID", "SA", "FA", "TP", "CR"};

constexpr std::string_view NullDacl = "NO_ACCESS_CONTROL";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsLetter(char c) { return Upper(c) >= 'A' && Upper(c) <= 'Z'; }

// Windows writes the abbreviations in capitals; a hand-made text may not.
std::string Capitals(std::string_view text) {
    std::string capitals(text);
    for (char& c : capitals)
        c = Upper(c);
    return capitals;
}

// "0x" and hexadecimal digits, or decimal digits; nothing when empty, not a number or
// above `limit` (checked at each digit, so a long text cannot overflow).
std::optional<uint64_t> Number(std::string_view text, uint64_t limit) {
    uint64_t base = 10;
    if (text.size() > 1 && text[0] == '0' && Upper(text[1]) == 'X') {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        uint64_t digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && Upper(c) >= 'A' && Upper(c) <= 'F')
            digit = Upper(c) - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

// An access mask as a number, or as abbreviations run together ("SDGXGWGR").
std::optional<Mask> Rights(std::string_view text) {
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        const auto number = Number(text, 0xFFFFFFFF);
        return number ? std::optional<Mask>(static_cast<Mask>(*number)) : std::nullopt;
    }
    Mask mask = 0;
    for (size_t at = 0; at < text.size(); at += 2) {
        const std::string alias = Capitals(text.substr(at, 2));
        const RightAlias* found = nullptr;
        for (const RightAlias& right : RightAliases)
            if (right.text == alias)
                found = &right;
        if (found == nullptr)
            return std::nullopt;
        mask |= found->mask;
    }
    return mask;
}

// Generic rights as they take effect on a file or folder (Windows maps them so when it
// stores an entry or passes it on), for allow and deny alike, so that a deny of GW
// takes what an allow of FW gives. Read and execute change nothing: not mapped.
Mask Mapped(Mask mask) {
    if (mask & GenericWrite)
        mask |= FileGenericWrite;
    if (mask & GenericAll)
        mask |= FileAllAccess;
    return mask;
}

// "S-1-5-32-545" with each number in plain decimal: the same SID written with leading
// zeros, a lower-case s or a hexadecimal authority compares equal. Nothing when the
// text is not a SID.
std::optional<std::string> Canonical(std::string_view sid) {
    if (sid.size() < 2 || Upper(sid[0]) != 'S' || sid[1] != '-')
        return std::nullopt;
    std::string canonical = "S";
    size_t numbers = 0;
    for (size_t start = 2;;) {
        size_t end = sid.find('-', start);
        if (end == std::string_view::npos)
            end = sid.size();
        // 48 bits: the widest number a SID holds (its authority).
        const auto number = Number(sid.substr(start, end - start), 0xFFFFFFFFFFFF);
        if (!number)
            return std::nullopt;
        canonical += '-' + std::to_string(*number);
        ++numbers;
        if (end == sid.size())
            break;
        start = end + 1;
    }
    // A revision and an authority at least.
    if (numbers < 2)
        return std::nullopt;
    return canonical;
}

// Which of the groups a SID is (OtherSid for any other), nothing when it is not a SID.
std::optional<size_t> Group(std::string_view sid) {
    if (sid.size() == 2 && IsLetter(sid[0]) && IsLetter(sid[1])) {
        const std::string text = Capitals(sid);
        for (size_t group = 0; group < GroupCount; ++group)
            if (GroupAliases[group] == text)
                return group;
        return OtherSid;
    }
    const auto canonical = Canonical(sid);
    if (!canonical)
        return std::nullopt;
    for (size_t group = 0; group < GroupCount; ++group)
        if (GroupSids[group] == *canonical)
            return group;
    return OtherSid;
}

enum class Effect { Allow, Deny, Ignored };

// Allow entries of any form count (object, conditional: their condition may hold).
// Deny entries count when unconditional: a condition that fails denies nothing.
// Audit, alarm, label and attribute entries give no access.
std::optional<Effect> TypeEffect(std::string_view type) {
    if (type.empty() || type.size() > 2 || !IsLetter(type[0]) || !IsLetter(type.back()))
        return std::nullopt;
    const std::string name = Capitals(type);
    if (name == "A" || name == "OA" || name == "XA" || name == "ZA")
        return Effect::Allow;
    if (name == "D" || name == "OD")
        return Effect::Deny;
    return Effect::Ignored;
}

struct Inheritance {
    bool inheritOnly = false;  // IO: not for the object that holds the entry
    bool toFiles = false;      // OI: passed to the files in a folder
};

std::optional<Inheritance> Flags(std::string_view text) {
    Inheritance inheritance;
    for (size_t at = 0; at < text.size(); at += 2) {
        const std::string flag = Capitals(text.substr(at, 2));
        bool known = false;
        for (const std::string_view aceFlag : AceFlags)
            known = known || aceFlag == flag;
        if (!known)
            return std::nullopt;
        inheritance.inheritOnly = inheritance.inheritOnly || flag == "IO";
        inheritance.toFiles = inheritance.toFiles || flag == "OI";
    }
    return inheritance;
}

// Where the parenthesis at `open` closes, past nested ones and quoted text (a
// conditional entry's expression may hold both); npos when it does not.
size_t Closing(std::string_view text, size_t open) {
    size_t depth = 0;
    bool quoted = false;
    for (size_t at = open; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted)
            quoted = c != '"';
        else if (c == '"')
            quoted = true;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return at;
    }
    return std::string_view::npos;
}

// An entry's first six fields: type, flags, rights, two GUIDs and the SID; nothing
// when it has fewer. A condition or attribute after them (where a semicolon may be
// quoted) is not read.
using AceFields = std::array<std::string_view, 6>;
std::optional<AceFields> Fields(std::string_view ace) {
    AceFields fields;
    size_t start = 0;
    for (std::string_view& field : fields) {
        if (start > ace.size())
            return std::nullopt;
        const size_t end = std::min(ace.find(';', start), ace.size());
        field = ace.substr(start, end - start);
        start = end + 1;
    }
    return fields;
}

// What a group may do so far, entry by entry: a right once denied is not granted by
// a later allow, a right once granted is not taken by a later deny.
struct GroupRights {
    Mask denied = 0, allowed = 0;
    void Apply(Effect effect, Mask mask) {
        if (effect == Effect::Deny)
            denied |= mask;
        else
            allowed |= mask & ~denied;
    }
};

struct Evaluation {
    std::array<GroupRights, GroupCount> object;  // on the object that holds the DACL
    std::array<GroupRights, GroupCount> files;   // on the files a folder passes it to
};

// One entry, the text inside its parentheses; false when it does not parse.
bool Evaluate(std::string_view ace, ObjectKind kind, Evaluation& evaluation) {
    const auto fields = Fields(ace);
    if (!fields)
        return false;
    const auto effect = TypeEffect((*fields)[0]);
    if (!effect)
        return false;
    if (*effect == Effect::Ignored)
        return true;
    const auto inheritance = Flags((*fields)[1]);
    const auto rights = Rights((*fields)[2]);
    const auto group = Group((*fields)[5]);
    if (!inheritance || !rights || !group)
        return false;
    if (*group == OtherSid)
        return true;
    const Mask mask = Mapped(*rights);
    if (!inheritance->inheritOnly)
        evaluation.object[*group].Apply(*effect, mask);
    // Subfolders (CI) are left out: the program loads nothing from them.
    if (kind == ObjectKind::Folder && inheritance->toFiles)
        evaluation.files[*group].Apply(*effect, mask);
    return true;
}

}  // namespace

Verdict Check(std::string_view sddl, ObjectKind kind) {
    Evaluation evaluation;
    bool daclSeen = false, nullDacl = false;
    size_t at = 0;
    while (at < sddl.size()) {
        if (at + 1 >= sddl.size() || sddl[at + 1] != ':')
            return Verdict::Unknown;
        const char part = sddl[at];
        at += 2;
        if (part == 'O' || part == 'G') {
            // A SID holds no colon: it ends before the next part's letter ("O:BAG:SY").
            const size_t colon = sddl.find(':', at);
            const size_t end = colon == std::string_view::npos ? sddl.size() : colon - 1;
            if (end <= at || !Group(sddl.substr(at, end - at)))
                return Verdict::Unknown;
            at = end;
        } else if (part == 'D' || part == 'S') {
            const bool dacl = part == 'D';
            if (dacl && daclSeen)
                return Verdict::Unknown;
            daclSeen = daclSeen || dacl;
            for (;;) {  // the control flags: P, AI, AR, or no DACL at all
                const std::string_view rest = sddl.substr(at);
                if (rest.starts_with(NullDacl)) {
                    nullDacl = nullDacl || dacl;
                    at += NullDacl.size();
                } else if (rest.starts_with("AI") || rest.starts_with("AR")) {
                    at += 2;
                } else if (rest.starts_with("P")) {
                    at += 1;
                } else {
                    break;
                }
            }
            while (at < sddl.size() && sddl[at] == '(') {
                const size_t close = Closing(sddl, at);
                if (close == std::string_view::npos)
                    return Verdict::Unknown;
                if (dacl && !Evaluate(sddl.substr(at + 1, close - at - 1), kind, evaluation))
                    return Verdict::Unknown;
                at = close + 1;
            }
        } else {
            return Verdict::Unknown;
        }
    }
    if (!daclSeen || nullDacl)
        return Verdict::Unsafe;
    const Mask changesObject = kind == ObjectKind::Folder ? ChangesFolder : ChangesFile;
    for (size_t group = 0; group < GroupCount; ++group)
        if ((evaluation.object[group].allowed & changesObject) != 0 ||
            (evaluation.files[group].allowed & ChangesFile) != 0)
            return Verdict::Unsafe;
    return Verdict::Safe;
}

Verdict Combined(Verdict a, Verdict b) {
    if (a == Verdict::Unsafe || b == Verdict::Unsafe)
        return Verdict::Unsafe;
    if (a == Verdict::Unknown || b == Verdict::Unknown)
        return Verdict::Unknown;
    return Verdict::Safe;
}

std::vector<std::string> LoadedFiles(const std::string& exeName) {
    return {exeName,       "WinIo.dll",  "WinIo.sys",
            "WinIo32.dll", "WinIo32.sys", "WinIo64.sys",
            PawnIoRequest::ModuleFile, "devcon.exe", "hdparm.exe"};
}

std::string AutostartRefusedText(const std::string& folder) {
    return "The folder vantu runs from can be changed by users who are not administrators:\r\n" + folder +
           "\r\n\r\n"
           "Started with Windows, vantu runs with administrator rights, so any of those users could "
           "make it run a program of theirs. Autostart with Windows was therefore not turned on.\r\n\r\n"
           "Move vantu to a folder that only administrators can change, such as C:\\Program Files\\vantu, "
           "then turn \"Autostart with Windows\" on again.";
}

std::string UnsafeFolderBalloonText(const std::string& folder) {
    const std::string before = "vantu starts with administrator rights from ";
    const std::string after =
        ", which non-administrators can change. Move vantu to a folder such as C:\\Program Files\\vantu "
        "and turn Autostart with Windows on again.";
    const size_t room = BalloonLimit - before.size() - after.size();
    if (folder.size() <= room)
        return before + folder + after;
    // The drive and the innermost folders tell the user the most: the middle goes.
    const std::string ellipsis = "...";
    const size_t head = (room - ellipsis.size()) / 2;
    const size_t tail = room - ellipsis.size() - head;
    return before + folder.substr(0, head) + ellipsis + folder.substr(folder.size() - tail) + after;
}

}  // namespace FolderSafety
