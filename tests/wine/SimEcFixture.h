#pragma once
// A fresh simulated EC for each test: the port library unloaded, simec.ini written with
// the test's [EC] keys, simec.log emptied; the settings put back afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ec/modAcerEC.h"
#include "settings/modSettings.h"

class SimEcFixture : public testing::Test {
protected:
    void SetUp() override {
        savedSettings_ = modSettings::Settings;
        savedBios_ = modSettings::BiosVersion;
        modAcerEC::CloseEC();
        DeleteFileA(LogPath().c_str());
        WriteIni("");
    }

    void TearDown() override {
        modAcerEC::CloseEC();
        DeleteFileA(IniPath().c_str());
        DeleteFileA(LogPath().c_str());
        modSettings::Settings = savedSettings_;
        modSettings::BiosVersion = savedBios_;
    }

    static std::string IniPath() { return modSettings::AppFolder() + "simec.ini"; }
    static std::string LogPath() { return modSettings::AppFolder() + "simec.log"; }

    // Replaces the control file; its write time is moved on by hand, so that the
    // simulator sees the change even within the file system's time granularity.
    static void WriteIni(const std::string& ecKeys) {
        static ULONGLONG lastStamp = 0;
        const std::string text = "[EC]\r\n" + ecKeys + "\r\n";
        const HANDLE file =
            CreateFileA(IniPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
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

    static std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::ifstream log(LogPath());
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    SettingsRecord savedSettings_;
    int16_t savedBios_ = 0;
};

using Lines = std::vector<std::string>;
