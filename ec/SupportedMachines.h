#pragma once
// The README's list of supported machines, written from the model table itself so that
// the table is never typed twice.
#include "ec/EcModels.h"

#include <span>
#include <string>

namespace SupportedMachines {

// A Markdown table, one line per row in the table's order: manufacturer, product, BIOS
// version (prefix), fan and temperature registers, off and auto bytes, the extra off write.
std::string Markdown(std::span<const EcModels::EcModel> rows = EcModels::Models());

// Markdown list items, one per byte where an Acer AOA110 or AOA150 row differs from the
// byte the program writes by the BIOS number of the row's version text (the digits after
// its last '.'), e.g. "- AOA150 BIOS v0.3305: acerhdf writes 0x20 for off, vantu 0xAF";
// empty when none differs.
std::string BiosNumberDifferences(std::span<const EcModels::EcModel> rows = EcModels::Models());

}  // namespace SupportedMachines
