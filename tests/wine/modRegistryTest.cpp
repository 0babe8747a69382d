// modRegistry against Wine's registry: what the real value types and lengths read as,
// and what the writes store.
#include "system/modRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::string kTestKey = "Software\\vantu-tests";

// Deletes a key with everything below it (RegDeleteKeyA removes only leaf keys).
void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(root, path.c_str(), &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS)
        DeleteTree(key, name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteTree(HKEY_LOCAL_MACHINE, kTestKey);
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kTestKey.c_str(), &key_), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key_);
        DeleteTree(HKEY_LOCAL_MACHINE, kTestKey);
    }
    HKEY key_ = nullptr;
};

TEST_F(RegistryTest, ValuesReadAsTextOrNumberByTheirStoredType) {
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
        bool isNumber;
        std::string text;
        int32_t number;
    } cases[] = {
        {"multi", REG_MULTI_SZ, "ACRSYS - 1\0V0.3304\0\0"s, false, "ACRSYS - 1\0V0.3304\0\0"s, 0},
        {"sz", REG_SZ, "5.1\0"s, false, "5.1", 0},
        {"szNoNul", REG_SZ, "abc"s, false, "abc", 0},
        {"emptySz", REG_SZ, ""s, false, "", 0},
        {"expand", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, false, "%SystemRoot%\\x\0"s, 0},
        {"dword", REG_DWORD, "\x01\0\0\0"s, true, "", 1},
        {"binary", REG_BINARY, "\x01\0\0\0"s, true, "", 1},
        {"shortBinary", REG_BINARY, "\x05"s, true, "", 5},
        {"longBinary", REG_BINARY, "\x01\0\0\0\0\0\0\0"s, false, "", 0},  // beyond 4 bytes
        {"qword", 11 /* REG_QWORD */, "\x01\0\0\0\0\0\0\0"s, false, "caca", 0},
    };
    for (const auto& c : cases)
        ASSERT_EQ(RegSetValueExA(key_, c.name, 0, c.type,
                                 reinterpret_cast<const BYTE*>(c.bytes.data()),
                                 static_cast<DWORD>(c.bytes.size())),
                  ERROR_SUCCESS);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RegistryValue value =
            modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, c.name);
        EXPECT_EQ(value.IsNumber, c.isNumber);
        EXPECT_EQ(value.Text, c.text);
        EXPECT_EQ(value.Number, c.number);
    }
    EXPECT_EQ(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, "absent").Text, "caca");
    const std::string missing = kTestKey + "\\missing";
    EXPECT_EQ(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, missing, "x").Text, "");
    EXPECT_TRUE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kTestKey));
    EXPECT_FALSE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, missing));
}

TEST_F(RegistryTest, WritesStoreTypeAndBytesAndCreateMissingKeys) {
    using modRegistry::RegWriteDword, modRegistry::RegWriteValue;
    const HKEY hklm = HKEY_LOCAL_MACHINE;
    const std::string nested = kTestKey + "\\new\\deeper", device = kTestKey + "\\ialm\\Device0";
    const char old[] = "old";
    ASSERT_EQ(RegSetValueExA(key_, "path", 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(old), sizeof old),
              ERROR_SUCCESS);
    RegWriteValue(hklm, kTestKey, "zero", RegistryValue::OfNumber(0));
    RegWriteValue(hklm, kTestKey, "twelve", RegistryValue::OfText("12"));
    RegWriteValue(hklm, kTestKey, "text", RegistryValue::OfText(" abc "));
    RegWriteValue(hklm, kTestKey, "path",
                  RegistryValue::OfText("system32\\DRIVERS\\acpiec_nolog.sys"));
    RegWriteValue(hklm, nested, "n", RegistryValue::OfNumber(7));
    RegWriteDword(hklm, kTestKey, "Display1_DownScalingEnabled", 1);
    RegWriteDword(hklm, device, "minusOne", -1);
    const struct {
        std::string key;
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {kTestKey, "zero", REG_DWORD, "\0\0\0\0"s},
        {kTestKey, "twelve", REG_DWORD, "\x0C\0\0\0"s},
        {kTestKey, "text", REG_SZ, "abc\0"s},  // trimmed, one NUL: 4 bytes
        // the expandable text replaced, type and all
        {kTestKey, "path", REG_SZ, "system32\\DRIVERS\\acpiec_nolog.sys\0"s},
        {nested, "n", REG_DWORD, "\x07\0\0\0"s},
        {kTestKey, "Display1_DownScalingEnabled", REG_BINARY, "\x01\0\0\0"s},
        {device, "minusOne", REG_BINARY, "\xFF\xFF\xFF\xFF"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyA(hklm, c.key.c_str(), &key), ERROR_SUCCESS);
        char buffer[256];
        DWORD type = 0, size = sizeof buffer;
        const LONG status = RegQueryValueExA(key, c.name, nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(std::string(buffer, size), c.bytes);
    }
}

}  // namespace
