#include "system/AcpiEcPatch.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

using AcpiEcPatch::PatchedDriver;

const std::string kWrite = "IoWriteErrorLogEntry";
const std::string kFree = "IoFreeErrorLogEntry\0"s;

TEST(AcpiEcPatchTest, EveryOccurrenceIsReplacedInPlaceAndTheLengthKept) {
    const std::string pe = "MZ\x90\0\x03\0\0\0"s, tail = "\0\0IoAllocateErrorLogEntry\0"s;
    const struct { const char* name; std::string driver, patched; } cases[] = {
        {"twice", pe + kWrite + "\0\0"s + kWrite + tail, pe + kFree + "\0\0"s + kFree + tail},
        {"back to back", kWrite + kWrite, kFree + kFree},
        {"whole file", kWrite, kFree},
        {"at the end", pe + kWrite, pe + kFree},
        // A partial name before a whole one: only the whole one matches.
        {"prefix first", "IoWriteError" + kWrite, "IoWriteError" + kFree},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto patched = PatchedDriver(c.driver);
        ASSERT_TRUE(patched.has_value());
        EXPECT_EQ(*patched, c.patched);
        EXPECT_EQ(patched->size(), c.driver.size());
    }
}

TEST(AcpiEcPatchTest, ADriverWithoutTheWholeNameCannotBePatched) {
    for (const std::string& driver : {""s, "MZ\0\0"s, "IoWriteErrorLogEntr"s, "iowriteerrorlogentry"s,
                                      "IoWriteErrorLog\0Entry"s, kFree}) {
        EXPECT_FALSE(PatchedDriver(driver).has_value()) << driver;
    }
}

TEST(AcpiEcPatchTest, ImagePathCountsAsPatchedWhenItHoldsLowerCaseNolog) {
    const struct { std::string imagePath; bool patched; } cases[] = {
        {"system32\\DRIVERS\\acpiec_nolog.sys", true},
        {"system32\\DRIVERS\\acpiec_nolog.sys\0"s, true},  // REG_EXPAND_SZ keeps its NUL
        {"\\??\\C:\\nologger\\acpiec.sys", true},           // anywhere, inside any name
        {"system32\\DRIVERS\\acpiec.sys", false},
        {"system32\\DRIVERS\\acpiec_NOLOG.sys", false},
        {"caca", false},  // a missing value
        {"", false},      // a key that cannot be opened
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcpiEcPatch::IsPatchedImagePath(c.imagePath), c.patched) << c.imagePath;
}
}  // namespace
