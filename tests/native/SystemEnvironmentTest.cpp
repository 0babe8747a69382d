#include "system/SystemEnvironment.h"

#include <gtest/gtest.h>

using namespace SystemEnvironment;
using namespace std::string_literals;

// A command's environment and the program's own come from the system's values alone:
// sorted by name, the WOW64 variable only under WOW64, no TEMP or TMP; Program Files
// removed from the program's own where the registry did not say, __COMPAT_LAYER always.
TEST(SystemEnvironmentTest, CommandsAndTheProgramGetTheSystemsValues) {
    Facts facts{"C:\\WINDOWS", "C:\\WINDOWS\\system32", "", 2, "C:\\Program Files", "C:\\Program Files\\Common Files"};
    const std::string common = "OS=Windows_NT\0PATH=C:\\WINDOWS\\system32;C:\\WINDOWS\0PROCESSOR_ARCHITECTURE=x86\0"s;
    const std::string system = "SystemDrive=C:\0SystemRoot=C:\\WINDOWS\0windir=C:\\WINDOWS\0\0"s;
    EXPECT_EQ(CommandBlock(facts), "ComSpec=C:\\WINDOWS\\system32\\cmd.exe\0NUMBER_OF_PROCESSORS=2\0"s + common + system);
    facts.nativeArchitecture = "AMD64";
    facts.processors = 12;
    EXPECT_EQ(CommandBlock(facts), "ComSpec=C:\\WINDOWS\\system32\\cmd.exe\0NUMBER_OF_PROCESSORS=12\0"s + common +
                                       "PROCESSOR_ARCHITEW6432=AMD64\0"s + system);
    facts.commonFiles = "";
    EXPECT_EQ(OwnVariables(facts),
              (Variables{{"PATH", "C:\\WINDOWS\\system32;C:\\WINDOWS"}, {"SystemRoot", "C:\\WINDOWS"},
                         {"windir", "C:\\WINDOWS"}, {"SystemDrive", "C:"}, {"ComSpec", "C:\\WINDOWS\\system32\\cmd.exe"},
                         {"ProgramFiles", "C:\\Program Files"}, {"CommonProgramFiles", ""}, {"__COMPAT_LAYER", ""}}));
}
