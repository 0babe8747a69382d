// The driver patch against the Wine prefix's own drivers folder and registry: the
// copy's bytes, the service's "ImagePath", and what a failure leaves.
#include "system/modAcpiECPatch.h"

#include <gtest/gtest.h>

#include "support/DriverFiles.h"
#include "system/AcpiEcPatch.h"
#include "system/Handle.h"
#include "system/modRegistry.h"

using namespace std::string_literals;

namespace {

using AcpiEcPatch::FailureMessage, AcpiEcPatch::RestartMessage;
using modAcpiECPatch::IsACPIECPatched, modAcpiECPatch::PatchACPIEC, modAcpiECPatch::UnpatchACPIEC;

const std::string kWrite = "IoWriteErrorLogEntry", kFree = "IoFreeErrorLogEntry\0"s;
const std::string kHead = "MZ\x90\0\x03\0\0\0PE\0\0"s, kTail = "\0IoAllocateErrorLogEntry\0"s;
const std::string kDriver = kHead + kWrite + "\0\0"s + kWrite + kTail, kPatched = kHead + kFree + "\0\0"s + kFree + kTail;

std::optional<std::string> Copy() { return DriverFiles::Read(DriverFiles::PatchedPath()); }
std::string ImagePath() { return DriverFiles::StoredImagePath(); }

// Writes half of the bytes, then fails as a full disk would.
bool FailHalfWay(HANDLE file, std::string_view bytes) {
    WriteAllBytes(file, bytes.substr(0, bytes.size() / 2));
    return false;
}

// The prefix has no ACPIEC service; no new file may be left beside the copy
// afterwards, whatever happened.
class AcpiEcPatchTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey);
        DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    }
    void TearDown() override { EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath() + ".new")); }
    const DriverFiles files_;
};

// Both names replaced in the copy, the length kept, the original untouched; a longer
// copy from an earlier run replaced by exactly the patched bytes. Without the service
// key only the copy is written.
TEST_F(AcpiEcPatchTest, PatchWritesTheCopyAndPointsTheServiceAtItAndUnpatchPointsBack) {
    DriverFiles::Write(DriverFiles::PatchedPath(), std::string(3 * kDriver.size(), 'x'));
    EXPECT_STREQ(PatchACPIEC(), RestartMessage);
    EXPECT_EQ(Copy(), kPatched);
    EXPECT_FALSE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey));
    const DriverFiles::ImagePath service(DriverFiles::Unpatched);
    EXPECT_FALSE(IsACPIECPatched());
    EXPECT_STREQ(PatchACPIEC(), RestartMessage);
    EXPECT_EQ(DriverFiles::Read(DriverFiles::DriverPath()), kDriver);
    EXPECT_EQ(ImagePath(), "1:system32\\DRIVERS\\acpiec_nolog.sys\0"s);
    EXPECT_TRUE(IsACPIECPatched());
    EXPECT_STREQ(UnpatchACPIEC(), RestartMessage);
    EXPECT_EQ(ImagePath(), "1:system32\\DRIVERS\\acpiec.sys\0"s);
    EXPECT_FALSE(IsACPIECPatched());
    EXPECT_EQ(Copy(), kPatched);  // the copy stays
}

// The running driver is whatever "ImagePath" names at the next start: a failure must
// leave it, and any copy it names, as they were: no driver to read, none to patch, a
// write that fails part-way, a copy in use by a program that does not share its
// deletion (a scanner).
TEST_F(AcpiEcPatchTest, AFailureLeavesTheCopyAndTheServiceAsTheyWere) {
    const std::string earlier = kPatched + "earlier";
    const struct { const char* name; std::optional<std::string> driver; const char* imagePath;
                   std::optional<std::string> copy; ByteWriter write; bool copyInUse; } cases[] = {
        {"no driver", std::nullopt, DriverFiles::Unpatched, std::nullopt, WriteAllBytes, false},
        {"nothing to patch", kHead + kTail, DriverFiles::Unpatched, std::nullopt, WriteAllBytes, false},
        {"part-way, first patch", kDriver, DriverFiles::Unpatched, std::nullopt, FailHalfWay, false},
        {"part-way, patched before", kDriver, DriverFiles::Patched, earlier, FailHalfWay, false},
        {"copy in use", kDriver, DriverFiles::Patched, earlier, WriteAllBytes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DriverFiles::ImagePath service(c.imagePath);
        const std::string imagePath = ImagePath();
        for (const auto& [path, bytes] : {std::pair{DriverFiles::DriverPath(), c.driver}, {DriverFiles::PatchedPath(), c.copy}}) {
            DeleteFileA(path.c_str());
            if (bytes)
                DriverFiles::Write(path, *bytes);
        }
        const Handle user(c.copyInUse ? CreateFileA(DriverFiles::PatchedPath().c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
                                      : nullptr);
        EXPECT_STREQ(PatchACPIEC(c.write), FailureMessage);
        EXPECT_EQ(Copy(), c.copy);
        EXPECT_EQ(ImagePath(), imagePath);
    }
}

}  // namespace
