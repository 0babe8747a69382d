// The driver patch against the Wine prefix's own drivers folder and registry: the
// copy's bytes, the service's "ImagePath", and what a failure leaves.
#include "system/modAcpiECPatch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "support/DriverFiles.h"
#include "system/AcpiEcPatch.h"
#include "system/modRegistry.h"

using namespace std::string_literals;

namespace {

using AcpiEcPatch::FailureMessage, AcpiEcPatch::RestartMessage;
using modAcpiECPatch::IsACPIECPatched, modAcpiECPatch::PatchACPIEC, modAcpiECPatch::UnpatchACPIEC;

const std::string kWrite = "IoWriteErrorLogEntry", kFree = "IoFreeErrorLogEntry\0"s;
const std::string kHead = "MZ\x90\0\x03\0\0\0PE\0\0"s, kTail = "\0IoAllocateErrorLogEntry\0"s;
const std::string kDriver = kHead + kWrite + "\0\0"s + kWrite + kTail;
const std::string kPatched = kHead + kFree + "\0\0"s + kFree + kTail;
const std::string kStoredUnpatched = "2:system32\\DRIVERS\\acpiec.sys\0"s;  // REG_EXPAND_SZ

std::optional<std::string> Copy() { return DriverFiles::Read(DriverFiles::PatchedPath()); }

bool ServiceKeyExists() {
    return modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey);
}

// Writes half of the bytes, then fails as a full disk would.
bool FailHalfWay(HANDLE file, std::string_view bytes) {
    WriteAllBytes(file, bytes.substr(0, bytes.size() / 2));
    return false;
}

// The prefix has no ACPIEC service; a key left by a broken earlier run goes first.
class AcpiEcPatchTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey);
        before_ = DriverFiles::Listing();
        DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    }
    // Nothing but the two driver files is left in the folder, whatever happened.
    void TearDown() override {
        std::vector<std::string> after = DriverFiles::Listing();
        std::erase(after, "acpiec.sys");
        std::erase(after, "acpiec_nolog.sys");
        EXPECT_EQ(after, before_);
    }
    const DriverFiles files_;
    std::vector<std::string> before_;
};

TEST_F(AcpiEcPatchTest, PatchWritesTheCopyAndPointsTheServiceAtItAndUnpatchPointsBack) {
    const DriverFiles::ImagePath service(DriverFiles::Unpatched);
    EXPECT_FALSE(IsACPIECPatched());
    EXPECT_STREQ(PatchACPIEC(), RestartMessage);
    EXPECT_EQ(Copy(), kPatched);  // both replaced, the length kept
    EXPECT_EQ(DriverFiles::Read(DriverFiles::DriverPath()), kDriver);
    EXPECT_EQ(DriverFiles::StoredImagePath(), "1:system32\\DRIVERS\\acpiec_nolog.sys\0"s);
    EXPECT_TRUE(IsACPIECPatched());

    EXPECT_STREQ(UnpatchACPIEC(), RestartMessage);
    EXPECT_EQ(DriverFiles::StoredImagePath(), "1:system32\\DRIVERS\\acpiec.sys\0"s);
    EXPECT_FALSE(IsACPIECPatched());
    EXPECT_EQ(Copy(), kPatched);  // the copy stays
}

TEST_F(AcpiEcPatchTest, ALongerCopyFromAnEarlierRunIsReplacedByExactlyThePatchedBytes) {
    DriverFiles::Write(DriverFiles::PatchedPath(), std::string(3 * kDriver.size(), 'x'));
    EXPECT_STREQ(PatchACPIEC(), RestartMessage);
    EXPECT_EQ(Copy(), kPatched);
}

TEST_F(AcpiEcPatchTest, ADriverThatCannotBeReadOrPatchedWritesNothing) {
    const DriverFiles::ImagePath service(DriverFiles::Unpatched);
    for (const auto& driver : {std::optional<std::string>(), std::optional(kHead + kTail)}) {
        DeleteFileA(DriverFiles::DriverPath().c_str());
        if (driver)
            DriverFiles::Write(DriverFiles::DriverPath(), *driver);
        EXPECT_STREQ(PatchACPIEC(), FailureMessage);
        EXPECT_FALSE(Copy().has_value());
        EXPECT_EQ(DriverFiles::StoredImagePath(), kStoredUnpatched);
    }
}

TEST_F(AcpiEcPatchTest, WithoutTheServiceKeyTheCopyIsWrittenAndTheRegistryLeftAlone) {
    EXPECT_STREQ(PatchACPIEC(), RestartMessage);
    EXPECT_EQ(Copy(), kPatched);
    EXPECT_FALSE(ServiceKeyExists());
    EXPECT_FALSE(IsACPIECPatched());
    EXPECT_STREQ(UnpatchACPIEC(), RestartMessage);
    EXPECT_FALSE(ServiceKeyExists());
}

// The running driver is whatever "ImagePath" names at the next start: a failure must
// leave it, and any copy it names, as they were.
TEST_F(AcpiEcPatchTest, AFailedWriteLeavesTheCopyAndTheServiceAsTheyWere) {
    const std::string earlier = kPatched + "earlier";
    const struct {
        const char* name;
        const char* imagePath;
        std::optional<std::string> copy;
        ByteWriter write;
        bool copyInUse;  // by a program that does not share its deletion (a scanner)
    } cases[] = {
        {"part-way, first patch", DriverFiles::Unpatched, std::nullopt, FailHalfWay, false},
        {"part-way, patched before", DriverFiles::Patched, earlier, FailHalfWay, false},
        {"copy in use", DriverFiles::Patched, earlier, WriteAllBytes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DriverFiles::ImagePath service(c.imagePath);
        const std::string imagePath = DriverFiles::StoredImagePath();
        DeleteFileA(DriverFiles::PatchedPath().c_str());
        if (c.copy)
            DriverFiles::Write(DriverFiles::PatchedPath(), *c.copy);
        const std::unique_ptr<void, decltype(&CloseHandle)> user(
            c.copyInUse ? CreateFileA(DriverFiles::PatchedPath().c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr)
                        : nullptr,
            CloseHandle);
        EXPECT_STREQ(PatchACPIEC(c.write), FailureMessage);
        EXPECT_EQ(Copy(), c.copy);
        EXPECT_EQ(DriverFiles::StoredImagePath(), imagePath);
    }
}

}  // namespace
