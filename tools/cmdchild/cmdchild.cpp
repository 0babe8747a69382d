// A console child for the RunCommand tests. Its first argument says what it does:
//   lines N      writes N lines "line 0001" ... each by a write of its own
//   bytes HEX    writes the bytes given as hexadecimal digits
//   streams      writes "out" to standard output, then "err" to standard error
//   spawn MODE   writes "child;", starts "cmdchild MODE" with its own standard
//                handles (so the grandchild holds the pipe too) and ends at once
//   late         waits half a second, then writes "grandchild"
//   hang         writes "pid N;" with its process ID and never ends
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Write(DWORD stream, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

void Out(const std::string& bytes) { Write(STD_OUTPUT_HANDLE, bytes); }

std::string FromHex(const std::string& digits) {
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

void Spawn(const std::string& mode) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "cmdchild " + mode;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string argument = argc > 2 ? argv[2] : "";
    if (mode == "lines") {
        const int count = std::atoi(argument.c_str());
        for (int i = 1; i <= count; ++i) {
            char line[32];
            std::snprintf(line, sizeof line, "line %04d\r\n", i);
            Out(line);
        }
    } else if (mode == "bytes") {
        Out(FromHex(argument));
    } else if (mode == "streams") {
        Out("out");
        Write(STD_ERROR_HANDLE, "err");
    } else if (mode == "spawn") {
        Out("child;");
        Spawn(argument);
    } else if (mode == "late") {
        Sleep(500);
        Out("grandchild");
    } else if (mode == "hang") {
        Out("pid " + std::to_string(GetCurrentProcessId()) + ";");
        Sleep(INFINITE);
    } else {
        return 2;
    }
    return 0;
}
