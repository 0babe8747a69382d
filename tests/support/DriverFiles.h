#pragma once
// The ACPIEC driver as the tests give it to the program: acpiec.sys and the service's
// "ImagePath" in the Wine prefix, which has neither. The driver files (and a patch's
// new file) are removed before and after each scope.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "support/SeededRegistryValue.h"

class DriverFiles {
public:
    static constexpr const char* ServiceKey = "SYSTEM\\ControlSet001\\Services\\ACPIEC";
    static constexpr const char* Unpatched = "system32\\DRIVERS\\acpiec.sys";
    static constexpr const char* Patched = "system32\\DRIVERS\\acpiec_nolog.sys";

    DriverFiles() { Clear(); }
    ~DriverFiles() { Clear(); }
    DriverFiles(const DriverFiles&) = delete;
    DriverFiles& operator=(const DriverFiles&) = delete;

    static std::string DriverPath() { return Folder() + "acpiec.sys"; }
    static std::string PatchedPath() { return Folder() + "acpiec_nolog.sys"; }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // The file's bytes; nothing when it is not there.
    static std::optional<std::string> Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
    }
    // "ImagePath" as stored, its type's number before its bytes ("2:..."); "none" when missing.
    static std::string StoredImagePath() {
        HKEY key = nullptr;
        char data[512];
        DWORD type = 0, size = sizeof data;
        const bool found = RegOpenKeyA(HKEY_LOCAL_MACHINE, ServiceKey, &key) == ERROR_SUCCESS &&
                           RegQueryValueExA(key, "ImagePath", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found ? std::to_string(type) + ":" + std::string(data, size) : "none";
    }
    // A service entry whose "ImagePath" is stored as Windows stores it, REG_EXPAND_SZ.
    struct ImagePath : SeededRegistryValue {
        explicit ImagePath(const std::string& path) : SeededRegistryValue(ServiceKey, "ImagePath", REG_EXPAND_SZ, Text(path)) {}
    };

private:
    static std::string Folder() {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        return std::string(windows) + "\\system32\\drivers\\";
    }
    static void Clear() {
        for (const std::string& path : {DriverPath(), PatchedPath(), PatchedPath() + ".new"})
            DeleteFileA(path.c_str());
    }
};
