#include "system/WidePath.h"

#include <algorithm>

namespace WidePath {

namespace {

// Windows' own limit for a path without the prefix, less the 12 characters that
// CreateDirectory keeps for an 8.3 name: any longer one takes the prefix.
constexpr size_t kPlainLimit = 260 - 12;

}  // namespace

std::wstring Extended(std::wstring_view path) {
    std::wstring text(path);
    if (text.size() < kPlainLimit || text.rfind(L"\\\\?\\", 0) == 0)
        return text;
    std::replace(text.begin(), text.end(), L'/', L'\\');
    if (text.size() > 2 && text[1] == L':' && text[2] == L'\\')
        return L"\\\\?\\" + text;
    if (text.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + text.substr(2);
    return text;
}

std::wstring TemporaryBeside(std::wstring_view target, uint32_t number) {
    const size_t separator = target.find_last_of(L"\\/");
    std::wstring name = L"~vantu-";
    for (int shift = 28; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[number >> shift & 0xF];
    return std::wstring(separator == std::wstring_view::npos ? std::wstring_view() : target.substr(0, separator + 1)) +
           name + L".tmp";
}

}  // namespace WidePath
