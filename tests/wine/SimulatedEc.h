#pragma once
// The simulated EC beside the test program (WinIo.dll, tools/simec): its control file
// written and its log read, both removed at the end of the scope.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "settings/modSettings.h"
#include "system/Handle.h"

class SimulatedEc {
public:
    using Lines = std::vector<std::string>;
    SimulatedEc() { Control(""); }
    ~SimulatedEc() {
        DeleteFileA(control_.c_str());
        DeleteFileA(log_.c_str());
    }
    SimulatedEc(const SimulatedEc&) = delete;
    SimulatedEc& operator=(const SimulatedEc&) = delete;

    // A new control file with these [EC] keys, and an empty log. Its write time is moved
    // on by hand, so that the simulator sees the change within the file system's time
    // granularity.
    void Control(const std::string& keys) const {
        static ULONGLONG lastStamp = 0;
        DeleteFileA(log_.c_str());
        std::ofstream(control_, std::ios::binary | std::ios::trunc) << "[EC]\r\n" << keys << "\r\n";
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER stamp{{now.dwLowDateTime, now.dwHighDateTime}};
        stamp.QuadPart = lastStamp = std::max<ULONGLONG>(stamp.QuadPart, lastStamp + 10'000'000);
        const FILETIME time{stamp.LowPart, stamp.HighPart};
        const Handle file(CreateFileA(control_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        SetFileTime(file.get(), nullptr, nullptr, &time);
    }
    Lines Log() const {
        Lines lines;
        std::ifstream log(log_);
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    const std::string control_ = modSettings::AppFolder() + "simec.ini", log_ = modSettings::AppFolder() + "simec.log";
};
