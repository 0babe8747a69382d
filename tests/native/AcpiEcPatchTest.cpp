#include "system/AcpiEcPatch.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using namespace AcpiEcPatch;

const std::string kWrite = "IoWriteErrorLogEntry";
const std::string kFree = "IoFreeErrorLogEntry\0"s;

// Every whole occurrence is replaced in place; without one the driver cannot be patched.
TEST(AcpiEcPatchTest, PatchedDriverReplacesEveryWholeName) {
    const std::string pe = "MZ\x90\0\x03\0\0\0"s, tail = "\0\0IoAllocateErrorLogEntry\0"s;
    const struct { std::string driver; std::optional<std::string> patched; } cases[] = {
        {pe + kWrite + "\0\0"s + kWrite + tail, pe + kFree + "\0\0"s + kFree + tail},
        {kWrite + kWrite, kFree + kFree}, {kWrite, kFree}, {pe + kWrite, pe + kFree},
        {"IoWriteError" + kWrite, "IoWriteError" + kFree},  // a partial name first
        {"", {}}, {"MZ\0\0"s, {}}, {"IoWriteErrorLogEntr", {}}, {"iowriteerrorlogentry", {}},
        {"IoWriteErrorLog\0Entry"s, {}}, {kFree, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PatchedDriver(c.driver), c.patched) << testing::PrintToString(c.driver);
}

TEST(AcpiEcPatchTest, ImagePathCountsAsPatchedWhenItHoldsLowerCaseNolog) {
    const struct { std::string imagePath; bool patched; } cases[] = {
        {"system32\\DRIVERS\\acpiec_nolog.sys", true},
        {"system32\\DRIVERS\\acpiec_nolog.sys\0"s, true},  // REG_EXPAND_SZ keeps its NUL
        {"\\??\\C:\\nologger\\acpiec.sys", true},           // anywhere, inside any name
        {"system32\\DRIVERS\\acpiec.sys", false}, {"system32\\DRIVERS\\acpiec_NOLOG.sys", false},
        {"caca", false}, {"", false},  // a missing value, a key that cannot be opened
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPatchedImagePath(c.imagePath), c.patched) << c.imagePath;
}
