// The settings file written whole or not at all, seen from outside: a full disk, a
// read-only file, a folder the program may not write.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Harness.h"
#include "system/Handle.h"

namespace e2e {
namespace {

// The user's notes about the machine, then a few settings: the save adds the keys
// that are missing, so the file grows past one page of the disk.
std::string UsersIni() {
    std::string text;
    for (int i = 1; i <= 60; ++i)
        text += "; " + std::to_string(i) + ": notes about this netbook's fan, kept by hand for years\r\n";
    return text + "[Advanced]\r\nTimerInterval=200\r\n[Fan]\r\nControl=1\r\nStop=  40 \r\n"
                  "[Special]\r\nCustomDeviceName=Card reader\r\n";
}

// Starts the program from `program`, lets it tick, runs `whileRunning` and closes it;
// `files` is where its settings file and the EC's log are read (the same folder, or a
// writable view of it). Whatever became of the save, the fan went back to the EC.
void RunAndClose(const TestFolder& program, const TestFolder& files, const std::function<void()>& whileRunning = [] {}) {
    Vantu vantu(program);
    ASSERT_TRUE(files.WaitForEcLog("R 58", 1)) << "no monitor tick";
    whileRunning();
    ASSERT_TRUE(vantu.Closed());
    const Lines log = files.EcLog();
    EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"W 55 00", "SHUTDOWN"}));
    EXPECT_EQ(TemporaryLeft(files.Dir()), "");
}

// A disk with no room (a file rewritten in place would be cut at its first page), or
// with one page, where the new file is cut part-way: the old file stays as it was and
// the cut one goes. With room enough the same save writes the file, the notes kept.
TEST(SettingsFile, AFullDiskLeavesTheOldFileAndRoomEnoughTheNewOne) {
    const std::string disk = BedFolder("VANTU_SMALL_DISK");
    const TestFolder folder("", WindowsPath(disk));
    const std::string before = UsersIni();
    folder.WriteIni(before);
    for (const DWORD spare : {DWORD(0), kPage}) {
        SCOPED_TRACE(spare);
        std::optional<FilledDisk> full;  // once the program's logs have their pages
        RunAndClose(folder, folder, [&] { full.emplace(disk, spare); });
        EXPECT_EQ(folder.Ini(), before);
    }
    RunAndClose(folder, folder);
    const std::string after = folder.Ini();
    EXPECT_GT(after.size(), kPage) << "the save did not need a second page";
    EXPECT_EQ(after.find(before.substr(0, before.find('['))), 0u) << "the notes went";
    EXPECT_NE(after.find("[Fan]\r\nControl=1\r\nStop=40\r\nSlow=60\r\n"), std::string::npos) << after;
}

// A read-only settings file, or a folder the program may not write: it starts, ticks
// and exits as ever, and the file stays as it was.
TEST(SettingsFile, AReadOnlyFileOrFolderStaysAsItWas) {
    const std::string before = UsersIni();
    const TestFolder folder("-file");
    folder.WriteIni(before);
    SetFileAttributesA(folder.Path("vantu.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    RunAndClose(folder, folder);
    EXPECT_EQ(folder.Ini(), before);
    SetFileAttributesA(folder.Path("vantu.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

    const TestFolder writable("-folder", WindowsPath(BedFolder("VANTU_WRITABLE")));
    writable.WriteIni(before);
    writable.SetEc("Log", writable.Path("simec.log"));
    const TestFolder readOnly = writable.SeenFrom(BedFolder("VANTU_READ_ONLY"));
    ASSERT_FALSE(CreateDirectoryA(readOnly.Path("probe").c_str(), nullptr)) << "the view is writable";
    RunAndClose(readOnly, writable);
    EXPECT_EQ(writable.Ini(), before);
}

}  // namespace
}  // namespace e2e
