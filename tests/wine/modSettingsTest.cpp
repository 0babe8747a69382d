// modSettings against real profile files, the real executable's folder and the
// registry's Windows version. The settings' load and save through the program's own
// file are watched end to end (tests/e2e/StartupTest.cpp).
#include "settings/modSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A private folder for the INI file of one test, removed with it.
class IniFolderTest : public testing::Test {
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
    std::string Read(const char* section, const char* key) const {
        return modSettings::ReadIniValue(section, key, Path(), "dflt");
    }

private:
    std::string folder_;
};

TEST_F(IniFolderTest, ReadGivesTheStoredTextOrTheDefault) {
    EXPECT_EQ("dflt", Read("Fan", "Slow"));  // no file yet
    WriteWholeFile(Path(), "[Fan]\r\nSlow=60\r\n[Advanced]\r\nTimerInterval=\r\n"
                           "[Special]\r\nCustomDeviceName=  Cam  \r\nCustomDeviceID=" +
                               std::string(300, 'x') + "\r\n");
    const struct { const char* section; const char* key; std::string text; } cases[] = {
        {"Fan", "Slow", "60"},
        {"Fan", "Stop", "dflt"},                           // missing key
        {"Other", "Slow", "dflt"},                         // missing section
        {"Advanced", "TimerInterval", ""},                 // empty is not missing
        {"Special", "CustomDeviceName", "Cam"},            // blanks trimmed
        {"Special", "CustomDeviceID", std::string(254, 'x')},  // cut to 254 characters
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, Read(c.section, c.key)) << c.key;
}

TEST(AppFolderTest, IsTheExecutablesFolderWithOneBackslash) {
    const std::string folder = modSettings::AppFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ('\\', folder.back());
    EXPECT_NE('\\', folder[folder.size() - 2]);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesA((folder + "wine_unit_tests.exe").c_str()));
    // Named after the program's title, not after this executable.
    EXPECT_EQ(folder + "vantu.ini", modSettings::IniFilePath());
}

// Only an ordinary file counts as the program's settings file.
class ProgramIniTest : public testing::Test {
protected:
    void SetUp() override { Remove(); }  // what a crashed earlier run may have left
    void TearDown() override { Remove(); }
    void Remove() const {
        for (const std::string& path : {path_, leftover_}) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string path_ = modSettings::IniFilePath();
    const std::string leftover_ = path_ + ".new";
};

TEST_F(ProgramIniTest, ExistsOnlyAsAnOrdinaryFile) {
    EXPECT_FALSE(modSettings::IniFileExists());
    WriteWholeFile(path_, "[Fan]\r\n");
    EXPECT_TRUE(modSettings::IniFileExists());
    const struct { DWORD attributes; bool counts; } cases[] = {
        {FILE_ATTRIBUTE_READONLY, true}, {FILE_ATTRIBUTE_ARCHIVE, true},
        {FILE_ATTRIBUTE_HIDDEN, false},  {FILE_ATTRIBUTE_SYSTEM, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetFileAttributesA(path_.c_str(), c.attributes));
        ASSERT_EQ(c.attributes, GetFileAttributesA(path_.c_str()) & c.attributes);
        EXPECT_EQ(c.counts, modSettings::IniFileExists()) << c.attributes;
    }
    Remove();
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
    EXPECT_FALSE(modSettings::IniFileExists());
}

// A save puts the whole new file in place at once: the new file that a killed save left
// is overwritten (hidden and read-only as it may be) and gone afterwards, lines the
// program does not know stay, and a hidden settings file stays hidden.
TEST_F(ProgramIniTest, SaveReplacesTheFileOverALeftoverAndKeepsItsMarks) {
    const SettingsRecord saved = modSettings::Settings;
    WriteWholeFile(path_, "; mine\r\n[Fan]\r\nControl=1\r\n");
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteWholeFile(leftover_, "[Fan]\r\nControl=0\r\nSto");
    SetFileAttributesA(leftover_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    modSettings::LoadSettings();
    modSettings::Settings.Fan.Stop = 45;
    modSettings::SaveSettings();
    std::ifstream in(path_, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0u, text.find("; mine\r\n[Fan]\r\nControl=1\r\nStop=45\r\nSlow=60\r\n")) << text;
    EXPECT_NE(0u, GetFileAttributesA(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(leftover_.c_str()));
    modSettings::Settings = saved;
}

}  // namespace
