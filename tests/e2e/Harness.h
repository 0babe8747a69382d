#pragma once
// The end-to-end test bed: the real vantu.exe started in a folder of its own, with the
// simulated EC and a recording powercfg beside it, watched only from outside: its
// files, the commands it starts, the EC's log, its windows and the tray's requests.
// For the whole run the machine's ACPIEC driver counts as patched (Harness.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/SeededRegistryValue.h"
#include "system/Handle.h"

namespace e2e {

using std::chrono::milliseconds;
using Lines = std::vector<std::string>;

// The factor a slower machine's time limits are multiplied by: VANTU_TIME_SCALE, a
// whole number, as for CTest's limits (cmake/time-limits.cmake); 1 when not set.
int TimeScale();

// How long an awaited event may take before it counts as lost: a minute here, more on a
// slower machine. Not a timing check: it only ends a wait for a program that hangs.
inline const milliseconds kEventBound = milliseconds(60000) * TimeScale();

std::string WindowsPath(const std::string& unixPath);  // through Wine's Z: drive
std::string ReadFileText(const std::string& path);     // "" when missing
// A part of a file's security descriptor (owner, DACL) as text; "" when it is not to be read.
std::string SecurityText(const std::string& path, SECURITY_INFORMATION part);
void WriteFileText(const std::string& path, const std::string& text);
Lines ReadLines(const std::string& path, const std::string& prefix = "");  // those that start so
inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A temporary file of the program's (~vantu-*.tmp) left in the folder; "" when none.
std::string TemporaryLeft(const std::string& folder);
// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, milliseconds limit = kEventBound);
HANDLE Start(const std::string& commandLine, const char* currentDirectory = nullptr, DWORD* pid = nullptr);

// A folder of the test bed (scripts/wine-setup), as a Unix path.
std::string BedFolder(const char* variable);

constexpr DWORD kPage = 4096;

// The test bed's small disk (a Unix path) filled up but for `spare` bytes (whole
// pages), until destroyed.
class FilledDisk {
public:
    FilledDisk(const std::string& disk, DWORD spare);
    ~FilledDisk() { DeleteFileA(filler_.c_str()); }
    FilledDisk(const FilledDisk&) = delete;
    FilledDisk& operator=(const FilledDisk&) = delete;

private:
    std::string disk_, filler_;
};

// Where test folders lie unless a test says otherwise: on the Wine prefix's drive C:,
// whose root and this folder only their owner may change, wherever the build tree lies
// (under /tmp every folder would be one that anyone may rename).
inline constexpr char kTestFolders[] = "C:\\vantu-e2e";

// A fresh folder per test holding vantu.exe, WinIo.dll (the simulated EC) and
// powercfg.exe (the recording fake), named after the test and the suffix, in `parent`
// (a Windows path).
class TestFolder {
public:
    explicit TestFolder(const std::string& suffix = "", const std::string& parent = kTestFolders);
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& Dir() const { return dir_; }
    void WriteIni(const std::string& text) const { WriteFileText(Path("vantu.ini"), text); }
    std::string Ini() const { return ReadFileText(Path("vantu.ini")); }
    Lines Commands(const std::string& prefix = "") const { return ReadLines(Path("commands.log"), prefix); }
    void AddFakeCommand(const std::string& name) const;  // another copy of the fake, as name.exe
    void AddFile(const std::string& unixSource, const std::string& name) const;
    // The simulated EC, driven through its control file and read through its log.
    void SetEc(const std::string& key, const std::string& value) const {
        WritePrivateProfileStringA("EC", key.c_str(), value.c_str(), Path("simec.ini").c_str());
    }
    Lines EcLog(const std::string& prefix = "") const { return ReadLines(Path("simec.log"), prefix); }
    std::string LastEcLog(const std::string& prefix = "") const {  // "" when there is none
        const Lines lines = EcLog(prefix);
        return lines.empty() ? "" : lines.back();
    }
    bool WaitForEcLog(const std::string& prefix, size_t count) const {
        return WaitUntil([&] { return EcLog(prefix).size() >= count; });
    }
    // How long the program's next `count` ticks take here: the time a check that
    // nothing happens must leave it, since an emulated guest runs many times slower.
    milliseconds TimeOfTicks(size_t count) const;
    // The same folder under another parent: VANTU_READ_ONLY shows VANTU_WRITABLE.
    TestFolder SeenFrom(const std::string& parent) const;

private:
    explicit TestFolder(std::string dir, int) : dir_(std::move(dir)) {}
    std::string dir_;
};

// A running vantu.exe, started in its folder (or another current directory); killed
// at the end of the test if it still runs.
class Vantu {
public:
    explicit Vantu(const TestFolder& folder, const std::string& exeName = "vantu.exe",
                   const std::string& currentDirectory = "");
    ~Vantu();
    Vantu(const Vantu&) = delete;
    Vantu& operator=(const Vantu&) = delete;

    DWORD ProcessId() const { return pid_; }
    HWND MainWindow() const;  // the hidden "Main"
    void Close() const { PostMessageA(MainWindow(), WM_CLOSE, 0, 0); }  // as the system or Exit would
    bool Closed() const {  // closed so, and ended
        Close();
        return WaitForExit().has_value();
    }
    HWND OpenTrayMenu() const;  // by a right button release on the icon; null when none opens
    // WM_ENDSESSION (the session ends), handled also inside a modal loop.
    bool EndSession() const { return Send(WM_ENDSESSION, TRUE); }
    bool Send(UINT message, WPARAM wParam = 0) const;  // false when not handled in time
    bool AnswersFor(milliseconds span) const;          // messages sent all along are handled
    std::optional<DWORD> WaitForExit() const;          // the exit code
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    void Kill() const;  // at once, as a kill or a power cut would

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// One request to the notification area, as tools/traylog logged it: "VERB id=N flags=N
// msg=0xN accepted|refused ... hash=H ... colors=RRGGBB:count,... tip=TEXT".
struct TrayCall {
    std::string line;
    std::string Field(const std::string& key) const;  // "" when missing; not in the text at the end
    std::string Verb() const { return line.substr(0, line.find(' ')); }
    std::string Tip() const { return Rest(" tip="); }
    std::string Info() const { return Rest(" info="); }  // a balloon's text
    bool Accepted() const { return line.find(" accepted ") != line.npos; }
    bool Shows(const std::string& rrggbb) const { return Field("colors").find(rrggbb + ":") != std::string::npos; }

private:
    std::string Rest(const char* key) const { return line.find(key) == line.npos ? "" : line.substr(line.find(key) + std::strlen(key)); }
};
using Calls = std::vector<TrayCall>;

// A recording notification area in front of Wine's own, for its scope (a shell that
// ends; a new one is a restarted shell).
class TrayRecorder {
public:
    // One refusing a balloon refuses the first balloon's request, as a busy shell
    // (tools/traylog).
    TrayRecorder(const TestFolder& folder, const std::string& logName, bool refusingABalloon = false);
    ~TrayRecorder();
    TrayRecorder(const TrayRecorder&) = delete;
    TrayRecorder& operator=(const TrayRecorder&) = delete;
    Calls Get(const std::string& verb = "", int id = -1) const;  // all, or those of a verb and icon
    // The main icon's so far: "2 text" for a warning, "1 text" for news, "refused 2 text"
    // for one it refused.
    Lines Balloons() const;
    bool WaitFor(const std::function<bool(const Calls&)>& condition) const {
        return WaitUntil([&] { return condition(Get()); });
    }

private:
    std::string log_;
    HANDLE process_ = nullptr;
};

// Another program holding the EC lock, from a process of its own (tools/eclock), until
// it is told to let go or dies. Each wait is on an event or the process, and a failed
// one says which side was late: eclock, or whoever keeps the lock.
class EcLockHolder {
public:
    EcLockHolder();
    ~EcLockHolder() { Abandon(); }
    EcLockHolder(const EcLockHolder&) = delete;
    EcLockHolder& operator=(const EcLockHolder&) = delete;

    testing::AssertionResult Held() const;
    testing::AssertionResult Release() const;
    void Abandon() const;  // killed while holding it, as a monitor that crashed

private:
    Handle Event(const char* suffix) const;
    DWORD ExitCode() const;  // codes in tools/eclock/README.md

    std::string name_;
    Handle waiting_, held_, release_, process_;
};

// A message box or dialog of a process, found by its caption; its text and buttons.
struct MessageBoxWindow {
    HWND hwnd;
    std::string text;
    void Press(int buttonId) const { SendMessageA(GetDlgItem(hwnd, buttonId), BM_CLICK, 0, 0); }
};
std::optional<MessageBoxWindow> OpenMessageBox(DWORD pid, const std::string& caption);  // now, or none
std::optional<MessageBoxWindow> WaitForMessageBox(DWORD pid, const std::string& caption);
HWND OpenPopupMenu(DWORD pid);  // the visible popup menu of a process, or null

// HKLM\HARDWARE\Description\System "SystemBiosVersion" for the test, put back after.
struct SeededBiosVersion : SeededRegistryValue {
    explicit SeededBiosVersion(const char* version)
        : SeededRegistryValue("HARDWARE\\Description\\System", "SystemBiosVersion", REG_MULTI_SZ,
                              std::string("ACRSYS - 1") + '\0' + version + '\0' + '\0') {}
};
// The Windows version ("CurrentVersion") for the test.
struct SeededWindowsVersion : SeededRegistryValue {
    explicit SeededWindowsVersion(const char* version)
        : SeededRegistryValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", REG_SZ,
                              Text(version)) {}
};

}  // namespace e2e
