#include <gtest/gtest.h>

#include <windows.h>

#include "system/modRegistry.h"

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

struct StoredValue {
    LONG status;
    DWORD type;
    std::string bytes;
};

// The registry seen directly, without the module under test.
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

    void Seed(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key_, name, 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    static StoredValue Stored(const std::string& path, const char* name) {
        StoredValue stored{};
        HKEY key = nullptr;
        stored.status = RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key);
        if (stored.status != ERROR_SUCCESS)
            return stored;
        char buffer[256];
        DWORD size = sizeof buffer;
        stored.status = RegQueryValueExA(key, name, nullptr, &stored.type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
        if (stored.status == ERROR_SUCCESS)
            stored.bytes.assign(buffer, size);
        RegCloseKey(key);
        return stored;
    }

    static RegistryValue Read(const char* name) {
        return modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, name);
    }

    HKEY key_ = nullptr;
};

void ExpectText(const RegistryValue& value, const std::string& text) {
    EXPECT_FALSE(value.IsNumber);
    EXPECT_EQ(value.Text, text);
}

void ExpectNumber(const RegistryValue& value, int32_t number) {
    EXPECT_TRUE(value.IsNumber);
    EXPECT_EQ(value.Number, number);
}

TEST_F(RegistryTest, KeyExistsOnlyWhenItOpens) {
    EXPECT_TRUE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kTestKey));
    EXPECT_TRUE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, "Software"));
    EXPECT_FALSE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kTestKey + "\\missing"));
}

TEST_F(RegistryTest, MissingKeyReadsAsEmptyTextAndMissingValueAsMarker) {
    ExpectText(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kTestKey + "\\missing", "x"), "");
    ExpectText(Read("absent"), "caca");
}

TEST_F(RegistryTest, MultiStringKeepsSeparatorsAndBothEndNuls) {
    Seed("SystemBiosVersion", REG_MULTI_SZ, "ACRSYS - 1\0V0.3304\0\0"s);
    const RegistryValue value = Read("SystemBiosVersion");
    ExpectText(value, "ACRSYS - 1\0V0.3304\0\0"s);
    ASSERT_GE(value.Text.size(), 6u);
    EXPECT_EQ(value.Text.substr(value.Text.size() - 6), "3304\0\0"s);
}

TEST_F(RegistryTest, TextValuesByType) {
    Seed("sz", REG_SZ, "5.1\0"s);
    Seed("szInnerNul", REG_SZ, "ab\0cd\0"s);
    Seed("szNoNul", REG_SZ, "abc"s);
    Seed("expand", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s);
    Seed("emptySz", REG_SZ, ""s);
    ExpectText(Read("sz"), "5.1");
    ExpectText(Read("szInnerNul"), "ab");
    ExpectText(Read("szNoNul"), "abc");
    ExpectText(Read("expand"), "%SystemRoot%\\x\0"s);
    ExpectText(Read("emptySz"), "");
}

TEST_F(RegistryTest, NumberValuesByType) {
    Seed("dword", REG_DWORD, "\x01\0\0\0"s);
    Seed("binary", REG_BINARY, "\x01\0\0\0"s);
    Seed("negative", REG_DWORD, "\xFE\xFF\xFF\xFF"s);
    Seed("shortBinary", REG_BINARY, "\x05"s);
    Seed("longBinary", REG_BINARY, "\x01\0\0\0\0\0\0\0"s);
    ExpectNumber(Read("dword"), 1);
    ExpectNumber(Read("binary"), 1);
    ExpectNumber(Read("negative"), -2);
    ExpectNumber(Read("shortBinary"), 5);
    ExpectText(Read("longBinary"), "");
}

TEST_F(RegistryTest, UnsupportedTypesReadAsMarker) {
    Seed("none", REG_NONE, "\x01\0\0\0"s);
    Seed("qword", 11 /* REG_QWORD */, "\x01\0\0\0\0\0\0\0"s);
    Seed("bigEndian", REG_DWORD_BIG_ENDIAN, "\0\0\0\x01"s);
    ExpectText(Read("none"), "caca");
    ExpectText(Read("qword"), "caca");
    ExpectText(Read("bigEndian"), "caca");
}

TEST_F(RegistryTest, WriteValueStoresNumbersAsDword) {
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, "zero", RegistryValue::OfNumber(0));
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, "twelve", RegistryValue::OfText("12"));
    const StoredValue zero = Stored(kTestKey, "zero");
    ASSERT_EQ(zero.status, ERROR_SUCCESS);
    EXPECT_EQ(zero.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(zero.bytes, "\0\0\0\0"s);
    const StoredValue twelve = Stored(kTestKey, "twelve");
    ASSERT_EQ(twelve.status, ERROR_SUCCESS);
    EXPECT_EQ(twelve.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(twelve.bytes, "\x0C\0\0\0"s);
    ExpectNumber(Read("twelve"), 12);
}

TEST_F(RegistryTest, WriteValueStoresTrimmedTextWithOneNul) {
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, "text", RegistryValue::OfText(" abc "));
    const StoredValue text = Stored(kTestKey, "text");
    ASSERT_EQ(text.status, ERROR_SUCCESS);
    EXPECT_EQ(text.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text.bytes, "abc\0"s);
    ExpectText(Read("text"), "abc");
}

TEST_F(RegistryTest, WriteValueOverwritesTypeAndCreatesMissingKeys) {
    Seed("path", REG_EXPAND_SZ, "old\0"s);
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, "path",
                               RegistryValue::OfText("system32\\DRIVERS\\acpiec_nolog.sys"));
    ExpectText(Read("path"), "system32\\DRIVERS\\acpiec_nolog.sys");
    EXPECT_EQ(Stored(kTestKey, "path").type, static_cast<DWORD>(REG_SZ));

    const std::string nested = kTestKey + "\\new\\deeper";
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, nested, "n", RegistryValue::OfNumber(7));
    ExpectNumber(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, nested, "n"), 7);
}

TEST_F(RegistryTest, WriteDwordStoresFourBinaryBytes) {
    modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kTestKey, "Display1_DownScalingEnabled", 1);
    modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kTestKey, "minusOne", -1);
    const StoredValue one = Stored(kTestKey, "Display1_DownScalingEnabled");
    ASSERT_EQ(one.status, ERROR_SUCCESS);
    EXPECT_EQ(one.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(one.bytes, "\x01\0\0\0"s);
    ExpectNumber(Read("Display1_DownScalingEnabled"), 1);
    ExpectNumber(Read("minusOne"), -1);
}

TEST_F(RegistryTest, WriteDwordCreatesMissingKey) {
    const std::string device = kTestKey + "\\ialm\\Device0";
    modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, device, "PruningMode", 0);
    EXPECT_TRUE(modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, device));
    ExpectNumber(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, device, "PruningMode"), 0);
}

}  // namespace
