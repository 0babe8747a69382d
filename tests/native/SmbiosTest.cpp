#include "ec/Smbios.h"

#include <gtest/gtest.h>

#include <random>

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

namespace {

// A structure: type, length, handle, the fields after the header, its strings, the closing NUL.
Bytes Structure(uint8_t type, const Bytes& fields, const Texts& strings = {}) {
    Bytes bytes{type, uint8_t(4 + fields.size()), 0x34, 0x12};
    bytes.insert(bytes.end(), fields.begin(), fields.end());
    for (const std::string& text : strings) bytes.insert(bytes.end(), text.c_str(), text.c_str() + text.size() + 1);
    bytes.resize(bytes.size() + (strings.empty() ? 2 : 1));
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const Bytes& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

Bytes With(Bytes bytes, size_t at, uint8_t value) { return bytes[at] = value, bytes; }
Bytes Cut(const Bytes& bytes, size_t dropped) { return Bytes(bytes.begin(), bytes.end() - dropped); }

// GetSystemFirmwareTable's header: calling method, SMBIOS 2.7, DMI revision, the length.
Bytes Raw(uint32_t n, const Bytes& table) {
    return Join({{0, 2, 7, 0, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}, table});
}

Texts Fields(const EcModels::MachineIdentity& m) { return {m.Manufacturer, m.Product, m.BiosVersion}; }

// Baseboard strings that look like the wanted ones, a structure of the header only, then the two.
const Bytes Baseboard = Structure(2, {1, 2}, {"Acer", "JV01"}), Bare = Structure(32, {});
const Bytes Bios = Structure(0, {1, 2, 0x00, 0xE0, 3, 0x0F}, {"Phoenix", "V0.3206  ", "06/04/2009"});
const Bytes System = Structure(1, {1, 2, 3, 4}, {"Acer", "AO751h\t", "V1", "LUS"});
const Bytes End = Structure(127, {}), Good = Join({Baseboard, Bare, Bios, System, End});
const Texts Whole{"Acer", "AO751h", "V0.3206"}, BiosOnly{"", "", "V0.3206"}, None{"", "", ""};

}  // namespace

TEST(Smbios, FirstBiosAndSystemStructuresWhateverElseTheTableHolds) {
    const struct { const char* Name; Bytes Table; Texts Expected; } cases[] = {
        {"good", Good, Whole},
        // System first, a second structure of each kind, no end of table.
        {"others after", Join({System, Bios, Structure(0, {1, 1}, {"X"}), Structure(1, {1, 1}, {"X"})}), Whole},
        {"end before system", Join({Bios, End, System}), BiosOnly},
        // A string set ends at its double NUL, not at the next structure's bytes.
        {"index past and 0", Join({Bios, Structure(1, {3, 0}, {"Acer"}), Baseboard}), BiosOnly},
        {"fields just fit", Join({Structure(0, {1, 2}, {"P", "V0.3206"}), Structure(1, {1, 2}, {"Acer", "AO751h"})}),
         Whole},
        // The byte after the formatted area is a string's, even one that looks like an index.
        {"one field short", Join({Structure(0, {2}, {"\x02", "V0.3206"}), Structure(1, {1}, {"Acer", "AO751h"})}),
         {"Acer", "", ""}},
        {"header cut", {0, 6, 0}, None},
        {"length 3", With(Good, 1, 3), None},
        {"system's length past the end", Join({Bios, With(System, 1, 0xFF)}), BiosOnly},
        {"system's header cut", Cut(Join({Bios, System}), System.size() - 3), BiosOnly},
        {"one closing NUL", Cut(Join({Bios, System}), 1), BiosOnly},
    };
    for (const auto& c : cases) EXPECT_EQ(Fields(Smbios::ReadIdentity(c.Table)), c.Expected) << c.Name;
}

TEST(Smbios, RawTableLengthWithinTheData) {
    // Over 256 bytes, so that the length's second byte counts.
    const Bytes table = Join({Structure(11, {1}, {std::string(300, 'x')}), Good});
    const uint32_t size = uint32_t(table.size());
    const struct { const char* Name; Bytes Data; Texts Expected; } cases[] = {
        {"exact", Raw(size, table), Whole},
        {"bytes after the table", Join({Raw(size, table), {1, 2, 3}}), Whole},
        {"system outside", Raw(uint32_t(Bios.size() + System.size() - 1), Join({Bios, System})), BiosOnly},
        {"one past", Raw(size + 1, table), None},          {"far past", Raw(size + 0x01000000, table), None},
        {"no table", Raw(0, {}), None},                    {"header cut", Cut(Raw(0, {}), 1), None},
    };
    for (const auto& c : cases) EXPECT_EQ(Fields(Smbios::ReadIdentityFromRawSmbios(c.Data)), c.Expected) << c.Name;
}

// Flipped bytes, cut tables, wrong lengths and random bytes, each in a buffer of its exact size so
// that the sanitizer sees a read past the end; a field is empty or bytes of the input, trimmed.
TEST(Smbios, AnyInputGivesOnlyStringsOfTheInput) {
    std::mt19937 random(7);
    const auto below = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    const uint8_t alphabet[] = {0, 0, 1, 2, 4, 5, 6, 127, 'A', ' '};
    const size_t bios = Baseboard.size() + Bare.size(),
                 starts[] = {0, Baseboard.size(), bios, bios + Bios.size(), Good.size() - End.size()};
    int known = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes table = Good;
        if (round % 4 == 0)
            for (size_t flips = 1 + below(4); flips > 0; --flips) table[below(table.size())] = uint8_t(random());
        else if (round % 4 == 1)
            table.resize(below(table.size() + 1));
        else if (round % 4 == 2)
            table[1 + starts[below(std::size(starts))]] = uint8_t(below(256));
        else
            for (table.resize(below(48)); uint8_t& byte : table) byte = alphabet[below(std::size(alphabet))];
        const Bytes input(table.begin(), table.end());
        const EcModels::MachineIdentity machine = Smbios::ReadIdentity(input);
        const std::string_view bytes(reinterpret_cast<const char*>(input.data()), input.size());
        for (const std::string& field : Fields(machine))
            ASSERT_TRUE(field.empty() || (bytes.find(field) != bytes.npos &&
                                          EcModels::WithoutTrailingBlanks(field).size() == field.size()))
                << "round " << round << ": " << field;
        known += machine.Known();
    }
    EXPECT_GT(known, 500);  // the walk reaches the strings often enough to matter
}
