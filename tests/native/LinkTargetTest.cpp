#include "settings/LinkTarget.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

void Put(std::string& bytes, size_t at, uint32_t value, size_t count) {
    for (size_t i = 0; i < count; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// A shell link as Windows and Wine write one: the 76-byte header with the shell link's
// class, an item ID list of that many bytes when the flags say so, a LinkInfo block with
// the two paths (no volume ID: it is not read), and the terminal block.
std::string Link(uint32_t flags, size_t idList, uint32_t infoFlags, const std::string& base, const std::string& suffix) {
    std::string bytes(76, '\0'), info(28, '\0');
    Put(bytes, 0, 76, 4);
    Put(bytes, 4, 0x00021401, 4);
    Put(bytes, 20, flags, 4);
    if (flags & 1) {
        bytes += std::string(2 + idList, '\x7F');
        Put(bytes, 76, uint32_t(idList), 2);
    }
    Put(info, 8, infoFlags, 4);
    Put(info, 16, 28, 4);
    Put(info, 24, uint32_t(29 + base.size()), 4);
    info += base + '\0' + suffix + '\0';
    Put(info, 0, uint32_t(info.size()), 4);
    return bytes + info + std::string(4, '\0');
}

}  // namespace

// The local path and its suffix, past an item ID list or without one; nothing for a
// link without a local path, nor for one cut anywhere.
TEST(LinkTargetTest, TheLocalPathAsTheLinkInfoStoresIt) {
    const std::string target = "C:\\Program Files\\vantu\\vantu.exe";
    EXPECT_EQ(LinkTarget(Link(2, 0, 1, target, "")), target);
    EXPECT_EQ(LinkTarget(Link(3, 300, 1, target, "")), target);
    EXPECT_EQ(LinkTarget(Link(2, 0, 1, "C:\\Tools\\", "vantu.exe")), "C:\\Tools\\vantu.exe");
    EXPECT_EQ(LinkTarget(Link(1, 2, 1, target, "")), "");  // no LinkInfo
    EXPECT_EQ(LinkTarget(Link(2, 0, 2, target, "")), "");  // a network path only
    EXPECT_EQ(LinkTarget("\x50" + Link(2, 0, 1, target, "").substr(1)), "");  // not a link's header
    const std::string whole = Link(3, 37, 1, target, "");
    for (size_t length = 0; length < whole.size() - 4; ++length)
        EXPECT_EQ(LinkTarget(whole.substr(0, length)), "") << length;
    std::string outside = whole;
    Put(outside, 76 + 2 + 37 + 16, 4000, 4);  // the path's offset past the block
    EXPECT_EQ(LinkTarget(outside), "");
}
