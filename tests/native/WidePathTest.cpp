#include "system/WidePath.h"

#include <gtest/gtest.h>

// A long absolute path gets the prefix ("\\?\UNC\" for a share, slashes made
// backslashes); a short or prefixed one stays; the temporary name is the program's own.
TEST(WidePathTest, ThePrefixAndTheTemporaryName) {
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(WidePath::Extended(L"C:\\short\\file.csv"), L"C:\\short\\file.csv");
    EXPECT_EQ(WidePath::Extended(deep), L"\\\\?\\" + deep);
    const std::wstring fits = L"C:\\" + std::wstring(244, L'd'), longer = fits + L"d";  // 247 and 248 characters
    EXPECT_EQ(WidePath::Extended(fits), fits);
    EXPECT_EQ(WidePath::Extended(longer), L"\\\\?\\" + longer);
    EXPECT_EQ(WidePath::Extended(std::wstring(300, L'r')), std::wstring(300, L'r'));  // relative: as it stands
    EXPECT_EQ(WidePath::Extended(L"\\\\server\\share\\" + std::wstring(300, L's')), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L's'));
    EXPECT_EQ(WidePath::Extended(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
    EXPECT_EQ(WidePath::Extended(L"C:/" + std::wstring(300, L'd')), L"\\\\?\\" + deep);
    EXPECT_EQ(WidePath::TemporaryBeside(L"C:\\Users\\Tom\\history.csv.new", 42), L"C:\\Users\\Tom\\~vantu-0000002a.tmp");
    EXPECT_EQ(WidePath::TemporaryBeside(L"history.csv", 0xDEADBEEF), L"~vantu-deadbeef.tmp");
}
