#include "settings/FolderSafety.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ec/PawnIoRequest.h"

namespace FolderSafety {
void PrintTo(Verdict verdict, std::ostream* out) {
    *out << (verdict == Verdict::Safe ? "Safe" : verdict == Verdict::Unsafe ? "Unsafe" : "Unknown");
}
}  // namespace FolderSafety

using namespace FolderSafety;

namespace {

constexpr Verdict S = Verdict::Safe, U = Verdict::Unsafe, X = Verdict::Unknown;

// One descriptor and its verdict on a folder and on a file.
struct Case {
    std::string sddl;
    Verdict folder, file;
};

// Read from a buffer of exactly the text's size: a read past its end is a fault the
// sanitizer reports (a std::string would end in a NUL that hides it).
Verdict CheckExact(const std::string& sddl, ObjectKind kind) {
    const std::unique_ptr<char[]> exact(new char[sddl.size()]);
    std::copy(sddl.begin(), sddl.end(), exact.get());
    return Check(std::string_view(exact.get(), sddl.size()), kind);
}

void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(CheckExact(c.sddl, ObjectKind::Folder), c.folder) << "folder " << c.sddl;
        EXPECT_EQ(CheckExact(c.sddl, ObjectKind::File), c.file) << "file " << c.sddl;
    }
}

// The pattern with "#" replaced by the token.
std::string With(std::string pattern, const std::string& token) {
    return pattern.replace(pattern.find('#'), 1, token);
}

const std::string TrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// A folder made in Program Files on Windows 7 and later, all inherited.
const std::string ProgramFilesFolder =
    "D:AI(A;ID;FA;;;" + TrustedInstaller + ")(A;CIIOID;GA;;;" + TrustedInstaller +
    ")(A;ID;0x1301bf;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;0x1301bf;;;BA)(A;OICIIOID;GA;;;BA)"
    "(A;ID;0x1200a9;;;BU)(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)"
    "(A;ID;0x1200a9;;;S-1-15-2-1)(A;OICIIOID;GXGR;;;S-1-15-2-1)";

}  // namespace

TEST(FolderSafetyTest, DescriptorsWindowsWrites) {
    ExpectAll({
        {ProgramFilesFolder, S, S},
        // A file in it.
        {"D:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)(A;ID;0x1200a9;;;S-1-15-2-1)", S, S},
        // A folder made directly in C:\ on Windows 7 and later: Authenticated Users may
        // modify it and pass that on to its files; Users may add subfolders.
        {"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIIOID;GA;;;CO)(A;OICIID;0x1200a9;;;BU)"
         "(A;CIID;LC;;;BU)(A;CIIOID;DC;;;BU)(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)", U, U},
        // Without the Users entries, Authenticated Users alone make it unsafe.
        {"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)", U, U},
        // and their inherit-only entry alone still reaches the files.
        {"D:AI(A;OICIID;FA;;;BA)(A;OICIIOID;SDGXGWGR;;;AU)", U, S},
        // A folder of the user's own: the user, SYSTEM and Administrators only.
        {"D:P(A;OICI;FA;;;S-1-5-21-1004336348-1177238915-682003330-1001)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", S, S},
        // Owner, group and SACL around the DACL.
        {"O:BAG:SYD:PAI(A;;FA;;;SY)(A;;FA;;;BU)S:AI(AU;SAFA;FA;;;WD)", U, U},
        {"O:S-1-5-21-1-2-3-1001G:S-1-5-21-1-2-3-513D:PAI(A;;FA;;;SY)S:(ML;;NW;;;LW)", S, S},
    });
}

// Each single right given to Users: those that write, append, delete, change the
// permissions or the owner, and delete-child on a folder.
TEST(FolderSafetyTest, RightsThatChangeTheObject) {
    constexpr uint32_t changesFolder = 0x500D0046, changesFile = 0x500D0006;
    std::vector<Case> table;
    for (int bit = 0; bit < 32; ++bit) {
        char rights[16];
        snprintf(rights, sizeof rights, "0x%x", 1u << bit);
        table.push_back({With("D:(A;;#;;;BU)", rights), (changesFolder >> bit & 1) != 0 ? U : S,
                         (changesFile >> bit & 1) != 0 ? U : S});
    }
    const struct { const char* rights; Verdict verdict; } forms[] = {
        {"0x1200a9", S}, {"0x1301bf", U}, {"0X1301BF", U}, {"0x000000000002", U}, {"0xFFFFFFFF", U}, {"0", S},
        {"2", U}, {"9", S}, {"65536", U}, {"1179817", S}, {"4294967295", U}, {"", S}, {"fa", U}, {"Fr", S},
        {"FRFXRC", S}, {"FRSD", U},
        // Not rights at all.
        {"0x", X}, {"0x100000000", X}, {"4294967296", X}, {"99999999999999999999999", X}, {"0xG", X},
        {"12a", X}, {"-1", X}, {"F", X}, {"FAX", X}, {"ZZ", X}, {"FA ", X},
    };
    for (const auto& c : forms)
        table.push_back({With("D:(A;;#;;;BU)", c.rights), c.verdict, c.verdict});
    ExpectAll(table);
}

// Each abbreviation stands for the mask the SDDL documentation gives it: a deny of one
// takes all that an allow of the other gives, both ways round.
TEST(FolderSafetyTest, RightAbbreviationsMeanTheirMasks) {
    const struct { const char* alias; const char* mask; } cases[] = {
        {"GA", "0x10000000"}, {"GR", "0x80000000"}, {"GW", "0x40000000"}, {"GX", "0x20000000"},
        {"RC", "0x20000"},    {"SD", "0x10000"},    {"WD", "0x40000"},    {"WO", "0x80000"},
        {"FA", "0x1F01FF"},   {"FR", "0x120089"},   {"FW", "0x120116"},   {"FX", "0x1200A0"},
        {"KA", "0xF003F"},    {"KR", "0x20019"},    {"KW", "0x20006"},    {"KX", "0x20019"},
        {"CC", "0x1"},        {"DC", "0x2"},        {"LC", "0x4"},        {"SW", "0x8"},
        {"RP", "0x10"},       {"WP", "0x20"},       {"DT", "0x40"},       {"LO", "0x80"},
        {"CR", "0x100"},
    };
    std::vector<Case> table;
    for (const auto& c : cases) {
        const std::string alias = c.alias, mask = c.mask;
        table.push_back({"D:(D;;" + alias + ";;;BU)(A;;" + mask + ";;;BU)", S, S});
        table.push_back({"D:(D;;" + mask + ";;;BU)(A;;" + alias + ";;;BU)", S, S});
    }
    ExpectAll(table);
}

// Only the groups every user who is not an administrator is in, however the SID is written.
TEST(FolderSafetyTest, GroupsThatCount) {
    const struct { const char* sid; Verdict verdict; } cases[] = {
        {"WD", U}, {"BU", U}, {"AU", U}, {"IU", U}, {"BG", U}, {"AN", U}, {"wd", U}, {"Bu", U},
        {"S-1-1-0", U}, {"S-1-5-32-545", U}, {"S-1-5-11", U}, {"S-1-5-4", U}, {"S-1-5-32-546", U},
        {"S-1-5-7", U}, {"s-1-5-32-545", U}, {"S-1-5-032-545", U}, {"S-1-0x5-11", U}, {"S-1-0X00000005-4", U},
        // Anyone else.
        {"SY", S}, {"BA", S}, {"CO", S}, {"AC", S}, {"S-1-5-18", S}, {"S-1-5-32-544", S},
        {TrustedInstaller.c_str(), S}, {"S-1-5-21-1004336348-1177238915-682003330-1001", S}, {"S-1-15-2-1", S},
        {"S-1-5-32-5450", S}, {"S-1-5-32", S}, {"S-1-5", S}, {"S-1-1-0-0", S}, {"S-1-5-111", S},
        {"S-2-5-11", S}, {"S-1-1-1", S}, {"S-1-5-4294967307", S},  // 2^32 + 11: no 32-bit wrap to 11
        {"S-1-281474976710655-11", S},  // the widest authority
        // Not SIDs.
        {"", X}, {"B", X}, {"BUU", X}, {"1U", X}, {"S-", X}, {"S-1", X}, {"S-1-", X}, {"S-1-5-", X},
        {"S-1--5", X}, {"S-1-5-x", X}, {"S1-5-11", X}, {"S-1-0x", X}, {"S-1-281474976710656-11", X},
    };
    std::vector<Case> table;
    for (const auto& c : cases)
        table.push_back({With("D:(A;;FA;;;#)", c.sid), c.verdict, c.verdict});
    ExpectAll(table);
}

TEST(FolderSafetyTest, DenyEntriesTakeRightsFromLaterAllowsOfTheSameGroup) {
    ExpectAll({
        {"D:(D;;FA;;;BU)(A;;FA;;;BU)", S, S},
        {"D:(D;;GW;;;BU)(A;;FW;;;BU)", S, S},  // a generic deny as Windows applies it
        {"D:(D;;FW;;;BU)(A;;GW;;;BU)", S, S},
        {"D:(D;;GA;;;BU)(A;;FA;;;BU)", S, S},
        {"D:(D;;GA;;;BU)(A;;FA;;;WD)", U, U},  // another group
        {"D:(D;;FA;;;WD)(A;;FA;;;BU)", U, U},  // per group, though Users are in Everyone
        {"D:(A;;FA;;;BU)(D;;FA;;;BU)", U, U},  // too late: the allow came first
        {"D:(D;;0x2;;;BU)(A;;0x6;;;BU)", U, U},
        {"D:(D;;WD;;;BU)(A;;FA;;;BU)", U, U},
        {"D:(D;;0xD0046;;;BU)(A;;FA;;;BU)", S, S},  // every right that changes something
        {"D:(D;;0xD0006;;;BU)(A;;FA;;;BU)", U, S},  // all but delete child
        {"D:(OD;;FA;;;BU)(OA;;FA;;;BU)", S, S},
        {"D:(XD;;FA;;;BU;(@User.Dept==\"x\"))(A;;FA;;;BU)", U, U},  // a condition may not hold
        {"D:(D;IO;FA;;;BU)(A;;FA;;;BU)", U, U},  // not for the object itself
        // What a folder passes to its files: denied there too when the deny is passed on.
        {"D:(D;OI;FA;;;BU)(A;OIIO;FA;;;BU)", S, S},
        {"D:(D;;FA;;;BU)(A;OIIO;FA;;;BU)", U, S},
        {"D:(D;OIIO;FA;;;BU)(A;OI;FA;;;BU)", U, U},
    });
    // Each right, left out of the deny, still counts.
    for (const uint32_t right : {0x2u, 0x4u, 0x40u, 0x10000u, 0x40000u, 0x80000u}) {
        char deny[64];
        snprintf(deny, sizeof deny, "D:(D;;0x%x;;;BU)(A;;FA;;;BU)", 0xD0046u & ~right);
        ExpectAll({{deny, U, right == 0x40 ? S : U}});
    }
}

TEST(FolderSafetyTest, EntryTypes) {
    ExpectAll({
        {"D:(OA;;FA;;;BU)", U, U}, {"D:(XA;;FA;;;BU;(@User.Title==\"PM\"))", U, U}, {"D:(za;;FA;;;BU)", U, U},
        {"D:(a;;FA;;;BU)", U, U}, {"D:(AU;SA;FA;;;BU)", S, S}, {"D:(AL;;FA;;;WD)", S, S},
        {"D:(ML;;NWNR;;;LW)", S, S}, {"D:(RA;CI;;;;S-1-1-0;(\"Project\",TS,0,\"Windows\",\"SQL\"))", S, S},
        // A quoted parenthesis inside a condition does not end the entry.
        {"D:(XA;;FA;;;SY;(@User.Dept==\"a;b)\"))(A;;FA;;;BU)", U, U},
        {"D:(XA;;FA;;;SY;(@User.Dept==\"a;b)\"))", S, S},
        {"D:(AAA;;FA;;;BU)", X, X}, {"D:(A1;;FA;;;BU)", X, X}, {"D:(1;;FA;;;BU)", X, X}, {"D:(;;FA;;;BU)", X, X},
    });
}

// On a folder an entry counts for the folder unless inherit-only, and for its files
// when passed to them (OI); on a file inherit-only entries do nothing.
TEST(FolderSafetyTest, InheritanceFlags) {
    const struct { const char* flags; const char* rights; Verdict folder, file; } cases[] = {
        {"OICIIO", "FA", U, S}, {"OIIO", "FA", U, S}, {"CIIO", "FA", S, S}, {"IO", "FA", S, S},
        {"OICIIONP", "FA", U, S}, {"oiciio", "FA", U, S}, {"CI", "FA", U, U}, {"OI", "FA", U, U},
        {"ID", "FA", U, U}, {"OICIIOID", "SDGXGWGR", U, S}, {"CIIOID", "DC", S, S},
        {"OIIO", "DT", S, S},  // delete child passed to files means nothing there
        {"CI", "DT", U, S}, {"SAFATPCR", "FA", U, U},
        {"XX", "FA", X, X}, {"O", "FA", X, X}, {"OII", "FA", X, X},
    };
    std::vector<Case> table;
    for (const auto& c : cases)
        table.push_back({"D:(A;" + std::string(c.flags) + ";" + c.rights + ";;;BU)", c.folder, c.file});
    ExpectAll(table);
}

TEST(FolderSafetyTest, MissingNullEmptyAndMalformedDacls) {
    ExpectAll({
        // No DACL: full access for everyone.
        {"D:NO_ACCESS_CONTROL", U, U}, {"D:PNO_ACCESS_CONTROL", U, U}, {"", U, U}, {"O:BAG:SY", U, U},
        {"S:(AU;SA;FA;;;WD)", U, U},
        // Empty: no access for anyone.
        {"D:", S, S}, {"D:P", S, S}, {"D:PAI", S, S}, {"D:ARAI", S, S}, {"O:BAD:P", S, S},
        {"D:(A;;FA;;;SY)S:NO_ACCESS_CONTROL", S, S},
        // Not a descriptor.
        {"D:(A;;FA;;;BU", X, X}, {"D:(A;;FA;;BU)", X, X}, {"D:(A;;FA)", X, X}, {"D:()", X, X},
        {"D:(A;;FA;;;)", X, X}, {"D:(A;;FA;;;BU)x", X, X}, {"D:(A;;FA;;;BU))", X, X}, {"D:(A;;FA;;;SY)(", X, X},
        {"D:(A;;FA;;;SY)D:(A;;FA;;;SY)", X, X}, {"X:", X, X}, {"D", X, X}, {":", X, X}, {"O:", X, X},
        {"O::D:", X, X}, {"G:D:", X, X}, {"O:BA(", X, X}, {"Q:BA", X, X}, {"D:XY", X, X},
        {"(A;;FA;;;BU)", X, X}, {"S:(AU;SA;FA;;;WD", X, X},
        // A SID at the very end of the text, read to its last character and no further.
        {"O:S", X, X}, {"O:BAG:S-1-0", U, U}, {"D:P(A;;FA;;;SY)junk", X, X}, {"D:(A;;FA;;;\"BU)", X, X},
        {std::string("D:(A;;FA;;;SY)\0(A;;FA;;;BU)", 27), X, X},
    });
}

// Cut anywhere, a descriptor is read without a fault: Unknown inside an entry or a
// part's name, else the verdict of the entries read so far.
TEST(FolderSafetyTest, TruncatedTextsAreUnknownInsideAnEntry) {
    for (size_t length = 1; length <= ProgramFilesFolder.size(); ++length) {
        const std::string cut = ProgramFilesFolder.substr(0, length);
        const bool whole = cut == "D:" || cut == "D:AI" || cut.back() == ')';
        EXPECT_EQ(CheckExact(cut, ObjectKind::Folder), whole ? S : X) << cut;
    }
    const std::string conditional = "O:BAD:(A;;FA;;;SY)(XA;;FA;;;BU;(@User.Dept==\"a;b)\" && (x || y)))S:(ML;;NW;;;LW)";
    for (size_t length = 0; length <= conditional.size(); ++length) {
        CheckExact(conditional.substr(0, length), ObjectKind::File);
        CheckExact(conditional.substr(length), ObjectKind::Folder);
    }
    EXPECT_EQ(CheckExact(conditional, ObjectKind::File), U);
}

TEST(FolderSafetyTest, AnyUnsafeObjectMakesTheFolderUnsafeUnknownDoesNot) {
    const struct { Verdict a, b, combined; } cases[] = {
        {S, S, S}, {S, U, U}, {U, S, U}, {U, U, U}, {X, U, U}, {U, X, U}, {X, S, X}, {S, X, X}, {X, X, X},
    };
    for (const auto& c : cases) {
        testing::Message pair;
        pair << static_cast<int>(c.a) << "," << static_cast<int>(c.b);
        EXPECT_EQ(Combined(c.a, c.b), c.combined) << pair;
    }
}

TEST(FolderSafetyTest, LoadedFilesAreNamedOnceEachWithTheExecutableAsItRuns) {
    std::vector<std::string> files = LoadedFiles("fan.exe");
    for (const std::string name : {"fan.exe", PawnIoRequest::ModuleFile, "WinIo.dll", "devcon.exe", "hdparm.exe"})
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
    EXPECT_EQ(std::find(files.begin(), files.end(), "vantu.exe"), files.end());
    EXPECT_EQ(std::find(files.begin(), files.end(), ""), files.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::adjacent_find(files.begin(), files.end()), files.end());
}

TEST(FolderSafetyTest, TextsNameTheFolderAndTheWayOut) {
    const std::string folder = "C:\\Users\\Tom\\Downloads\\vantu\\";
    const std::string box = AutostartRefusedText(folder);
    const std::string balloon = UnsafeFolderBalloonText(folder);
    for (const std::string& text : {box, balloon}) {
        EXPECT_NE(text.find(folder), std::string::npos) << text;
        EXPECT_NE(text.find("C:\\Program Files\\vantu"), std::string::npos) << text;
        EXPECT_NE(text.find("Autostart with Windows"), std::string::npos) << text;
        EXPECT_NE(text.find("administrator rights"), std::string::npos) << text;
        EXPECT_NE(text.find("on again"), std::string::npos) << text;
    }
    EXPECT_NE(box.find("\r\n" + folder + "\r\n"), std::string::npos) << box;  // the folder on its own line
    EXPECT_NE(box.find("not turned on"), std::string::npos) << box;
    for (size_t at = box.find('\n'); at != std::string::npos; at = box.find('\n', at + 1))
        EXPECT_EQ(box[at - 1], '\r') << "a line of the box ends in LF alone";
    EXPECT_LE(balloon.size(), BalloonLimit);
}

// The balloon holds 255 characters: a folder that fits exactly is shown whole, one
// character more and the folder loses its middle, keeping both ends.
TEST(FolderSafetyTest, BalloonShortensALongFolderInTheMiddle) {
    const size_t room = BalloonLimit - UnsafeFolderBalloonText("").size();
    ASSERT_GT(room, 40u);
    std::string deep = "C:\\";
    while (deep.size() < 2000)
        deep += "Folder" + std::to_string(deep.size()) + "\\";
    deep += "vantu\\";
    for (const size_t length : {room - 1, room, room + 1, room + 2, deep.size()}) {
        const std::string folder = deep.substr(deep.size() - length);  // always ends in "vantu\"
        const std::string text = UnsafeFolderBalloonText(folder);
        if (length <= room) {
            EXPECT_EQ(text.size(), BalloonLimit - room + length);
            EXPECT_NE(text.find(folder), std::string::npos);
            EXPECT_EQ(text.find("..."), std::string::npos);
            continue;
        }
        EXPECT_EQ(text.size(), BalloonLimit) << length;
        // What stands between the text's own words, where the whole folder stood.
        const size_t start = UnsafeFolderBalloonText("").find(", which");
        const std::string path = text.substr(start, room);
        const size_t dots = path.find("...");
        ASSERT_NE(dots, std::string::npos) << text;
        const std::string head = path.substr(0, dots), tail = path.substr(dots + 3);
        EXPECT_EQ(head, folder.substr(0, head.size())) << text;
        EXPECT_EQ(tail, folder.substr(folder.size() - tail.size())) << text;
        EXPECT_LE(tail.size() - head.size(), 1u) << text;  // both ends kept, the last folder's name too
        EXPECT_EQ(text.substr(start + room, 7), ", which") << text;
    }
}
