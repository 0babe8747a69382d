#include "settings/AppPath.h"

#include <gtest/gtest.h>

namespace {

TEST(AppPathTest, FolderEndsInExactlyOneBackslash) {
    const struct {
        const char* Path;
        const char* Folder;
    } cases[] = {
        {"C:\\Tools\\vantu.exe", "C:\\Tools\\"},
        {"C:\\vantu.exe", "C:\\"},
        {"C:\\Program Files\\A B\\renamed.exe", "C:\\Program Files\\A B\\"},
        {"\\\\server\\share\\vantu.exe", "\\\\server\\share\\"},
        {"C:\\\\vantu.exe", "C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Folder, FolderWithBackslash(c.Path)) << c.Path;
}

}  // namespace
