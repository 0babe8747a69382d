// A stand-in for the console commands the program starts (powercfg, devcon, hdparm).
// Copied into a test folder under the name of the command it replaces, it appends
// its command line, exactly as received, as one line to commands.log in its own
// folder, writes its environment to <own base name>.env there, prints the output scripted for its command line in <own base name>.outs,
// or else <own base name>.out, from that folder if there is one, and exits 0.
#include <windows.h>

#include <optional>
#include <string>

namespace {

class File {
public:
    explicit File(HANDLE handle) : handle_(handle) {}
    ~File() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string OwnPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

void WriteAll(HANDLE handle, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Append-only access makes every write land at the end of the file, so the lines of
// commands running at the same time do not overwrite each other.
void AppendLine(const std::string& path, const std::string& line) {
    const File log(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log.valid())
        WriteAll(log.get(), line + "\r\n");
}

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadAll(const std::string& path) {
    const File script(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!script.valid())
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(script.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

// In a .outs file a line ">" + command line opens the output of that command line;
// the lines up to the next ">" line are printed as they stand, line ends included.
std::optional<std::string> OutputFor(const std::string& script, const std::string& commandLine) {
    std::optional<std::string> output;
    for (size_t start = 0; start < script.size();) {
        size_t end = script.find('\n', start);
        end = end == std::string::npos ? script.size() : end + 1;
        const std::string line = script.substr(start, end - start);
        start = end;
        if (line[0] == '>') {
            if (output)
                break;
            std::string header = line.substr(1);
            while (!header.empty() && (header.back() == '\n' || header.back() == '\r'))
                header.pop_back();
            if (header == commandLine)
                output.emplace();
        } else if (output) {
            *output += line;
        }
    }
    return output;
}

}  // namespace

int main() {
    const std::string self = OwnPath();
    const std::string::size_type slash = self.find_last_of("\\/");
    const std::string folder = self.substr(0, slash + 1);
    std::string baseName = self.substr(slash + 1);
    const std::string::size_type dot = baseName.rfind('.');
    if (dot != std::string::npos)
        baseName.erase(dot);

    const std::string commandLine = GetCommandLineA();
    AppendLine(folder + "commands.log", commandLine);
    // The environment it was started with, one variable a line, as its last run had it.
    if (char* const strings = GetEnvironmentStringsA()) {
        std::string lines;
        for (const char* entry = strings; *entry; entry += lstrlenA(entry) + 1)
            lines.append(entry).append("\r\n");
        FreeEnvironmentStringsA(strings);
        const File environment(CreateFileA((folder + baseName + ".env").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (environment.valid())
            WriteAll(environment.get(), lines);
    }
    std::optional<std::string> output;
    if (const auto script = ReadAll(folder + baseName + ".outs"))
        output = OutputFor(*script, commandLine);
    if (!output)
        output = ReadAll(folder + baseName + ".out");
    if (output)
        WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), *output);
    return 0;
}
