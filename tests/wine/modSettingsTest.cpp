// modSettings against the program's own settings file beside this test program: which
// files count, and the save that replaces the file.
#include "settings/modSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string Read(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// No settings file nor a new one left, before and after each test.
class ProgramIni : public testing::Test {
protected:
    void SetUp() override { Remove(); }
    void TearDown() override {
        Remove();
        modSettings::Settings = saved_;
    }
    void Remove() const {
        for (const std::string& path : {path_, leftover_}) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.c_str());
        }
    }
    const std::string path_ = modSettings::IniFilePath(), leftover_ = path_ + ".new";
    const SettingsRecord saved_ = modSettings::Settings;
};

// A save puts the whole new file in place at once, through a file of its own made anew:
// a "vantu.ini.new" beside it, anyone's, is never written through (hidden and read-only
// as it may be), lines the program does not know stay, and a hidden settings file
// stays hidden.
TEST_F(ProgramIni, SaveReplacesTheFileOverALeftoverAndKeepsItsMarks) {
    Write(path_, "; mine\r\n[Fan]\r\nControl=1\r\n");
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Write(leftover_, "[Fan]\r\nControl=0\r\nSto");
    SetFileAttributesA(leftover_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    modSettings::LoadSettings();
    modSettings::Settings.Fan.Stop = 45;
    modSettings::SaveSettings();
    EXPECT_EQ(0u, Read(path_).find("; mine\r\n[Fan]\r\nControl=1\r\nStop=45\r\nSlow=60\r\n")) << Read(path_);
    EXPECT_NE(0u, GetFileAttributesA(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Read(leftover_), "[Fan]\r\nControl=0\r\nSto");
}

}  // namespace
