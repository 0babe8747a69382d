#pragma once
// The end-to-end test bed: the real vantu.exe started in a folder of its own, with
// the simulated EC and a recording powercfg beside it, watched only from outside.
// For the whole run the machine's ACPIEC driver counts as patched (Harness.cpp).
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/SeededRegistryValue.h"

namespace e2e {

using std::chrono::milliseconds;

std::string WindowsPath(const std::string& unixPath);  // through Wine's Z: drive
std::string ReadFileText(const std::string& path);     // "" when missing
void WriteFileText(const std::string& path, const std::string& text);
std::vector<std::string> ReadLines(const std::string& path);
// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, milliseconds limit);
// How long an awaited event may take before it counts as lost. Not a timing check:
// it only ends a wait for a program that hangs, and leaves room for an emulated
// 32-bit guest, many times slower than the host.
constexpr milliseconds kEventBound(60000);

// A fresh folder per test holding vantu.exe, WinIo.dll (the simulated EC) and
// powercfg.exe (the recording fake).
class TestFolder {
public:
    // Named after the test and the suffix, in the test bed's folder or in `parent` (a
    // Unix path, such as the small disk of the settings-file tests).
    explicit TestFolder(const std::string& suffix = "", const std::string& parent = VANTU_E2E_DIR);
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& Dir() const { return dir_; }
    // Writes vantu.ini; "TimerInterval" is short by default so tests run fast.
    void WriteIni(const std::string& text) const { WriteFileText(Path("vantu.ini"), text); }
    std::string Ini() const { return ReadFileText(Path("vantu.ini")); }
    std::vector<std::string> Commands() const { return ReadLines(Path("commands.log")); }
    // The same folder seen under another parent: VANTU_READ_ONLY shows VANTU_WRITABLE.
    TestFolder SeenFrom(const std::string& parent) const;
    // Puts another copy of the recording fake beside vantu.exe, as name.exe.
    void AddFakeCommand(const std::string& name) const;
    // Waits until commands.log holds at least `count` lines.
    bool WaitForCommands(size_t count, milliseconds limit) const;

    // The simulated EC, driven through its control file and read through its log.
    void SetEc(const std::string& key, const std::string& value) const;
    std::vector<std::string> EcLog() const { return ReadLines(Path("simec.log")); }
    std::vector<std::string> EcLog(const std::string& prefix) const;  // lines starting so
    // Waits until the EC log holds at least `count` lines starting with `prefix`.
    bool WaitForEcLog(const std::string& prefix, size_t count, milliseconds limit) const;

private:
    struct View {};
    TestFolder(View, std::string dir) : dir_(std::move(dir)) {}
    std::string dir_;
};

// A running vantu.exe; killed at the end of the test if it is still running.
class Vantu {
public:
    // exeName: a copy of vantu.exe under another name, made in the folder first;
    // started in its own folder, or with another current directory.
    explicit Vantu(const TestFolder& folder, const std::string& exeName = "vantu.exe",
                   const std::string& currentDirectory = "");
    ~Vantu();
    Vantu(const Vantu&) = delete;
    Vantu& operator=(const Vantu&) = delete;

    DWORD ProcessId() const { return pid_; }
    HWND MainWindow(milliseconds limit = kEventBound) const;  // the hidden "Main"
    // Sends WM_CLOSE to the main window, as the system or a menu Exit would.
    void Close() const;
    // Sends WM_ENDSESSION (the session ends) to the main window and waits until it has
    // been handled, also while a modal loop runs; false when it was not.
    bool EndSession() const;
    // Exit code, or nothing when the process did not end within the limit.
    std::optional<DWORD> WaitForExit(milliseconds limit = kEventBound) const;
    bool Running() const;
    // Ends the process at once, as a kill or a power cut would.
    void Kill() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// One request to the notification area, as tools/traylog logged it.
struct TrayCall {
    std::string verb;  // ADD, MODIFY, DELETE
    unsigned id = 0, flags = 0, callback = 0;
    bool accepted = false;
    std::string hash;    // of the icon's bits; equal pictures, equal hashes
    std::string colors;  // the icon's opaque colours, "RRGGBB:count," most frequent first
    std::string tip;
    bool Shows(const std::string& rrggbb) const { return colors.find(rrggbb + ":") != std::string::npos; }
};

// A recording notification area in front of Wine's own, from its start to the end of
// its scope (a shell that ends; a new one is a restarted shell).
class TrayRecorder {
public:
    TrayRecorder(const TestFolder& folder, const std::string& logName);
    ~TrayRecorder();
    TrayRecorder(const TrayRecorder&) = delete;
    TrayRecorder& operator=(const TrayRecorder&) = delete;

    std::vector<TrayCall> Calls() const;
    // Waits until the calls so far satisfy the condition.
    bool WaitFor(const std::function<bool(const std::vector<TrayCall>&)>& condition,
                 milliseconds limit = kEventBound) const;

private:
    std::string log_;
    HANDLE process_ = nullptr;
};

// A message box of a process, found by its caption.
struct MessageBoxWindow {
    HWND hwnd;
    std::string text;
    void Press(int buttonId) const;
};
std::optional<MessageBoxWindow> WaitForMessageBox(DWORD pid, const std::string& caption,
                                                  milliseconds limit = kEventBound);
// The visible popup menu of a process, or null.
HWND OpenPopupMenu(DWORD pid);

// Sets HKLM\HARDWARE\Description\System "SystemBiosVersion" (a multi-string) for the
// test and puts back what was there.
class SeededBiosVersion : public SeededRegistryValue {
public:
    explicit SeededBiosVersion(const std::vector<std::string>& strings);
};

}  // namespace e2e
