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

// Only the folders that only administrators change; one the system could not tell is
// left out rather than taken as "" (the current directory).
TEST(CommandSearchTest, FoldersAreTheProgramsTheSystemsAndWindowsOnly) {
    EXPECT_EQ(CommandSearch::SearchFolders("C:\\Tools\\", "C:\\WINDOWS\\system32", "C:\\WINDOWS"),
              (Strings{"C:\\Tools\\", "C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\"}));
    EXPECT_EQ(CommandSearch::SearchFolders("C:\\Tools\\", "", "system32"), Strings{"C:\\Tools\\"});
}

// A command's PATH holds only the given folders, whatever the block held before.
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
