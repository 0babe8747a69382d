#include "ec/EcModels.h"

namespace EcModels {

namespace {

// Order matters: a machine may start with the texts of several rows ("Aspire 1810TZ" starts
// with "Aspire 1810T" too), and the first one is taken.
constexpr EcModel Table[] = {
    // vendor        product             BIOS        fan   temp  off   auto  manual off
    {"Acer",         "AOA110",           "v0.3109",  0x55, 0x58, 0x1F, 0x00, false},
    {"Acer",         "AOA110",           "v0.3114",  0x55, 0x58, 0x1F, 0x00, false},
    {"Acer",         "AOA110",           "v0.3301",  0x55, 0x58, 0xAF, 0x00, false},
    {"Acer",         "AOA110",           "v0.3304",  0x55, 0x58, 0xAF, 0x00, false},
    {"Acer",         "AOA110",           "v0.3305",  0x55, 0x58, 0xAF, 0x00, false},
    {"Acer",         "AOA110",           "v0.3307",  0x55, 0x58, 0xAF, 0x00, false},
    {"Acer",         "AOA110",           "v0.3308",  0x55, 0x58, 0x21, 0x00, false},
    {"Acer",         "AOA110",           "v0.3309",  0x55, 0x58, 0x21, 0x00, false},
    {"Acer",         "AOA110",           "v0.3310",  0x55, 0x58, 0x21, 0x00, false},
    {"Acer",         "AOA150",           "v0.3114",  0x55, 0x58, 0x1F, 0x00, false},
    {"Acer",         "AOA150",           "v0.3301",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3304",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3305",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3307",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3308",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3309",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AOA150",           "v0.3310",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "LT-10Q",           "v0.3310",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3108",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3113",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3115",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3117",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3119",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v0.3120",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v1.3204",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v1.3303",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v1.3308",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v1.3310",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1410",      "v1.3314",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3108",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3108",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3113",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3113",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3115",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3115",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3117",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3117",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3119",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3119",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v0.3120",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v0.3120",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v1.3204",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v1.3204",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v1.3303",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v1.3303",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v1.3308",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v1.3308",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v1.3310",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v1.3310",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810TZ",    "v1.3314",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1810T",     "v1.3314",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 5755G",     "V1.20",    0xAB, 0xB4, 0x00, 0x08, false},
    {"Acer",         "Aspire 5755G",     "V1.21",    0xAB, 0xB3, 0x00, 0x08, false},
    {"Acer",         "AO521",            "V1.11",    0x55, 0x58, 0x1F, 0x00, false},
    {"Acer",         "AO531h",           "v0.3104",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AO531h",           "v0.3201",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AO531h",           "v0.3304",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "AO751h",           "V0.3206",  0x55, 0x58, 0x21, 0x00, false},
    {"Acer",         "AO751h",           "V0.3212",  0x55, 0x58, 0x21, 0x00, false},
    {"Acer",         "Aspire One 753",   "V1.24",    0x93, 0xAC, 0x14, 0x04, true},
    {"Acer",         "Aspire 1825PTZ",   "V1.3118",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Aspire 1825PTZ",   "V1.3127",  0x55, 0x58, 0x9E, 0x00, false},
    {"Acer",         "Extensa 5420",     "V1.17",    0x93, 0xAC, 0x14, 0x04, true},
    {"Acer",         "Aspire 5315",      "V1.19",    0x93, 0xAC, 0x14, 0x04, true},
    {"Acer",         "Aspire 5739G",     "V1.3311",  0x55, 0x58, 0x20, 0x00, false},
    {"Acer",         "TravelMate 7730G", "v0.3509",  0x55, 0x58, 0xAF, 0x00, false},
    {"Acer",         "Aspire 7551",      "V1.18",    0x93, 0xA8, 0x14, 0x04, true},
    {"Acer",         "TM8573T",          "V1.13",    0x93, 0xA8, 0x14, 0x04, true},
    {"Gateway",      "AOA110",           "v0.3103",  0x55, 0x58, 0x21, 0x00, false},
    {"Gateway",      "AOA150",           "v0.3103",  0x55, 0x58, 0x20, 0x00, false},
    {"Gateway",      "LT31",             "v1.3103",  0x55, 0x58, 0x9E, 0x00, false},
    {"Gateway",      "LT31",             "v1.3201",  0x55, 0x58, 0x9E, 0x00, false},
    {"Gateway",      "LT31",             "v1.3302",  0x55, 0x58, 0x9E, 0x00, false},
    {"Gateway",      "LT31",             "v1.3303t", 0x55, 0x58, 0x9E, 0x00, false},
    {"Gateway",      "LT31",             "v1.3307",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOA150",           "v0.3104",  0x55, 0x58, 0x21, 0x00, false},
    {"Packard Bell", "DOA150",           "v0.3105",  0x55, 0x58, 0x20, 0x00, false},
    {"Packard Bell", "AOA110",           "v0.3105",  0x55, 0x58, 0x21, 0x00, false},
    {"Packard Bell", "AOA150",           "v0.3105",  0x55, 0x58, 0x20, 0x00, false},
    {"Packard Bell", "ENBFT",            "V1.3118",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "ENBFT",            "V1.3127",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v1.3303",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3120",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3108",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3113",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3115",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3117",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v0.3119",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMU",            "v1.3204",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMA",            "v1.3201",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMA",            "v1.3302",  0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTMA",            "v1.3303t", 0x55, 0x58, 0x9E, 0x00, false},
    {"Packard Bell", "DOTVR46",          "v1.3308",  0x55, 0x58, 0x9E, 0x00, false},
};

}  // namespace

bool MachineIdentity::Known() const {
    return !WithoutTrailingBlanks(Manufacturer).empty() && !WithoutTrailingBlanks(Product).empty() &&
           !WithoutTrailingBlanks(BiosVersion).empty();
}

std::span<const EcModel> Models() { return Table; }

const EcModel* FindModel(const MachineIdentity& machine) {
    for (const EcModel& row : Table)
        if (machine.Manufacturer.starts_with(row.Vendor) && machine.Product.starts_with(row.Product) &&
            machine.BiosVersion.starts_with(row.BiosVersion))
            return &row;
    return nullptr;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    const size_t last = text.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace EcModels
