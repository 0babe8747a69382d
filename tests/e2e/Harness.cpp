#include "Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sddl.h>
#include <tlhelp32.h>

#include "support/DriverFiles.h"
#include "support/FakeMachine.h"

namespace e2e {

namespace {

void CopyInto(const std::string& source, const std::string& target) {
    if (!CopyFileA(WindowsPath(source).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source + " to " + target);
}

// Wide: a test may leave a file whose name the code page cannot spell.
void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName, path = dir + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (name != L"." && name != L".." && !DeleteFileW(path.c_str()))
            RemoveTree(path);
    }
    FindClose(search);
    RemoveDirectoryW(dir.c_str());
}
void RemoveTree(const std::string& dir) { RemoveTree(std::wstring(dir.begin(), dir.end())); }

// A top-level window of the process by class and caption; any caption, but visible,
// when none is given.
HWND FindProcessWindow(DWORD pid, const char* className, const char* caption) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, caption)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && (caption || IsWindowVisible(window)))
            return window;
    }
    return nullptr;
}

// A first start on this Windows XP prefix would ask to patch the driver and wait for
// an answer: so for the whole run the driver counts as patched, and the tests of the
// question seed an unpatched one.
class PatchedDriverEnvironment : public testing::Environment {
    void SetUp() override { patched_.emplace(DriverFiles::Patched); }
    void TearDown() override { patched_.reset(); }
    std::optional<DriverFiles::ImagePath> patched_;
};

testing::Environment* const kPatchedDriver = testing::AddGlobalTestEnvironment(new PatchedDriverEnvironment);

// The registry's BIOS key names whatever machine Wine found when its server started:
// for the run it names none, so that the firmware table (empty until a test writes
// one) decides, and the tests of a machine seed it.
class UnknownMachineEnvironment : public testing::Environment {
    void SetUp() override { unknown_.emplace("", "", ""); }
    void TearDown() override { unknown_.reset(); }
    std::optional<SeededMachine> unknown_;
};

testing::Environment* const kUnknownMachine = testing::AddGlobalTestEnvironment(new UnknownMachineEnvironment);

// A run cut off at its time limit leaves the programs it started running (the test's
// own clean-up never ran): a program still holding the single-instance lock or a
// notification area would fail every test after it. So each run starts by ending them.
class LeftoversEnvironment : public testing::Environment {
    void SetUp() override {
        const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (bool more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
            const std::string name = entry.szExeFile;
            if (name != "vantu.exe" && name != "fanctl.exe" && name != "traylog.exe" && name != "eclock.exe")
                continue;
            const Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), static_cast<DWORD>(kEventBound.count()));
        }
    }
};

testing::Environment* const kLeftovers = testing::AddGlobalTestEnvironment(new LeftoversEnvironment);

}  // namespace

int TimeScale() {
    const char* text = std::getenv("VANTU_TIME_SCALE");
    const int scale = text ? std::atoi(text) : 1;
    return scale >= 1 ? scale : 1;
}

std::string TemporaryLeft(const std::string& folder) {
    WIN32_FIND_DATAA left;
    const HANDLE search = FindFirstFileA((folder + "\\~vantu-*").c_str(), &left);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return left.cFileName;
}

bool WaitUntil(const std::function<bool()>& condition, milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(20);
    }
    return true;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string SecurityText(const std::string& path, SECURITY_INFORMATION part) {
    char descriptor[1024];
    DWORD size = 0;
    LPSTR sddl = nullptr;
    if (!GetFileSecurityA(path.c_str(), part, descriptor, sizeof descriptor, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, part, &sddl, nullptr))
        return "";
    const std::string text = sddl;
    LocalFree(sddl);
    return text;
}

std::string ReadFileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A line still being written (no line end yet) is left for the next read.
Lines ReadLines(const std::string& path, const std::string& prefix) {
    Lines lines;
    const std::string text = ReadFileText(path);
    std::istringstream in(text.substr(0, text.find_last_of('\n') + 1));
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

HANDLE Start(const std::string& commandLine, const char* currentDirectory, DWORD* pid) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory, &startup, &info))
        throw std::runtime_error("cannot start " + commandLine + ", error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    if (pid)
        *pid = info.dwProcessId;
    return info.hProcess;
}

std::string BedFolder(const char* variable) {
    const char* path = std::getenv(variable);
    if (!path)
        throw std::runtime_error(std::string(variable) + " is not set: run under scripts/wine-run");
    return path;
}

FilledDisk::FilledDisk(const std::string& disk, DWORD spare) : disk_(WindowsPath(disk) + "\\"), filler_(disk_ + "filler") {
    const Handle file(CreateFileA(filler_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string chunk(16 * kPage, 'x');
    for (DWORD written = 1; written > 0 && WriteFile(file.get(), chunk.data(), DWORD(chunk.size()), &written, nullptr);) {
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    size.QuadPart -= spare;
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExA(disk_.c_str(), &free, nullptr, nullptr);
    EXPECT_EQ(free.QuadPart, spare);
}

TestFolder::TestFolder(const std::string& suffix, const std::string& parent) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = parent + "\\" + info->test_suite_name() + "." + info->name() + suffix;
    CreateDirectoryA(parent.c_str(), nullptr);
    // The program of an earlier run in this folder may still be ending: while Wine
    // holds its files they cannot be deleted.
    if (!WaitUntil([&] { RemoveTree(dir_); return CreateDirectoryA(dir_.c_str(), nullptr) != FALSE; }))
        throw std::runtime_error("cannot create " + dir_);
    CopyInto(VANTU_EXE, Path("vantu.exe"));
    CopyInto(SIMEC_DLL, Path("WinIo.dll"));
    CopyInto(FAKECMD_EXE, Path("powercfg.exe"));
}

milliseconds TestFolder::TimeOfTicks(size_t count) const {
    const auto start = std::chrono::steady_clock::now();
    WaitForEcLog("R 58 ", EcLog("R 58 ").size() + count);
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

void TestFolder::AddFakeCommand(const std::string& name) const { AddFile(FAKECMD_EXE, name + ".exe"); }

void TestFolder::AddFile(const std::string& unixSource, const std::string& name) const {
    CopyInto(unixSource, Path(name));
}

TestFolder TestFolder::SeenFrom(const std::string& parent) const {
    return TestFolder(WindowsPath(parent) + dir_.substr(dir_.find_last_of('\\')), 0);
}

Vantu::Vantu(const TestFolder& folder, const std::string& exeName, const std::string& currentDirectory) {
    if (exeName != "vantu.exe")
        CopyFileA(folder.Path("vantu.exe").c_str(), folder.Path(exeName).c_str(), FALSE);
    process_ = Start("\"" + folder.Path(exeName) + "\"",
                     (currentDirectory.empty() ? folder.Dir() : currentDirectory).c_str(), &pid_);
}

Vantu::~Vantu() {
    if (Running())
        Kill();
    CloseHandle(process_);
}

HWND Vantu::MainWindow() const {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindProcessWindow(pid_, "vantu.frmMain", "Main")) != nullptr; });
    return window;
}

bool Vantu::Send(UINT message, WPARAM wParam) const {
    DWORD_PTR result = 0;
    const HWND window = MainWindow();
    return window && SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL,
                                         static_cast<UINT>(kEventBound.count()), &result) != 0;
}

HWND Vantu::OpenTrayMenu() const {
    PostMessageA(MainWindow(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = OpenPopupMenu(pid_)) != nullptr; });
    return menu;
}

bool Vantu::AnswersFor(milliseconds span) const {
    for (const auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end; Sleep(100))
        if (!Send(WM_NULL))
            return false;
    return true;
}

std::optional<DWORD> Vantu::WaitForExit() const {
    DWORD code = 0;
    if (WaitForSingleObject(process_, static_cast<DWORD>(kEventBound.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &code))
        return std::nullopt;
    return code;
}

void Vantu::Kill() const {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, static_cast<DWORD>(kEventBound.count()));
}

std::string TrayCall::Field(const std::string& key) const {
    const size_t at = line.substr(0, std::min(line.find(" tip="), line.find(" info="))).find(" " + key + "=");
    return at == line.npos ? "" : line.substr(at + key.size() + 2, line.find(' ', at + 1) - at - key.size() - 2);
}

TrayRecorder::TrayRecorder(const TestFolder& folder, const std::string& logName, bool refusingABalloon)
    : log_(folder.Path(logName)) {
    DeleteFileA(log_.c_str());
    process_ = Start("\"" + WindowsPath(TRAYLOG_EXE) + "\" \"" + log_ + "\"" + (refusingABalloon ? " refuse-balloon" : ""));
    // One that ended without its window says so at once, not at the end of the wait.
    const auto ended = [&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; };
    if (!WaitUntil([&] { return !ReadLines(log_).empty() || ended(); }) || ReadLines(log_).empty()) {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_, &code);
        TerminateProcess(process_, 0);
        CloseHandle(process_);
        throw std::runtime_error(code == STILL_ACTIVE ? "traylog.exe did not come up in time"
                                                      : "traylog.exe ended without its window, code " + std::to_string(code));
    }
}

TrayRecorder::~TrayRecorder() {
    // Gone for good before the next one starts, or the shell's requests could reach it.
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, static_cast<DWORD>(kEventBound.count()));
    CloseHandle(process_);
}

Calls TrayRecorder::Get(const std::string& verb, int id) const {
    Calls calls;
    for (const auto& line : ReadLines(log_, verb)) {
        const TrayCall call{line};
        if (line != "READY" && (id < 0 || call.Field("id") == std::to_string(id)))
            calls.push_back(call);
    }
    return calls;
}

Lines TrayRecorder::Balloons() const {
    Lines balloons;
    for (const TrayCall& call : Get("MODIFY", 0))
        if (call.Field("flags") == "16") {
            EXPECT_EQ(call.Field("title"), "vantu") << call.line;
            balloons.push_back((call.Accepted() ? "" : "refused ") + call.Field("infoflags") + " " + call.Info());
        }
    return balloons;
}

EcLockHolder::EcLockHolder() {
    static int made = 0;
    name_ = "vantu-e2e-eclock-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    waiting_ = Event("waiting");
    held_ = Event("held");
    release_ = Event("release");
    process_ = Handle(Start("\"" + WindowsPath(ECLOCK_EXE) + "\" " + name_));
}

testing::AssertionResult EcLockHolder::Held() const {
    const DWORD bound = static_cast<DWORD>(kEventBound.count());
    for (const auto& [event, late] : {std::pair{&waiting_, "did not come up: the test bed is slow"},
                                      {&held_, "waited for the EC lock: another process keeps it"}}) {
        const HANDLE either[] = {event->get(), process_.get()};
        const DWORD woke = WaitForMultipleObjects(2, either, FALSE, bound);
        if (woke == WAIT_TIMEOUT)
            return testing::AssertionFailure() << "for " << bound / 1000 << " s eclock " << late;
        if (woke != WAIT_OBJECT_0)
            return testing::AssertionFailure() << "eclock ended (code " << ExitCode() << ") without the lock";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult EcLockHolder::Release() const {
    const DWORD bound = static_cast<DWORD>(kEventBound.count());
    SetEvent(release_.get());
    if (WaitForSingleObject(process_.get(), bound) != WAIT_OBJECT_0)
        return testing::AssertionFailure() << "eclock did not end within " << bound / 1000
                                           << " s of its release: the test bed is slow";
    if (ExitCode() != 0)
        return testing::AssertionFailure() << "eclock's release failed (code " << ExitCode() << ")";
    return testing::AssertionSuccess();
}

void EcLockHolder::Abandon() const {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), static_cast<DWORD>(kEventBound.count()));
}

Handle EcLockHolder::Event(const char* suffix) const {
    return Handle(CreateEventA(nullptr, TRUE, FALSE, (name_ + "." + suffix).c_str()));
}

DWORD EcLockHolder::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::optional<MessageBoxWindow> OpenMessageBox(DWORD pid, const std::string& caption) {
    const HWND box = FindProcessWindow(pid, "#32770", caption.c_str());
    if (!box)
        return std::nullopt;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return MessageBoxWindow{box, text};
}

std::optional<MessageBoxWindow> WaitForMessageBox(DWORD pid, const std::string& caption) {
    std::optional<MessageBoxWindow> box;
    WaitUntil([&] { return (box = OpenMessageBox(pid, caption)).has_value(); });
    return box;
}

HWND OpenPopupMenu(DWORD pid) { return FindProcessWindow(pid, "#32768", nullptr); }

}  // namespace e2e
