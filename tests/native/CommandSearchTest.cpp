#include "system/CommandSearch.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

TEST(CommandSearchTest, ProgramNameIsTheFirstWordOrTheQuotedText) {
    const struct { const char* line; const char* name; } cases[] = {
        {"devcon find \"USB\\VID_0C45*\"", "devcon"}, {"hdparm\t-B 254 hda", "hdparm"}, {"powercfg", "powercfg"},
        {"\"C:\\Program Files\\devcon.exe\" status", "C:\\Program Files\\devcon.exe"},
        {"\"unclosed name", "unclosed name"}, {"", ""},
        {" devcon", ""}, {"\"\" devcon", ""},  // a leading blank or empty quotes name no program
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandSearch::ProgramName(c.line), c.name) << c.line;
}

// Own, system and Windows folders first; of PATH only what cannot mean the current
// directory or drive.
TEST(CommandSearchTest, FoldersInOrderWithoutAnyRelativeOne) {
    EXPECT_EQ(CommandSearch::SearchFolders(
                  "C:\\Tools\\", "C:\\WINDOWS\\system32", "C:\\WINDOWS",
                  ".;;C:\\bin;bin;\\rooted;D:relative;\"C:\\Program Files\\x\";\\\\server\\share\\;"
                  "E:/unix/;F:\\;\\\\;G:"),
              (Strings{"C:\\Tools\\", "C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\", "C:\\bin\\",
                       "C:\\Program Files\\x\\", "\\\\server\\share\\", "E:/unix/", "F:\\", "\\\\"}));
    // A folder the system could not tell is left out rather than taken as "".
    EXPECT_EQ(CommandSearch::SearchFolders("C:\\Tools\\", "", "", ""), Strings{"C:\\Tools\\"});
}

TEST(CommandSearchTest, CandidatesAddExeOnlyWithoutExtensionAndRefuseRelativePaths) {
    const Strings folders{"C:\\Tools\\", "C:\\WINDOWS\\system32\\"};
    const struct { const char* name; Strings paths; } cases[] = {
        {"devcon", {"C:\\Tools\\devcon.exe", "C:\\WINDOWS\\system32\\devcon.exe"}},
        {"devcon.com", {"C:\\Tools\\devcon.com", "C:\\WINDOWS\\system32\\devcon.com"}},
        {"C:\\v1.2\\devcon", {"C:\\v1.2\\devcon.exe"}}, {"C:\\bin\\devcon.exe", {"C:\\bin\\devcon.exe"}},
        {".\\devcon", {}}, {"bin\\devcon", {}}, {"..\\devcon.exe", {}}, {"D:devcon", {}}, {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandSearch::CandidatePaths(c.name, folders), c.paths) << c.name;
}
