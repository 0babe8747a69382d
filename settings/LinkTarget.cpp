#include "settings/LinkTarget.h"

#include <cstdint>

namespace {

constexpr uint32_t HeaderSize = 0x4C, HasIdList = 0x1, HasLinkInfo = 0x2, VolumeIdAndLocalBasePath = 0x1;

uint32_t Read(std::string_view bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The NUL-terminated text at `at` within `block`; nothing when it runs past its end.
bool TextAt(std::string_view block, size_t at, std::string& text) {
    const size_t end = at < block.size() ? block.find('\0', at) : std::string_view::npos;
    if (end == std::string_view::npos)
        return false;
    text = block.substr(at, end - at);
    return true;
}

}  // namespace

std::string LinkTarget(std::string_view bytes) {
    if (bytes.size() < HeaderSize || Read(bytes, 0, 4) != HeaderSize)
        return "";
    const uint32_t flags = Read(bytes, 20, 4);
    size_t at = HeaderSize;
    if (flags & HasIdList) {
        if (bytes.size() - at < 2)
            return "";
        at += 2 + Read(bytes, at, 2);
    }
    if (!(flags & HasLinkInfo) || at > bytes.size() || bytes.size() - at < 28)
        return "";
    const uint32_t size = Read(bytes, at, 4);
    if (size < 28 || size > bytes.size() - at)
        return "";
    const std::string_view info = bytes.substr(at, size);
    std::string base, suffix;
    if (!(Read(info, 8, 4) & VolumeIdAndLocalBasePath) || !TextAt(info, Read(info, 16, 4), base) ||
        !TextAt(info, Read(info, 24, 4), suffix))
        return "";
    return base + suffix;
}
