#include "ec/SupportedMachines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace SupportedMachines;

// The table and this list in full are the README's (checked below). The number is after the last '.'; a
// model whose bytes are written as they are has no difference.
TEST(SupportedMachines, DifferencesFromTheBytesByBiosNumber) {
    const EcModels::EcModel rows[] = {{"Acer", "AOA150", "v1.2.3305", 0x55, 0x58, 0x20, 0x01, false},
                                      {"Gateway", "AOA150", "v0.3103", 0x55, 0x58, 0xAF, 0x01, false}};
    EXPECT_EQ(BiosNumberDifferences(rows), "- AOA150 BIOS v1.2.3305: acerhdf writes 0x20 for off, vantu 0xAF\n"
                                           "- AOA150 BIOS v1.2.3305: acerhdf writes 0x01 for auto, vantu 0x00\n");
}

// The README's list is the table's own. When it differs, the test writes the README with
// the list as it should be to README.md.new in its working folder.
TEST(SupportedMachines, TheReadmeListsTheTable) {
#ifdef _WIN32
    const std::string readme = "Z:" VANTU_SOURCE_DIR "/README.md";  // run under Wine
#else
    const std::string readme = VANTU_SOURCE_DIR "/README.md";
#endif
    std::ostringstream read;
    read << std::ifstream(readme, std::ios::binary).rdbuf();
    std::string text = read.str();
    const std::string begin = "<!-- written from the model table by tests/native/SupportedMachinesTest.cpp -->\n";
    const std::string end = "<!-- end of the model table -->\n";
    const size_t from = text.find(begin), to = text.find(end);
    ASSERT_TRUE(from != std::string::npos && to != std::string::npos && from < to) << readme << " has no list";
    const std::string list = Markdown() + "\nWhere acerhdf's bytes differ from the Aspire One's own by BIOS number:\n\n" +
                             BiosNumberDifferences();
    if (text.substr(from + begin.size(), to - from - begin.size()) != list) {
        std::ofstream("README.md.new", std::ios::binary) << text.replace(from + begin.size(), to - from - begin.size(), list);
        FAIL() << "the README's list of machines is not the table's: README.md.new has it";
    }
}
