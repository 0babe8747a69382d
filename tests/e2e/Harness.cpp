#include "Harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "support/DriverFiles.h"

namespace e2e {

namespace {

constexpr char kRegSystem[] = "HARDWARE\\Description\\System";
constexpr char kRegBios[] = "SystemBiosVersion";

void CopyInto(const std::string& source, const std::string& target) {
    if (!CopyFileA(WindowsPath(source).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source + " to " + target);
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
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
    const bool captionMatches = search->caption ? *search->caption == caption : IsWindowVisible(hwnd);
    if (pid == search->pid && search->className == className && captionMatches) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD pid, const std::string& className,
                       const std::optional<std::string>& caption) {
    WindowSearch search{pid, className, caption};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileText(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TestFolder::TestFolder(const std::string& suffix, const std::string& parent) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + suffix;
    for (char& c : name)
        if (c == '/')
            c = '_';
    dir_ = WindowsPath(parent) + "\\" + name;
    CreateDirectoryA(WindowsPath(parent).c_str(), nullptr);
    // The program of an earlier run in this folder may still be ending: while Wine
    // holds its files they cannot be deleted.
    const bool created = WaitUntil([&] {
        RemoveTree(dir_);
        return CreateDirectoryA(dir_.c_str(), nullptr) != FALSE;
    }, kEventBound);
    if (!created)
        throw std::runtime_error("cannot create " + dir_);
    CopyInto(VANTU_EXE, Path("vantu.exe"));
    CopyInto(SIMEC_DLL, Path("WinIo.dll"));
    CopyInto(FAKECMD_EXE, Path("powercfg.exe"));
}

TestFolder TestFolder::SeenFrom(const std::string& parent) const {
    return TestFolder(View{}, WindowsPath(parent) + dir_.substr(dir_.find_last_of('\\')));
}

void TestFolder::SetEc(const std::string& key, const std::string& value) const {
    WritePrivateProfileStringA("EC", key.c_str(), value.c_str(), Path("simec.ini").c_str());
}

std::vector<std::string> TestFolder::EcLog(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const auto& line : EcLog())
        if (line.rfind(prefix, 0) == 0)
            matching.push_back(line);
    return matching;
}

bool TestFolder::WaitForEcLog(const std::string& prefix, size_t count, milliseconds limit) const {
    return WaitUntil([&] { return EcLog(prefix).size() >= count; }, limit);
}

void TestFolder::AddFakeCommand(const std::string& name) const {
    CopyInto(FAKECMD_EXE, Path(name + ".exe"));
}

bool TestFolder::WaitForCommands(size_t count, milliseconds limit) const {
    return WaitUntil([&] { return Commands().size() >= count; }, limit);
}

Vantu::Vantu(const TestFolder& folder, const std::string& exeName,
             const std::string& currentDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (exeName != "vantu.exe")
        CopyFileA(folder.Path("vantu.exe").c_str(), folder.Path(exeName).c_str(), FALSE);
    std::string commandLine = "\"" + folder.Path(exeName) + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        (currentDirectory.empty() ? folder.Dir() : currentDirectory).c_str(),
                        &startup, &info))
        throw std::runtime_error("cannot start vantu.exe: error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
}

Vantu::~Vantu() {
    if (Running())
        Kill();
    CloseHandle(process_);
}

void Vantu::Kill() const {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

HWND Vantu::MainWindow(milliseconds limit) const {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindProcessWindow(pid_, "vantu.frmMain", "Main")) != nullptr; },
              limit);
    return window;
}

void Vantu::Close() const {
    if (HWND window = MainWindow())
        PostMessageA(window, WM_CLOSE, 0, 0);
}

bool Vantu::EndSession() const {
    const HWND window = MainWindow();
    DWORD_PTR result = 0;
    return window && SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL,
                                         static_cast<UINT>(kEventBound.count()), &result) != 0;
}

std::optional<DWORD> Vantu::WaitForExit(milliseconds limit) const {
    if (WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool Vantu::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void MessageBoxWindow::Press(int buttonId) const {
    SendMessageA(GetDlgItem(hwnd, buttonId), BM_CLICK, 0, 0);
}

std::optional<MessageBoxWindow> WaitForMessageBox(DWORD pid, const std::string& caption,
                                                  milliseconds limit) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindProcessWindow(pid, "#32770", caption)) != nullptr; },
                   limit))
        return std::nullopt;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return MessageBoxWindow{box, text};
}

HWND OpenPopupMenu(DWORD pid) { return FindProcessWindow(pid, "#32768", std::nullopt); }

TrayRecorder::TrayRecorder(const TestFolder& folder, const std::string& logName)
    : log_(folder.Path(logName)) {
    DeleteFileA(log_.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + WindowsPath(TRAYLOG_EXE) + "\" \"" + log_ + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        throw std::runtime_error("cannot start traylog.exe");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    if (!WaitUntil([&] { return !ReadLines(log_).empty(); }, kEventBound))
        throw std::runtime_error("traylog.exe did not come up");
}

TrayRecorder::~TrayRecorder() {
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

std::vector<TrayCall> TrayRecorder::Calls() const {
    std::vector<TrayCall> calls;
    for (const auto& line : ReadLines(log_))
        if (line != "READY")
            calls.push_back(ParseTrayCall(line));
    return calls;
}

bool TrayRecorder::WaitFor(const std::function<bool(const std::vector<TrayCall>&)>& condition,
                           milliseconds limit) const {
    return WaitUntil([&] { return condition(Calls()); }, limit);
}

namespace {

std::string MultiString(const std::vector<std::string>& strings) {
    std::string data;
    for (const auto& s : strings)
        data += s + '\0';
    return data + '\0';
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

testing::Environment* const kPatchedDriver =
    testing::AddGlobalTestEnvironment(new PatchedDriverEnvironment);

}  // namespace

SeededBiosVersion::SeededBiosVersion(const std::vector<std::string>& strings)
    : SeededRegistryValue(kRegSystem, kRegBios, REG_MULTI_SZ, MultiString(strings)) {}

}  // namespace e2e
