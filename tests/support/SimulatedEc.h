#pragma once
// The simulated EC beside a test program (WinIo.dll, tools/simec): its control file
// written and its log read, both removed at the end of the scope.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

class SimulatedEc {
public:
    using Lines = std::vector<std::string>;
    SimulatedEc() { Control(""); }
    ~SimulatedEc() {
        DeleteFileA(Beside("simec.ini").c_str());
        DeleteFileA(Beside("simec.log").c_str());
    }
    SimulatedEc(const SimulatedEc&) = delete;
    SimulatedEc& operator=(const SimulatedEc&) = delete;

    // A new control file with these [EC] keys, and an empty log. Its write time is
    // moved on by hand, so that the simulator sees the change within the file system's
    // time granularity.
    void Control(const std::string& keys) const {
        static ULONGLONG lastStamp = 0;
        DeleteFileA(Beside("simec.log").c_str());
        const std::string text = "[EC]\r\n" + keys + "\r\n";
        const HANDLE file = CreateFileA(Beside("simec.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER stamp{{now.dwLowDateTime, now.dwHighDateTime}};
        stamp.QuadPart = lastStamp = std::max<ULONGLONG>(stamp.QuadPart, lastStamp + 10'000'000);
        const FILETIME time{stamp.LowPart, stamp.HighPart};
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    }
    Lines Log() const {
        Lines lines;
        std::ifstream log(Beside("simec.log"));
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    static std::string Beside(const char* name) {
        char path[MAX_PATH];
        const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
        return self.substr(0, self.find_last_of('\\') + 1) + name;
    }
};
