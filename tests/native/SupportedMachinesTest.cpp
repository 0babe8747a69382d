#include "ec/SupportedMachines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace SupportedMachines;

TEST(SupportedMachines, MarkdownTableOneLinePerRowInOrder) {
    const EcModels::EcModel rows[] = {{"Acer", "AO751h", "V0.3206", 0x55, 0x58, 0x21, 0x00, false},
                                      {"Acer", "Aspire One 753", "V1.24", 0x93, 0xac, 0x14, 0x04, true}};
    EXPECT_EQ(Markdown(rows),
              "| Manufacturer | Product | BIOS version (prefix) | Fan register | Temperature register | Off byte "
              "| Auto byte | Extra off write |\n"
              "|---|---|---|---|---|---|---|---|\n"
              "| Acer | AO751h | V0.3206 | 0x55 | 0x58 | 0x21 | 0x00 |  |\n"
              "| Acer | Aspire One 753 | V1.24 | 0x93 | 0xAC | 0x14 | 0x04 | 0xFF to 0x94 |\n");
    const std::string whole = Markdown();
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 2 + 93);
}

// The table's AOA110 bytes 0xAF (3301, 3304) and 0x21 (3308 on), and AOA150 0x20 from 3305 on,
// against 0x20 to 3304 and 0xAF from 3305 by number.
TEST(SupportedMachines, DifferencesFromTheBytesByBiosNumber) {
    EXPECT_EQ(BiosNumberDifferences(), "- AOA110 BIOS v0.3301: acerhdf writes 0xAF for off, vantu 0x20\n"
                                       "- AOA110 BIOS v0.3304: acerhdf writes 0xAF for off, vantu 0x20\n"
                                       "- AOA110 BIOS v0.3308: acerhdf writes 0x21 for off, vantu 0xAF\n"
                                       "- AOA110 BIOS v0.3309: acerhdf writes 0x21 for off, vantu 0xAF\n"
                                       "- AOA110 BIOS v0.3310: acerhdf writes 0x21 for off, vantu 0xAF\n"
                                       "- AOA150 BIOS v0.3305: acerhdf writes 0x20 for off, vantu 0xAF\n"
                                       "- AOA150 BIOS v0.3307: acerhdf writes 0x20 for off, vantu 0xAF\n"
                                       "- AOA150 BIOS v0.3308: acerhdf writes 0x20 for off, vantu 0xAF\n"
                                       "- AOA150 BIOS v0.3309: acerhdf writes 0x20 for off, vantu 0xAF\n"
                                       "- AOA150 BIOS v0.3310: acerhdf writes 0x20 for off, vantu 0xAF\n");
    // The number is after the last '.'; a model whose bytes are written as they are has no difference.
    const EcModels::EcModel rows[] = {{"Acer", "AOA150", "v1.2.3305", 0x55, 0x58, 0xAF, 0x01, false},
                                      {"Gateway", "AOA150", "v0.3103", 0x55, 0x58, 0xAF, 0x01, false}};
    EXPECT_EQ(BiosNumberDifferences(rows), "- AOA150 BIOS v1.2.3305: acerhdf writes 0x01 for auto, vantu 0x00\n");
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
