#include "system/AppPath.h"

#include <gtest/gtest.h>

TEST(AppPathTest, FolderEndsInExactlyOneBackslash) {
    const struct { const char* Path; const char* Folder; } cases[] = {
        {"C:\\Tools\\vantu.exe", "C:\\Tools\\"}, {"C:\\vantu.exe", "C:\\"}, {"C:\\\\vantu.exe", "C:\\"},
        {"\\\\server\\share\\vantu.exe", "\\\\server\\share\\"}, {"vantu.exe", "\\"},  // no folder at all
    };
    for (const auto& c : cases) EXPECT_EQ(c.Folder, FolderWithBackslash(c.Path)) << c.Path;
}

TEST(AppPathTest, ExecutableNameIsTheFileNameWithoutItsExtension) {
    const struct { const char* path; const char* name; } cases[] = {
        {"C:\\Tools\\vantu.exe", "vantu"}, {"C:\\Tools\\fan control.EXE", "fan control"},
        {"C:\\Tools\\my.fan.exe", "my.fan"},  // only the last extension goes
        {"C:\\v1.2\\vantu", "vantu"},         // a dot in the folder is no extension
        {"vantu.exe", "vantu"}, {"C:\\Tools\\.exe", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.name, ExecutableName(c.path)) << c.path;
}

TEST(AppPathTest, StartupLinkPathEndsInDotLnkOnce) {
    const struct { const char* folder; const char* name; const char* path; } cases[] = {
        {"C:\\Startup", "vantu", "C:\\Startup\\vantu.lnk"}, {"C:\\Startup\\", "vantu", "C:\\Startup\\vantu.lnk"},
        {"C:\\Startup", "vantu.lnk", "C:\\Startup\\vantu.lnk"}, {"C:\\Startup", "lnk", "C:\\Startup\\lnk.lnk"},
        {"C:\\Startup", "vantu.LNK", "C:\\Startup\\vantu.LNK.lnk"},  // compared case-sensitively
    };
    for (const auto& c : cases) EXPECT_EQ(c.path, StartupLinkPath(c.folder, c.name)) << c.name;
}
