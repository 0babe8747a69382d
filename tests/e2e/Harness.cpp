#include "Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "support/DriverFiles.h"

namespace e2e {

namespace {

void CopyInto(const std::string& source, const std::string& target) {
    if (!CopyFileA(WindowsPath(source).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source + " to " + target);
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName, path = dir + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (name != "." && name != ".." && !DeleteFileA(path.c_str()))
            RemoveTree(path);
    }
    FindClose(search);
    RemoveDirectoryA(dir.c_str());
}

struct WindowSearch {
    DWORD pid;
    std::string className;
    std::optional<std::string> caption;  // any caption when absent, but then visible
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[64] = {}, caption[256] = {};
    GetClassNameA(hwnd, className, sizeof className);
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid == search->pid && search->className == className &&
        (search->caption ? *search->caption == caption : IsWindowVisible(hwnd)))
        search->found = hwnd;
    return search->found == nullptr;
}

HWND FindProcessWindow(DWORD pid, const std::string& className, const std::optional<std::string>& caption) {
    WindowSearch search{pid, className, caption};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HANDLE Start(const std::string& commandLine, const char* currentDirectory, DWORD* pid = nullptr) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory, &startup, &info))
        throw std::runtime_error("cannot start " + commandLine);
    CloseHandle(info.hThread);
    if (pid)
        *pid = info.dwProcessId;
    return info.hProcess;
}

// "key=value" fields of a traylog line up to " tip=", which takes the rest.
TrayCall ParseTrayCall(const std::string& line) {
    TrayCall call;
    const size_t tip = line.find(" tip=");
    call.tip = tip == std::string::npos ? "" : line.substr(tip + 5);
    std::istringstream fields(line.substr(0, tip));
    fields >> call.verb;
    for (std::string field; fields >> field;) {
        const size_t eq = field.find('=');
        const std::string key = field.substr(0, eq), value = eq == std::string::npos ? "" : field.substr(eq + 1);
        if (key == "id") call.id = std::stoul(value);
        else if (key == "flags") call.flags = std::stoul(value);
        else if (key == "msg") call.callback = std::stoul(value, nullptr, 16);
        else if (key == "accepted") call.accepted = true;
        else if (key == "hash") call.hash = value;
        else if (key == "colors") call.colors = value;
    }
    return call;
}

// A first start on this Windows XP prefix would ask to patch the driver and wait for
// an answer: so for the whole run the driver counts as patched, and the tests of the
// question seed an unpatched one.
class PatchedDriverEnvironment : public testing::Environment {
public:
    void SetUp() override { patched_.emplace(DriverFiles::Patched); }
    void TearDown() override { patched_.reset(); }

private:
    std::optional<DriverFiles::ImagePath> patched_;
};

testing::Environment* const kPatchedDriver = testing::AddGlobalTestEnvironment(new PatchedDriverEnvironment);

}  // namespace

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

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

Lines ReadLines(const std::string& path) {
    Lines lines;
    std::istringstream in(ReadFileText(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

Lines Starting(const Lines& lines, const std::string& prefix) {
    Lines matching;
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0)
            matching.push_back(line);
    return matching;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TestFolder::TestFolder(const std::string& suffix, const std::string& parent) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + suffix;
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = WindowsPath(parent) + "\\" + name;
    CreateDirectoryA(WindowsPath(parent).c_str(), nullptr);
    // The program of an earlier run in this folder may still be ending: while Wine
    // holds its files they cannot be deleted.
    if (!WaitUntil([&] { RemoveTree(dir_); return CreateDirectoryA(dir_.c_str(), nullptr) != FALSE; }))
        throw std::runtime_error("cannot create " + dir_);
    CopyInto(VANTU_EXE, Path("vantu.exe"));
    CopyInto(SIMEC_DLL, Path("WinIo.dll"));
    CopyInto(FAKECMD_EXE, Path("powercfg.exe"));
}

void TestFolder::AddFakeCommand(const std::string& name) const { CopyInto(FAKECMD_EXE, Path(name + ".exe")); }

void TestFolder::SetEc(const std::string& key, const std::string& value) const {
    WritePrivateProfileStringA("EC", key.c_str(), value.c_str(), Path("simec.ini").c_str());
}

bool TestFolder::WaitForEcLog(const std::string& prefix, size_t count) const {
    return WaitUntil([&] { return EcLog(prefix).size() >= count; });
}

TestFolder TestFolder::SeenFrom(const std::string& parent) const {
    return TestFolder(View{}, WindowsPath(parent) + dir_.substr(dir_.find_last_of('\\')));
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

void Vantu::Close() const { PostMessageA(MainWindow(), WM_CLOSE, 0, 0); }

bool Vantu::Send(UINT message, WPARAM wParam) const {
    DWORD_PTR result = 0;
    const HWND window = MainWindow();
    return window && SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL,
                                         static_cast<UINT>(kEventBound.count()), &result) != 0;
}

std::optional<DWORD> Vantu::WaitForExit() const {
    DWORD code = 0;
    if (WaitForSingleObject(process_, static_cast<DWORD>(kEventBound.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &code))
        return std::nullopt;
    return code;
}

bool Vantu::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void Vantu::Kill() const {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

TrayRecorder::TrayRecorder(const TestFolder& folder, const std::string& logName) : log_(folder.Path(logName)) {
    DeleteFileA(log_.c_str());
    process_ = Start("\"" + WindowsPath(TRAYLOG_EXE) + "\" \"" + log_ + "\"", nullptr);
    if (!WaitUntil([&] { return !ReadLines(log_).empty(); }))
        throw std::runtime_error("traylog.exe did not come up");
}

TrayRecorder::~TrayRecorder() {
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

Calls TrayRecorder::Get() const {
    Calls calls;
    for (const auto& line : ReadLines(log_))
        if (line != "READY")
            calls.push_back(ParseTrayCall(line));
    return calls;
}

void MessageBoxWindow::Press(int buttonId) const { SendMessageA(GetDlgItem(hwnd, buttonId), BM_CLICK, 0, 0); }

std::optional<MessageBoxWindow> WaitForMessageBox(DWORD pid, const std::string& caption, milliseconds limit) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindProcessWindow(pid, "#32770", caption)) != nullptr; }, limit))
        return std::nullopt;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return MessageBoxWindow{box, text};
}

HWND OpenPopupMenu(DWORD pid) { return FindProcessWindow(pid, "#32768", std::nullopt); }

SeededBiosVersion::SeededBiosVersion(const char* version)
    : SeededRegistryValue("HARDWARE\\Description\\System", "SystemBiosVersion", REG_MULTI_SZ,
                          std::string("ACRSYS - 1") + '\0' + version + '\0' + '\0') {}

SeededWindowsVersion::SeededWindowsVersion(const char* version)
    : SeededRegistryValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", REG_SZ,
                          Text(version)) {}

}  // namespace e2e
