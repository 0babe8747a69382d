// modRegistry against Wine's registry: the bytes and types the reads hand to the
// decoding and the writes store (what the bytes mean is the native tests').
#include "system/modRegistry.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::string kKey = "Software\\vantu-tests", kNested = kKey + "\\ialm\\Device0";
const HKEY hklm = HKEY_LOCAL_MACHINE;

// The test key with nothing below it, before and after each test.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        RegDeleteKeyA(hklm, kNested.c_str());
        RegDeleteKeyA(hklm, (kKey + "\\ialm").c_str());
        RegDeleteKeyA(hklm, kKey.c_str());
    }
    static void Set(const char* name, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(hklm, kKey.c_str(), &key), ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
        RegCloseKey(key);
    }
    // "type:bytes" as stored.
    static std::string Stored(const std::string& keyPath, const char* name) {
        HKEY key = nullptr;
        char data[256];
        DWORD type = 0, size = sizeof data;
        if (RegOpenKeyA(hklm, keyPath.c_str(), &key) != ERROR_SUCCESS)
            return "no key";
        const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::to_string(type) + ":" + std::string(data, size) : "none";
    }
};

// Every byte the value holds reaches the decoding, with its type.
TEST_F(RegistryTest, ReadsTakeTheValuesTypeAndAllItsBytes) {
    Set("multi", REG_MULTI_SZ, "ACRSYS - 1\0V0.3304\0\0"s);
    Set("dword", REG_DWORD, "\x78\x56\x34\x12"s);
    Set("qword", 11, "\x01\0\0\0\0\0\0\0"s);
    EXPECT_EQ(modRegistry::RegReadValue(hklm, kKey, "multi").Text, "ACRSYS - 1\0V0.3304\0\0"s);
    EXPECT_EQ(modRegistry::RegReadValue(hklm, kKey, "dword").Number, 0x12345678);
    EXPECT_EQ(modRegistry::RegReadValue(hklm, kKey, "qword").Text, "caca");
    EXPECT_EQ(modRegistry::RegReadValue(hklm, kKey, "absent").Text, "caca");
    EXPECT_EQ(modRegistry::RegReadValue(hklm, kNested, "x").Text, "");
    EXPECT_TRUE(modRegistry::RegKeyExists(hklm, kKey));
    EXPECT_FALSE(modRegistry::RegKeyExists(hklm, kNested));
}

// Writes make the missing keys and replace a value, type and all.
TEST_F(RegistryTest, WritesStoreTypeAndBytesAndCreateMissingKeys) {
    Set("path", REG_EXPAND_SZ, "old\0"s);
    modRegistry::RegWriteValue(hklm, kKey, "twelve", RegistryValue::OfText("12"));
    modRegistry::RegWriteValue(hklm, kKey, "path", RegistryValue::OfText(" system32\\acpiec.sys "));
    modRegistry::RegWriteDword(hklm, kNested, "minusOne", -1);
    EXPECT_EQ(Stored(kKey, "twelve"), "4:\x0C\0\0\0"s);
    EXPECT_EQ(Stored(kKey, "path"), "1:system32\\acpiec.sys\0"s);
    EXPECT_EQ(Stored(kNested, "minusOne"), "3:\xFF\xFF\xFF\xFF"s);
}

}  // namespace
