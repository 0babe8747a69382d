#include "settings/FolderSafety.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace FolderSafety;

namespace {

// SDDL, in the forms these tests write, as the binary self-relative descriptor that
// Windows returns: owner first, then the DACL.
Bytes Sid(const std::string& text) {
    static const std::pair<const char*, const char*> aliases[] = {
        {"SY", "S-1-5-18"}, {"BA", "S-1-5-32-544"}, {"BU", "S-1-5-32-545"}, {"PU", "S-1-5-32-547"},
        {"AU", "S-1-5-11"}, {"WD", "S-1-1-0"},      {"CO", "S-1-3-0"},
        {"TI", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"}};
    std::string sid = text;
    for (const auto& [alias, full] : aliases)
        if (text == alias)
            sid = full;
    Bytes bytes{1, 0, 0, 0, 0, 0, 0, 0};
    char* at = sid.data() + 4;  // past "S-1-"
    bytes[7] = static_cast<uint8_t>(std::strtoul(at, &at, 10));
    while (*at == '-') {
        const uint32_t sub = static_cast<uint32_t>(std::strtoul(at + 1, &at, 10));
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(sub >> shift));
        ++bytes[1];
    }
    return bytes;
}

uint32_t Rights(const std::string& text) {
    static const std::pair<const char*, uint32_t> aliases[] = {
        {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116}, {"GA", 0x10000000}, {"GR", 0x80000000},
        {"GW", 0x40000000}, {"GX", 0x20000000}, {"SD", 0x10000},  {"LC", 0x4},        {"DC", 0x2}};
    if (text.rfind("0x", 0) == 0)
        return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    uint32_t mask = 0;
    for (size_t at = 0; at < text.size(); at += 2)
        for (const auto& [alias, value] : aliases)
            if (text.compare(at, 2, alias) == 0)
                mask |= value;
    return mask;
}

void Put(Bytes& bytes, size_t at, uint32_t value, size_t count) {
    for (size_t i = 0; i < count; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// "O:sid D:(type;flags;rights;;;sid)..." with types A, D, OA, XA, XD, AU; flags OI CI
// IO ID; "D:NO_ACCESS_CONTROL" for no DACL.
Bytes Descriptor(const std::string& sddl) {
    Bytes sd(20, 0);
    sd[0] = 1;
    Put(sd, 2, 0x8000, 2);
    const size_t dacl = sddl.find("D:");
    Put(sd, 4, 20, 4);
    const Bytes owner = Sid(sddl.substr(2, dacl - 2));
    sd.insert(sd.end(), owner.begin(), owner.end());
    if (sddl.compare(dacl, 19, "D:NO_ACCESS_CONTROL") == 0)
        return sd;
    Put(sd, 2, 0x8004, 2);
    Put(sd, 16, uint32_t(sd.size()), 4);
    const size_t acl = sd.size();
    sd.insert(sd.end(), {2, 0, 0, 0, 0, 0, 0, 0});
    uint16_t count = 0;
    for (size_t open = sddl.find('(', dacl); open != std::string::npos; open = sddl.find('(', open + 1), ++count) {
        std::vector<std::string> field;
        std::string rest = sddl.substr(open + 1, sddl.find(')', open) - open - 1);
        for (size_t semi; (semi = rest.find(';')) != std::string::npos; rest.erase(0, semi + 1))
            field.push_back(rest.substr(0, semi));
        field.push_back(rest);
        const std::string& type = field[0];
        const bool object = type == "OA";
        Bytes ace{uint8_t(type == "A" ? 0 : type == "D" ? 1 : object ? 5 : type == "XA" ? 9 : type == "XD" ? 10 : 2), 0,
                  0, 0, 0, 0, 0, 0};
        for (const auto& [flag, bit] : {std::pair{"OI", 1}, {"CI", 2}, {"IO", 8}, {"ID", 16}})
            if (field[1].find(flag) != std::string::npos)
                ace[1] |= bit;
        Put(ace, 4, Rights(field[2]), 4);
        if (object)
            ace.insert(ace.end(), {1, 0, 0, 0});  // an object type follows
        ace.insert(ace.end(), object ? 16 : 0, 0xEE);
        const Bytes sid = Sid(field[5]);
        ace.insert(ace.end(), sid.begin(), sid.end());
        if (type[0] == 'X')
            ace.insert(ace.end(), {'a', 'r', 't', 'x'});  // a condition
        Put(ace, 2, uint32_t(ace.size()), 2);
        sd.insert(sd.end(), ace.begin(), ace.end());
    }
    Put(sd, acl + 2, uint32_t(sd.size() - acl), 2);
    Put(sd, acl + 4, count, 2);
    return sd;
}

const std::string Tom = "S-1-5-21-1004336348-1177238915-682003330-1001";  // a standard user
const std::string Me = "S-1-5-21-1004336348-1177238915-682003330-1000";   // the account vantu runs as

Trust Account(const std::string& sid, bool trusted, bool windows5 = false) { return {Sid(sid), trusted, windows5}; }
const Trust SplitToken = Account(Me, false), UacOff = Account(Me, true), Xp = Account(Me, true, true);

// Descriptors as Windows sets them.
const std::string Win10ProgramFilesVantu =
    "O:BAD:AI(A;ID;FA;;;TI)(A;CIIOID;GA;;;TI)(A;ID;0x1301bf;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;0x1301bf;;;BA)"
    "(A;OICIIOID;GA;;;BA)(A;ID;0x1200a9;;;BU)(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)";
const std::string Win10ProgramFiles =
    "O:TID:PAI(A;;FA;;;TI)(A;CIIO;GA;;;TI)(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)"
    "(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)";
const std::string Win10Root =
    "O:SYD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)";
const std::string XpProgramFilesVantu =
    "O:BAD:AI(A;ID;0x1301bf;;;PU)(A;OICIIOID;SDGXGWGR;;;PU)(A;ID;0x1200a9;;;BU)(A;OICIIOID;GXGR;;;BU)"
    "(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)(A;OICIIOID;GA;;;CO)";
const std::string XpRoot = "O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)"
                           "(A;CI;LC;;;BU)(A;CIIO;DC;;;BU)(A;OICI;0x1200a9;;;WD)";
const std::string FileInProgramFiles = "O:BAD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)";

PathObject Object(const std::string& path, const std::string& sddl) { return {path, Descriptor(sddl)}; }

// C:\Program Files\vantu with WinIo.dll and a folder vantu.exe.local, under the given
// Program Files and root, on an NTFS fixed disk.
FolderFacts ProgramFiles(const std::string& vantu, const std::string& programFiles, const std::string& root) {
    FolderFacts facts;
    facts.folder = "C:\\Program Files\\vantu\\";
    facts.self = Object("C:\\Program Files\\vantu", vantu);
    facts.entries = {Object("C:\\Program Files\\vantu\\WinIo.dll", FileInProgramFiles),
                     Object("C:\\Program Files\\vantu\\vantu.exe.local", Win10ProgramFilesVantu)};
    facts.entries[1].folder = true;
    facts.above = {Object("C:\\Program Files", programFiles), Object("C:\\", root)};
    facts.volume = "C:\\";
    facts.driveType = DriveFixed;
    facts.volumeFlags = 0x3E700FF;  // NTFS's
    return facts;
}

std::string Describe(const Finding& finding) {
    const char* causes[] = {"safe", "changeable", "folder above", "not plain", "not fixed", "no permissions", "profile"};
    return finding.unsafe() ? std::string(causes[int(finding.cause)]) + " " + finding.path +
                                  (finding.accountOnly ? " (own)" : "") + (finding.unchecked ? " (unchecked)" : "")
                            : "safe";
}

std::string Judged(const FolderFacts& facts, const Trust& trust) { return Describe(Judge(facts, trust)); }

}  // namespace

// Whole folders as Windows makes them, with their files and the folders above.
TEST(FolderSafetyTest, FoldersAsWindowsMakesThem) {
    const std::string moved = "O:" + Me + "D:P(A;OICI;FA;;;" + Me + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    const std::string usersOwn = "O:" + Tom + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    const struct {
        const char* name;
        FolderFacts facts;
        Trust trust;
        const char* found;
    } cases[] = {
        {"Windows 10", ProgramFiles(Win10ProgramFilesVantu, Win10ProgramFiles, Win10Root), SplitToken, "safe"},
        {"XP: Power Users may modify", ProgramFiles(XpProgramFilesVantu, Win10ProgramFiles, XpRoot), Xp, "safe"},
        {"Power Users after XP", ProgramFiles(XpProgramFilesVantu, Win10ProgramFiles, Win10Root), UacOff,
         "changeable C:\\Program Files\\vantu"},
        {"owned by a standard user", ProgramFiles(usersOwn, Win10ProgramFiles, Win10Root), UacOff,
         "changeable C:\\Program Files\\vantu"},
        {"moved from the account's Downloads, split token", ProgramFiles(moved, Win10ProgramFiles, Win10Root),
         SplitToken, "changeable C:\\Program Files\\vantu (own)"},
        {"moved, UAC off", ProgramFiles(moved, Win10ProgramFiles, Win10Root), UacOff, "safe"},
        {"a root owned by a user", ProgramFiles(Win10ProgramFilesVantu, Win10ProgramFiles, "O:" + Tom + "D:"),
         SplitToken, "folder above C:\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Judged(c.facts, c.trust), c.found) << c.name;

    // The built-in Administrator's own SID is the account: trusted with UAC off (or on
    // Windows 5.x), not elevated from a split token.
    FolderFacts admins = ProgramFiles(moved, Win10ProgramFiles, Win10Root);
    const std::string administrator = Me.substr(0, Me.size() - 4) + "500";
    admins.self = Object(admins.self.path, "O:" + administrator + "D:(A;OICI;FA;;;" + administrator + ")");
    EXPECT_EQ(Judged(admins, Account(administrator, AccountIsTrusted(true, 1))), "safe");
    EXPECT_EQ(Judged(admins, Account(administrator, AccountIsTrusted(false, std::nullopt))), "safe");
    for (const auto type : {std::optional<uint32_t>(2), std::optional<uint32_t>(3), std::optional<uint32_t>()})
        EXPECT_EQ(Judged(admins, Account(administrator, AccountIsTrusted(true, type))),
                  "changeable C:\\Program Files\\vantu (own)");
}

// The rights that change each kind of object, given to Users alone: bit by bit. A
// folder in the program's folder is judged as the program's folder is.
TEST(FolderSafetyTest, RightsThatChangeEachObject) {
    constexpr uint32_t folder = 0x500D0046, file = 0x500D0006, above = 0x100D0040, root = 0x100C0040;
    for (int bit = 0; bit < 32; ++bit) {
        char entry[48];
        std::snprintf(entry, sizeof entry, "(A;;0x%x;;;BU)", 1u << bit);
        const auto expect = [&](uint32_t mask, const std::string& sddl, int object, const char* what) {
            FolderFacts facts = ProgramFiles(Win10ProgramFilesVantu, Win10ProgramFiles, Win10Root);
            PathObject* objects[] = {&facts.self, &facts.entries[0], &facts.entries[1], &facts.above[0], &facts.above[1]};
            objects[object]->descriptor = Descriptor(sddl + entry);
            EXPECT_EQ(Judge(facts, SplitToken).unsafe(), (mask >> bit & 1) != 0) << what << " bit " << bit;
        };
        expect(folder, "O:BAD:", 0, "folder");
        expect(file, "O:BAD:", 1, "file");
        expect(folder, "O:BAD:", 2, "subfolder");
        expect(above, "O:TID:", 3, "above");
        expect(root, "O:SYD:", 4, "root");
    }
}

TEST(FolderSafetyTest, EntriesApplyPerSidInOrder) {
    const struct {
        std::string dacl;
        bool unsafe;
    } cases[] = {
        {"(D;;FA;;;BU)(A;;FA;;;BU)", false},
        {"(A;;FA;;;BU)(D;;FA;;;BU)", true},       // too late: the allow came first
        {"(D;;GW;;;BU)(A;;FW;;;BU)", false},      // a generic deny as Windows applies it
        {"(D;;GA;;;BU)(A;;FA;;;WD)", true},       // another SID
        {"(D;IO;FA;;;BU)(A;;FA;;;BU)", true},     // not for the object itself
        {"(A;;FA;;;CO)", true},                   // CREATOR OWNER counts only in inherit-only entries
        {"(XD;;FA;;;BU)(A;;FA;;;BU)", true},      // a condition may not hold
        {"(XA;;FA;;;BU)", true}, {"(OA;;FA;;;BU)", true}, {"(AU;;FA;;;BU)", false},
        {"(A;;FR;;;S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15)", false},  // the most sub-authorities a SID has
        {"(A;;FR;;;S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16)", true},  // one more: not a SID, not known
    };
    for (const auto& c : cases) {
        FolderFacts facts = ProgramFiles("O:BAD:" + c.dacl, Win10ProgramFiles, Win10Root);
        EXPECT_EQ(Judge(facts, SplitToken).unsafe(), c.unsafe) << c.dacl;
    }
}

// No DACL lets everyone in; an empty one nobody. What cannot be read counts as
// changeable, and says so: a descriptor cut anywhere, none read (an entry, or a
// subfolder that could not be listed), one not self-relative (its offsets mean
// nothing), one without an owner (read at offset 0, a SID that no one trusts).
TEST(FolderSafetyTest, NullEmptyUnreadableAndCutDescriptors) {
    FolderFacts facts = ProgramFiles("O:BAD:NO_ACCESS_CONTROL", Win10ProgramFiles, Win10Root);
    EXPECT_EQ(Judged(facts, SplitToken), "changeable C:\\Program Files\\vantu");
    facts.self = Object(facts.self.path, "O:BAD:");
    EXPECT_EQ(Judged(facts, SplitToken), "safe");

    const Bytes whole = Descriptor(Win10Root);
    for (size_t length = 0; length < whole.size(); ++length) {
        facts.above[1].descriptor = Bytes(whole.begin(), whole.begin() + long(length));
        EXPECT_EQ(Judged(facts, SplitToken), "folder above C:\\ (unchecked)") << length;
    }
    facts.above[1].descriptor = whole;
    for (const size_t at : {size_t(3), size_t(4)}) {
        facts.entries[1].descriptor = Descriptor(Win10ProgramFilesVantu);
        facts.entries[1].descriptor->at(at) = 0;
        EXPECT_EQ(Judged(facts, SplitToken), "changeable C:\\Program Files\\vantu\\vantu.exe.local (unchecked)") << at;
    }
    facts.entries[1].descriptor.reset();
    EXPECT_EQ(Judged(facts, SplitToken), "changeable C:\\Program Files\\vantu\\vantu.exe.local (unchecked)");
}

TEST(FolderSafetyTest, LinksDrivesVolumesPercentAndProfiles) {
    const auto with = [](const std::function<void(FolderFacts&)>& change) {
        FolderFacts facts = ProgramFiles(Win10ProgramFilesVantu, Win10ProgramFiles, Win10Root);
        change(facts);
        return Judged(facts, SplitToken);
    };
    EXPECT_EQ(with([](FolderFacts& f) { f.self.link = true; }), "not plain C:\\Program Files\\vantu");
    EXPECT_EQ(with([](FolderFacts& f) { f.entries[1].link = true; }), "not plain C:\\Program Files\\vantu\\vantu.exe.local");
    EXPECT_EQ(with([](FolderFacts& f) { f.above[0].link = true; }), "not plain C:\\Program Files");
    EXPECT_EQ(with([](FolderFacts& f) { f.above[1].link = true; }), "safe");  // a root is its volume's own
    EXPECT_EQ(with([](FolderFacts& f) { f.folder = "C:\\%ProgramFiles%\\vantu\\"; }), "not plain C:\\%ProgramFiles%\\vantu\\");
    EXPECT_EQ(with([](FolderFacts& f) { f.driveType = 2; }), "not fixed C:\\");  // removable
    EXPECT_EQ(with([](FolderFacts& f) { f.driveType.reset(); }), "not fixed C:\\");
    EXPECT_EQ(with([](FolderFacts& f) { f.usb = true; }), "not fixed C:\\");
    EXPECT_EQ(with([](FolderFacts& f) { f.volumeFlags = 0x20700FF & ~PersistentAcls; }), "no permissions C:\\");  // FAT32
    EXPECT_EQ(with([](FolderFacts& f) { f.volumeFlags.reset(); }), "no permissions C:\\");
    EXPECT_EQ(with([](FolderFacts& f) { f.inUserProfile = true; }), "profile C:\\Program Files\\vantu\\ (own)");
}

TEST(FolderSafetyTest, FoldersAboveReachTheVolumesRoot) {
    using Strings = std::vector<std::string>;
    EXPECT_EQ(FoldersAbove("C:\\Program Files\\vantu\\", "C:\\"), (Strings{"C:\\Program Files", "C:\\"}));
    EXPECT_EQ(FoldersAbove("a:\\vantu\\", "A:\\"), Strings{"A:\\"});
    EXPECT_EQ(FoldersAbove("C:\\", "C:\\"), Strings{});
    EXPECT_EQ(FoldersAbove("C:\\mnt\\disk\\vantu\\", "C:\\mnt\\disk\\"), Strings{"C:\\mnt\\disk\\"});
    EXPECT_EQ(FoldersAbove("\\\\server\\share\\tools\\vantu\\", "\\\\server\\share\\"),
              (Strings{"\\\\server\\share\\tools", "\\\\server\\share\\"}));
    EXPECT_EQ(FoldersAbove("D:\\vantu\\", "C:\\"), Strings{});
    EXPECT_TRUE(IsInside("C:\\USERS\\tom\\Downloads\\vantu\\", "C:\\Users"));
    EXPECT_TRUE(IsInside("C:\\Users", "C:\\Users\\"));
    EXPECT_FALSE(IsInside("C:\\Users2\\vantu\\", "C:\\Users"));
}

// Each cause says what it is, names its path on a line of its own and the way out; the
// account's own rights send the user to copy vantu into a new folder, a volume without
// permissions to convert it as well. At start-up the text says the autostart was
// turned off, or that it could not be.
TEST(FolderSafetyTest, TextsNameTheCauseThePathAndTheWayOut) {
    const std::string path = "C:\\Tools\\vantu";
    const struct {
        Finding finding;
        const char* box;
    } cases[] = {
        {{Cause::Changeable, path}, "Users who are not administrators can change this folder, or something in it:"},
        {{Cause::Changeable, path, true}, "Programs that you run without administrator rights can change"},
        {{Cause::Changeable, path, false, true}, "vantu could not check who can change this folder"},
        {{Cause::FolderAbove, path}, "Users who are not administrators can rename"},
        {{Cause::FolderAbove, path, true}, "Programs that you run without administrator rights can rename"},
        {{Cause::FolderAbove, path, false, true}, "vantu could not check who can rename"},
        {{Cause::NotPlainPath, path}, "The path vantu runs from goes through a junction, a symbolic link"},
        {{Cause::NotFixedDrive, path}, "vantu runs from a drive that is not a fixed disk"},
        {{Cause::NoPermissions, "E:\\"}, "vantu runs from a drive that keeps no permissions"},
        {{Cause::UserProfile, path, true}, "vantu runs from a user's own folders"},
    };
    for (const auto& c : cases) {
        const std::string refused = AutostartRefusedText(c.finding);
        EXPECT_EQ(refused.find(std::string(c.box)), 0u) << refused;
        EXPECT_NE(refused.find(":\r\n" + c.finding.path + "\r\n"), std::string::npos) << refused;
        EXPECT_NE(refused.find(c.finding.accountOnly ? "Copy vantu into a new folder under Program Files, made by an "
                                                       "administrator, such as C:\\Program Files\\vantu (a folder moved"
                                                     : "Move vantu to a folder under Program Files, made by an "
                                                       "administrator, such as C:\\Program Files\\vantu, then turn"),
                  std::string::npos)
            << refused;
        EXPECT_EQ(refused.find("convert E: /fs:ntfs") != std::string::npos, c.finding.cause == Cause::NoPermissions);
        EXPECT_NE(refused.find("was therefore not turned on"), std::string::npos);
        for (const bool removed : {true, false}) {
            const std::string text = AutostartRemovedText(c.finding, removed);
            EXPECT_EQ(text.find(c.box), 0u) << text;
            EXPECT_NE(text.find(removed ? "has therefore been turned off" : "could not remove it"), std::string::npos);
            EXPECT_NE(text.find(refused.substr(refused.rfind("\r\n"))), std::string::npos) << "the same way out";
        }
    }
}
