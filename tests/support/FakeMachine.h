#pragma once
// The machine the tests give the program, for their scope: its SMBIOS identity in the
// registry's BIOS key, where the program looks first, or in the firmware table Wine
// builds from /sys/class/dmi/id, which the test bed replaces by the folder named in
// VANTU_DMI (scripts/wine-run).
#include <windows.h>

#include <fstream>
#include <string>

#include "support/BedFolder.h"
#include "support/SeededRegistryValue.h"

struct SeededMachine {
    SeededMachine(const char* manufacturer, const char* product, const char* biosVersion)
        : manufacturer(kKey, "SystemManufacturer", REG_SZ, Text(manufacturer)),
          product(kKey, "SystemProductName", REG_SZ, Text(product)),
          bios(kKey, "BIOSVersion", REG_SZ, Text(biosVersion)) {}
    static constexpr const char* kKey = "HARDWARE\\DESCRIPTION\\System\\BIOS";
    static std::string Text(const char* text) { return SeededRegistryValue::Text(text); }
    SeededRegistryValue manufacturer, product, bios;
};

class FirmwareIdentity {
public:
    FirmwareIdentity(const char* manufacturer, const char* product, const char* biosVersion) {
        Write("sys_vendor", manufacturer);
        Write("product_name", product);
        Write("bios_version", biosVersion);
    }
    ~FirmwareIdentity() {
        for (const char* name : {"sys_vendor", "product_name", "bios_version"})
            DeleteFileA(Path(name).c_str());
    }
    FirmwareIdentity(const FirmwareIdentity&) = delete;
    FirmwareIdentity& operator=(const FirmwareIdentity&) = delete;

private:
    static std::string Path(const char* name) { return BedFile("VANTU_DMI", name); }
    static void Write(const char* name, const char* value) { std::ofstream(Path(name), std::ios::binary) << value << '\n'; }
};
