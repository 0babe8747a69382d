#pragma once
// The battery the tests give Wine. Wine reads the power status from
// /sys/class/power_supply, which the test bed replaces by the folder named in
// VANTU_POWER_SUPPLY (scripts/wine-run); it is written here through drive Z:.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

#include "support/BedFolder.h"

class FakePowerSupply {
public:
    static bool Available() { return std::getenv("VANTU_POWER_SUPPLY") != nullptr; }

    // On battery: 75 % left, discharging at a third of the full charge per hour.
    static void Discharging() {
        Write("AC\\online", "0");
        CreateDirectoryA(Path("BAT0").c_str(), nullptr);
        for (const auto& [name, value] : kBattery)
            Write(std::string("BAT0\\") + name, value);
    }

    // The test bed's default: mains power and no battery. Mains comes first: a tick
    // between the steps then sees mains with a battery, not a machine on battery without
    // one, which draws the battery's digit colour under the tip "No battery".
    static void Mains() {
        Write("AC\\online", "1");
        for (const auto& [name, value] : kBattery)
            DeleteFileA(Path(std::string("BAT0\\") + name).c_str());
        RemoveDirectoryA(Path("BAT0").c_str());
    }

private:
    static constexpr std::pair<const char*, const char*> kBattery[] = {
        {"type", "Battery"},         {"present", "1"},          {"status", "Discharging"},
        {"voltage_now", "11100000"}, {"charge_full", "4000000"}, {"charge_now", "3000000"},
        {"current_now", "1000000"},
    };

    static std::string Path(const std::string& relative) { return BedFile("VANTU_POWER_SUPPLY", relative); }

    static void Write(const std::string& relative, const char* value) {
        std::ofstream(Path(relative), std::ios::binary) << value << '\n';
    }
};

