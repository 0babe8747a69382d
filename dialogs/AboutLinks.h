#pragma once
// Who made vantu and where to find them: named once, for the About dialog.
namespace AboutLinks {

inline constexpr const char* Author = "the vantu developers";
inline constexpr const char* Site = "https://vantu.example.org/";
inline constexpr const char* Donate = "https://vantu.example.org/donate";

}  // namespace AboutLinks
