// The fan handed back to the EC whenever the real program stops watching the
// temperature (a crash, the end of the session, sleep), and the EC shared with other
// programs through their lock. Seen in the simulated EC's log.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Harness.h"
#include "system/Handle.h"

namespace e2e {
namespace {

const milliseconds kWait = kEventBound;
// Fan mode off at 60 degrees, BIOS 3305: AF is the off byte, 00 the automatic one.
const char kFanOff[] = "[Advanced]\r\nTimerInterval=100\r\n[Fan]\r\nControl=0\r\n";

// vantu started with the fan forced off; the tests then take the fan from it.
class FanForcedOff {
public:
    FanForcedOff() {
        folder.WriteIni(kFanOff);
        folder.SetEc("Temperature", "60");
        vantu.emplace(folder);
        EXPECT_TRUE(folder.WaitForEcLog("W 55 AF", 1, kWait)) << "the fan was never forced off";
    }
    // Waits for `count` more ticks, seen as readings.
    void AwaitTicks(size_t count) const {
        const size_t before = folder.EcLog("R 58 ").size();
        ASSERT_TRUE(folder.WaitForEcLog("R 58 ", before + count, kWait));
    }
    std::vector<std::string> FanWrites() const { return folder.EcLog("W 55 "); }

    SeededBiosVersion bios{{"ACRSYS - 1", "V1.3305"}};
    TestFolder folder;
    std::optional<Vantu> vantu;
};

TEST(Safety, ACrashInsideThePortLibraryHandsTheFanBackBeforeTheProcessEnds) {
    FanForcedOff fan;  // the test bed keeps Wine's crash dialog from holding the process
    fan.folder.SetEc("CrashAtPortRead", "1");
    const auto code = fan.vantu->WaitForExit(kWait);
    ASSERT_TRUE(code.has_value()) << "vantu survived the fault";
    EXPECT_EQ(*code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));  // it died of it
    const auto log = fan.folder.EcLog();
    const auto crash = std::find(log.begin(), log.end(), "CRASH");
    ASSERT_NE(crash, log.end());
    // Nothing of the shutdown steps: only the hand-back, after the fault.
    EXPECT_EQ(std::vector<std::string>(crash + 1, log.end()), std::vector<std::string>{"W 55 00"});
}

// A session that does not end changes nothing; one that ends runs the exit's steps.
TEST(Safety, TheEndOfTheSessionHandsTheFanBack) {
    for (const LPARAM why : {LPARAM(0), LPARAM(ENDSESSION_LOGOFF)}) {
        SCOPED_TRACE(why ? "logoff" : "shutdown");
        FanForcedOff fan;
        const HWND window = fan.vantu->MainWindow();
        SendMessageA(window, WM_ENDSESSION, FALSE, why);
        fan.AwaitTicks(2);
        EXPECT_EQ(fan.FanWrites(), std::vector<std::string>{"W 55 AF"});
        SendMessageA(window, WM_ENDSESSION, TRUE, why);
        const auto log = fan.folder.EcLog();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "W 55 00");
        EXPECT_EQ(log.back(), "SHUTDOWN");
    }
}

// The auto byte is written before the broadcast returns, the ticks before resume leave
// it there, and the first tick after resume forces the fan off again.
TEST(Safety, SuspendHandsTheFanToTheEcUntilResume) {
    FanForcedOff fan;
    const HWND window = fan.vantu->MainWindow();
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(fan.FanWrites(), (std::vector<std::string>{"W 55 AF", "W 55 00"}));
    fan.AwaitTicks(3);
    EXPECT_EQ(fan.FanWrites(), (std::vector<std::string>{"W 55 AF", "W 55 00"}));
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(fan.folder.WaitForEcLog("W 55 AF", 2, kWait));
    EXPECT_EQ(fan.FanWrites().back(), "W 55 AF");
}

// Another program holding the EC lock, from a process of its own (tools/eclock).
class EcLockHolder {
public:
    explicit EcLockHolder(const TestFolder& folder) : marker_(folder.Path("eclock.held")) {
        DeleteFileA(marker_.c_str());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string commandLine = "\"" + WindowsPath(ECLOCK_EXE) + "\" \"" + marker_ + "\"";
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info))
            throw std::runtime_error("cannot start eclock.exe");
        CloseHandle(info.hThread);
        process_ = Handle(info.hProcess);
    }
    ~EcLockHolder() { Abandon(); }
    EcLockHolder(const EcLockHolder&) = delete;
    EcLockHolder& operator=(const EcLockHolder&) = delete;

    bool Holds() const {
        return WaitUntil([&] { return GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES; },
                         kWait);
    }
    // Lets go as a program does after its transaction.
    bool Release() const {
        DeleteFileA(marker_.c_str());
        return WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0;
    }
    // Ends while holding it, as a program that crashed: the lock is left abandoned.
    void Abandon() const {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }

private:
    std::string marker_;
    Handle process_;
};

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

// While the lock is held nothing reaches the EC (no reading, so no fan decision), and the
// program still answers; released or abandoned, transactions resume, and the program
// does not keep the lock for itself after an abandoned one.
TEST(Safety, TheEcLockOfOtherProgramsIsWaitedForButNeverBlocksTheProgram) {
    FanForcedOff fan;
    const HWND window = fan.vantu->MainWindow();
    const auto after = [&](size_t from) {
        const auto log = fan.folder.EcLog();
        return std::vector<std::string>(log.begin() + static_cast<long>(from), log.end());
    };
    {
        EcLockHolder other(fan.folder);
        ASSERT_TRUE(other.Holds());
        const size_t held = fan.folder.EcLog().size();
        fan.folder.SetEc("Temperature", "92");  // critical, were it read
        for (int i = 0; i < 20; ++i) {
            ASSERT_TRUE(Answers(window));
            Sleep(100);
        }
        EXPECT_EQ(after(held), std::vector<std::string>{});
        ASSERT_TRUE(other.Release());
        // In either order: the critical reading, and the auto byte (from it, or from the
        // ticks that had no reading while the lock was held).
        EXPECT_TRUE(fan.folder.WaitForEcLog("R 58 5C", 1, kWait));
        EXPECT_TRUE(fan.folder.WaitForEcLog("W 55 00", 1, kWait));
    }
    {
        EcLockHolder crashed(fan.folder);
        ASSERT_TRUE(crashed.Holds());
        fan.folder.SetEc("Temperature", "60");
        const size_t held = fan.folder.EcLog().size();
        crashed.Abandon();
        ASSERT_TRUE(fan.folder.WaitForEcLog("W 55 AF", 2, kWait)) << after(held).size();
    }
    EcLockHolder next(fan.folder);
    EXPECT_TRUE(next.Holds()) << "vantu kept the abandoned lock";
    EXPECT_TRUE(next.Release());
}

}  // namespace
}  // namespace e2e
