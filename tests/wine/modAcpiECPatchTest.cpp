// The driver patch against the Wine prefix's own drivers folder and registry: the
// copy's bytes, the service's "ImagePath", and what a failure leaves.
#include "system/modAcpiECPatch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/DriverFiles.h"
#include "system/AcpiEcPatch.h"

using namespace std::string_literals;

namespace {

using AcpiEcPatch::FailureMessage, AcpiEcPatch::RestartMessage;

const std::string kWrite = "IoWriteErrorLogEntry", kFree = "IoFreeErrorLogEntry\0"s;
const std::string kHead = "MZ\x90\0\x03\0\0\0PE\0\0"s, kMiddle = "\0\0ntoskrnl.exe\0"s,
                  kTail = "\0IoAllocateErrorLogEntry\0\xCC\xCC"s;
const std::string kDriver = kHead + kWrite + kMiddle + kWrite + kTail;
const std::string kPatched = kHead + kFree + kMiddle + kFree + kTail;

struct StoredValue {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

// "ImagePath" as the registry holds it; nothing when the value or the key is missing.
std::optional<StoredValue> ImagePath() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey, &key) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value;
    char buffer[512];
    DWORD size = sizeof buffer;
    const LONG status = RegQueryValueExA(key, "ImagePath", nullptr, &value.type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.assign(buffer, size);
    return value;
}

bool ServiceKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Writes half of the bytes, then fails as a full disk would.
bool FailHalfWay(HANDLE file, std::string_view bytes) {
    WriteAllBytes(file, bytes.substr(0, bytes.size() / 2));
    return false;
}

// A file held open by another program that does not share its deletion (a virus
// scanner, say), or no file for an empty path.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE handle_;
};

// The prefix has no ACPIEC service; a key left by a broken earlier run goes first.
class AcpiEcPatchTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DriverFiles::ServiceKey);
        ASSERT_FALSE(ServiceKeyExists());
        before_ = DriverFiles::Listing();
    }
    // Nothing but the driver files is left in the folder, whatever happened.
    void TearDown() override {
        std::vector<std::string> after = DriverFiles::Listing();
        std::erase(after, "acpiec.sys");
        std::erase(after, "acpiec_nolog.sys");
        EXPECT_EQ(after, before_);
    }
    const DriverFiles files_;
    std::vector<std::string> before_;
};

const StoredValue kUnpatchedPath{REG_EXPAND_SZ, "system32\\DRIVERS\\acpiec.sys\0"s};

TEST_F(AcpiEcPatchTest, PatchWritesTheCopyAndPointsTheServiceAtItAndUnpatchPointsBack) {
    DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    const DriverFiles::ImagePath service(DriverFiles::Unpatched);
    EXPECT_FALSE(modAcpiECPatch::IsACPIECPatched());

    EXPECT_STREQ(modAcpiECPatch::PatchACPIEC(), RestartMessage);
    EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), kPatched);  // both, same length
    EXPECT_EQ(DriverFiles::Read(DriverFiles::DriverPath()), kDriver);    // never written
    EXPECT_EQ(ImagePath(), (StoredValue{REG_SZ, "system32\\DRIVERS\\acpiec_nolog.sys\0"s}));
    EXPECT_TRUE(modAcpiECPatch::IsACPIECPatched());

    EXPECT_STREQ(modAcpiECPatch::UnpatchACPIEC(), RestartMessage);
    EXPECT_EQ(ImagePath(), (StoredValue{REG_SZ, "system32\\DRIVERS\\acpiec.sys\0"s}));
    EXPECT_FALSE(modAcpiECPatch::IsACPIECPatched());
    EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), kPatched);  // the copy stays
}

TEST_F(AcpiEcPatchTest, ALongerCopyFromAnEarlierRunIsReplacedByExactlyThePatchedBytes) {
    DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    DriverFiles::Write(DriverFiles::PatchedPath(), std::string(3 * kDriver.size(), 'x'));
    EXPECT_STREQ(modAcpiECPatch::PatchACPIEC(), RestartMessage);
    EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), kPatched);
}

TEST_F(AcpiEcPatchTest, ADriverThatCannotBeReadOrPatchedWritesNothing) {
    const DriverFiles::ImagePath service(DriverFiles::Unpatched);
    const struct { const char* name; std::optional<std::string> driver; } cases[] = {
        {"no acpiec.sys", std::nullopt},
        {"another version", kHead + "IoWriteErrorLog" + kTail},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(DriverFiles::DriverPath().c_str());
        if (c.driver)
            DriverFiles::Write(DriverFiles::DriverPath(), *c.driver);
        EXPECT_STREQ(modAcpiECPatch::PatchACPIEC(), FailureMessage);
        EXPECT_FALSE(DriverFiles::Read(DriverFiles::PatchedPath()).has_value());
        EXPECT_EQ(ImagePath(), kUnpatchedPath);
    }
}

TEST_F(AcpiEcPatchTest, WithoutTheServiceKeyTheCopyIsWrittenAndTheRegistryLeftAlone) {
    DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    EXPECT_STREQ(modAcpiECPatch::PatchACPIEC(), RestartMessage);
    EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), kPatched);
    EXPECT_FALSE(ServiceKeyExists());
    EXPECT_FALSE(modAcpiECPatch::IsACPIECPatched());
    EXPECT_STREQ(modAcpiECPatch::UnpatchACPIEC(), RestartMessage);
    EXPECT_FALSE(ServiceKeyExists());
}

// The running driver is whatever "ImagePath" names at the next start: a failure must
// leave it, and any copy it names, as they were.
TEST_F(AcpiEcPatchTest, AFailedWriteLeavesTheCopyAndTheServiceAsTheyWere) {
    DriverFiles::Write(DriverFiles::DriverPath(), kDriver);
    const std::string earlier = kPatched + "earlier";
    const struct {
        const char* name;
        const char* imagePath;
        std::optional<std::string> copy;
        ByteWriter write;
        bool copyInUse;
    } cases[] = {
        {"part-way, first patch", DriverFiles::Unpatched, std::nullopt, FailHalfWay, false},
        {"part-way, patched before", DriverFiles::Patched, earlier, FailHalfWay, false},
        {"copy in use", DriverFiles::Patched, earlier, WriteAllBytes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DriverFiles::ImagePath service(c.imagePath);
        const std::optional<StoredValue> imagePath = ImagePath();
        DeleteFileA(DriverFiles::PatchedPath().c_str());
        if (c.copy)
            DriverFiles::Write(DriverFiles::PatchedPath(), *c.copy);
        const HeldOpen user(c.copyInUse ? DriverFiles::PatchedPath() : "");
        EXPECT_STREQ(modAcpiECPatch::PatchACPIEC(c.write), FailureMessage);
        EXPECT_EQ(DriverFiles::Read(DriverFiles::PatchedPath()), c.copy);
        EXPECT_EQ(ImagePath(), imagePath);
    }
}

TEST_F(AcpiEcPatchTest, PatchedWhenImagePathHoldsNologInLowerCase) {
    EXPECT_FALSE(modAcpiECPatch::IsACPIECPatched());  // no service key
    const struct { DWORD type; std::string bytes; bool patched; } cases[] = {
        {REG_EXPAND_SZ, "system32\\DRIVERS\\acpiec_nolog.sys\0"s, true},
        {REG_SZ, "\\SystemRoot\\nolog\\acpiec.sys\0"s, true},
        {REG_EXPAND_SZ, "system32\\DRIVERS\\ACPIEC_NOLOG.SYS\0"s, false},
        {REG_DWORD, "\x01\0\0\0"s, false},
    };
    for (const auto& c : cases) {
        const SeededRegistryValue imagePath(DriverFiles::ServiceKey, "ImagePath", c.type, c.bytes);
        EXPECT_EQ(modAcpiECPatch::IsACPIECPatched(), c.patched) << c.bytes;
    }
    // A service key without "ImagePath" reads as the missing-value marker.
    const SeededRegistryValue other(DriverFiles::ServiceKey, "Start", REG_DWORD, "\x03\0\0\0"s);
    EXPECT_FALSE(modAcpiECPatch::IsACPIECPatched());
}

}  // namespace
