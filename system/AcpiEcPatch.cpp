#include "system/AcpiEcPatch.h"

namespace AcpiEcPatch {

std::optional<std::string> PatchedDriver(std::string_view driver) {
    std::string patched(driver);
    size_t at = patched.find(SearchText);
    if (at == std::string::npos)
        return std::nullopt;
    for (; at != std::string::npos; at = patched.find(SearchText, at + SearchText.size()))
        patched.replace(at, SearchText.size(), Replacement);
    return patched;
}

bool IsPatchedImagePath(std::string_view imagePath) {
    return imagePath.find("nolog") != std::string_view::npos;
}

}  // namespace AcpiEcPatch
