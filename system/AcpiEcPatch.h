#pragma once
// The ACPIEC driver patch decided without touching files or the registry: the byte
// transform, what counts as patched, and the fixed texts, so each is tested natively.
#include <optional>
#include <string>
#include <string_view>

namespace AcpiEcPatch {

// The import the driver logs its events with, and its same-length stand-in: the
// patched driver frees each entry it prepared instead of writing it.
inline constexpr std::string_view SearchText = "IoWriteErrorLogEntry";
inline constexpr std::string_view Replacement{"IoFreeErrorLogEntry\0", 20};
static_assert(SearchText.size() == Replacement.size());

// Relative to the Windows folder; "ImagePath" holds them as they stand.
inline constexpr const char* DriversFolder = "system32\\DRIVERS\\";
inline constexpr const char* DriverFile = "acpiec.sys";
inline constexpr const char* PatchedDriverFile = "acpiec_nolog.sys";

inline constexpr const char* ServiceKey = "SYSTEM\\ControlSet001\\Services\\ACPIEC";
inline constexpr const char* ImagePathValue = "ImagePath";

inline constexpr const char* RestartMessage =
    "You must restart your computer to make the changes take effect!";
inline constexpr const char* FailureMessage = "Unexpected error, can't patch acpiec.sys";

// The first start's offer, caption "Warning", Yes and No.
inline constexpr const char* QuestionCaption = "Warning";
inline constexpr const char* Question =
    "Your ACPIEC driver is not patched :\r\n"
    "\r\n"
    "It is recommanded to patch it to prevent constant log writing, especially if you "
    "have a SSD.\r\n"
    "This should be completely safe, and can be undone later in the configuration dialog.\r\n"
    "\r\n"
    "Do you want to patch it now?";

// The driver with every occurrence of SearchText replaced, every other byte in its
// place; nothing when the text does not occur (another version of the driver).
std::optional<std::string> PatchedDriver(std::string_view driver);

// The service uses a patched copy when its image path holds "nolog" (case-sensitive).
bool IsPatchedImagePath(std::string_view imagePath);

}  // namespace AcpiEcPatch
