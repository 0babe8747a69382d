#include "settings/modSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> NonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// A private folder for INI files of one test, removed with what it holds.
class IniFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "vantu-ini-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileA(Path().c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string Path() const { return folder_ + "test.ini"; }

private:
    std::string folder_;
};

TEST_F(IniFolderTest, MissingFileOrKeyGivesTheDefault) {
    EXPECT_EQ("dflt", modSettings::ReadIniValue("Fan", "Stop", Path(), "dflt"));
    WriteWholeFile(Path(), "[Fan]\r\nSlow=60\r\n");
    EXPECT_EQ("dflt", modSettings::ReadIniValue("Fan", "Stop", Path(), "dflt"));
    EXPECT_EQ("dflt", modSettings::ReadIniValue("Other", "Slow", Path(), "dflt"));
    EXPECT_EQ("60", modSettings::ReadIniValue("Fan", "Slow", Path(), "dflt"));
}

TEST_F(IniFolderTest, EmptyValueIsNotMissing) {
    WriteWholeFile(Path(), "[Advanced]\r\nTimerInterval=\r\n");
    EXPECT_EQ("", modSettings::ReadIniValue("Advanced", "TimerInterval", Path(), "3000"));
}

TEST_F(IniFolderTest, LongValueReadsBackCutTo254Characters) {
    const std::string value(300, 'x');
    WriteWholeFile(Path(), "[Special]\r\nCustomDeviceID=" + value + "\r\n");
    EXPECT_EQ(value.substr(0, 254), modSettings::ReadIniValue("Special", "CustomDeviceID", Path(), ""));
}

TEST_F(IniFolderTest, WrittenValueReadsBack) {
    EXPECT_NE(0, modSettings::WriteIniValue("Special", "CustomDeviceName", "My Cam", Path()));
    EXPECT_NE(0, modSettings::WriteIniValue("Fan", "Stop", "45", Path()));
    EXPECT_EQ("My Cam", modSettings::ReadIniValue("Special", "CustomDeviceName", Path(), ""));
    EXPECT_EQ("45", modSettings::ReadIniValue("Fan", "Stop", Path(), ""));
    EXPECT_EQ((std::vector<std::string>{"[Special]", "CustomDeviceName=My Cam", "[Fan]", "Stop=45"}),
              NonEmptyLines(ReadWholeFile(Path())));
}

TEST(AppFolderTest, IsTheExecutablesFolderWithOneBackslash) {
    const std::string folder = modSettings::AppFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ('\\', folder.back());
    EXPECT_NE('\\', folder[folder.size() - 2]);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "wine_unit_tests.exe").c_str()));
    // Named after the program's title, not after this executable.
    EXPECT_EQ(folder + "vantu.ini", modSettings::IniFilePath());
}

// Keeps one registry value as it was and puts it back afterwards, so tests may seed
// the machine keys of the test bed.
class SeededValue {
public:
    SeededValue(const char* keyPath, const char* name) : name_(name) {
        DWORD disposition = 0;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, &disposition);
        DWORD size = 0;
        existed_ = RegQueryValueExA(key_, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
        data_.resize(size);
        if (existed_) {
            RegQueryValueExA(key_, name, nullptr, &type_, reinterpret_cast<BYTE*>(data_.data()), &size);
        }
    }
    ~SeededValue() {
        if (existed_) Set(type_, data_);
        else RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }
    SeededValue(const SeededValue&) = delete;
    SeededValue& operator=(const SeededValue&) = delete;

    void Set(DWORD type, const std::string& bytes) {
        RegSetValueExA(key_, name_, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    }

private:
    const char* name_;
    HKEY key_ = nullptr;
    DWORD type_ = 0;
    bool existed_ = false;
    std::string data_;
};

TEST(MachineFactsTest, BiosVersionFromTheLastStringOfTheMultiString) {
    SeededValue bios("HARDWARE\\Description\\System", "SystemBiosVersion");
    const struct {
        std::string Data;
        int16_t Expected;
    } cases[] = {{"ACRSYS - 1\0V0.3304\0\0"s, 3304}, {"ACRSYS - 1\0V0.3115\0\0"s, 3115},
                 {"ACRSYS - 1\0V1.09 A\0\0"s, 0}};
    for (const auto& c : cases) {
        bios.Set(REG_MULTI_SZ, c.Data);
        modSettings::BiosVersion = -7;
        modSettings::ReadBiosVersion();
        EXPECT_EQ(c.Expected, modSettings::BiosVersion);
    }
}

TEST(MachineFactsTest, WindowsVersionSixOrLater) {
    SeededValue version("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion");
    for (const auto& [text, expected] : {std::pair{"5.1"s, false}, {"6.0"s, true}, {"6.1"s, true}}) {
        version.Set(REG_SZ, text + '\0');
        modSettings::IsWindows6OrLater = !expected;
        modSettings::ReadWindowsVersion();
        EXPECT_EQ(expected, modSettings::IsWindows6OrLater) << text;
    }
}

// The program's own INI file beside this executable; the test starts without one and
// leaves none behind.
class ProgramIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = modSettings::IniFilePath();
        Remove();  // what a crashed earlier run may have left
        ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str())) << path_;
        modSettings::Settings = SettingsRecord{};
    }
    void TearDown() override {
        Remove();
        modSettings::Settings = SettingsRecord{};
    }
    void Remove() const {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST_F(ProgramIniTest, ExistsOnlyAsAnOrdinaryFile) {
    EXPECT_FALSE(modSettings::IniFileExists());
    WriteWholeFile(Path(), "[Fan]\r\n");
    EXPECT_TRUE(modSettings::IniFileExists());
    const struct {
        DWORD Attributes;
        bool Counts;
    } cases[] = {{FILE_ATTRIBUTE_READONLY, true}, {FILE_ATTRIBUTE_ARCHIVE, true},
                 {FILE_ATTRIBUTE_HIDDEN, false},  {FILE_ATTRIBUTE_SYSTEM, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetFileAttributesA(Path().c_str(), c.Attributes));
        ASSERT_EQ(c.Attributes, GetFileAttributesA(Path().c_str()) & c.Attributes);
        EXPECT_EQ(c.Counts, modSettings::IniFileExists()) << c.Attributes;
    }
    Remove();
    ASSERT_TRUE(CreateDirectoryA(Path().c_str(), nullptr));
    EXPECT_FALSE(modSettings::IniFileExists());
}

TEST_F(ProgramIniTest, FirstSaveWritesFiveSectionsWithoutUseAlternateDriver) {
    modSettings::LoadSettings();
    modSettings::SaveSettings();
    const std::vector<std::string> expected = {
        "[Advanced]", "PreventHDClicks=False", "ShowRemainingBattIcon=True", "TimerInterval=3000",
        "EnableDownscaling=False", "ShowFullSizeTempIcon=False", "SingleIconMode=False",
        "[Fan]", "Control=3", "Stop=50", "Slow=60", "Auto=65",
        "[Processor]", "AC=1", "DC=0",
        "[Colors]", "TemperatureTextColor=&HFFFFFF", "TemperatureTextColor2=&H40FF60",
        "BatteryTextColor=&H0",
        "[Special]", "UseCustomFanValue=False", "FanValueOff=&HAF", "FanValueSlow=&H10",
        "FanValueAuto=&H0", "FanSlowModeThreshold=42", "CustomResolutionWidth=1024",
        "CustomResolutionHeight=768", "UseCustomDevice=False", "CustomDeviceName=MyDevice",
        "CustomDeviceID=USB\\VID_1BCF*"};
    EXPECT_EQ(expected, NonEmptyLines(ReadWholeFile(Path())));
}

TEST_F(ProgramIniTest, LoadKeepsGoodValuesAfterABadOneAndSaveKeepsTheHandSetDriverKey) {
    WriteWholeFile(Path(),
                   "[Advanced]\r\nTimerInterval=\r\nSingleIconMode=TRUE\r\n"
                   "[Colors]\r\nTemperatureTextColor=&H40FF60\r\n"
                   "[Special]\r\nFanValueOff=&H100\r\nFanValueSlow=&H20\r\nUseAlternateDriver=True\r\n"
                   "CustomDeviceName=  Cam  \r\n");
    modSettings::LoadSettings();
    const SettingsRecord& s = modSettings::Settings;
    EXPECT_EQ(3000, s.TimerInterval);
    EXPECT_TRUE(s.SingleIconMode);
    EXPECT_EQ(4259680, s.TemperatureTextColor);
    EXPECT_EQ(175, s.FanValueOff);
    EXPECT_EQ(0x20, s.FanValueSlow);
    EXPECT_TRUE(s.UseAlternateDriver);
    EXPECT_EQ("Cam", s.CustomDeviceName);  // the profile reader trims blanks

    modSettings::Settings.UseAlternateDriver = false;
    modSettings::SaveSettings();
    EXPECT_EQ("True", modSettings::ReadIniValue("Special", "UseAlternateDriver", Path(), ""));
    EXPECT_EQ("3000", modSettings::ReadIniValue("Advanced", "TimerInterval", Path(), ""));
    EXPECT_EQ("&HAF", modSettings::ReadIniValue("Special", "FanValueOff", Path(), ""));
}

}  // namespace
