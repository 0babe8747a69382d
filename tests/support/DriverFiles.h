#pragma once
// The ACPIEC driver as the tests give it to the program: acpiec.sys and the service's
// "ImagePath" in the Wine prefix, which has neither. Both driver files are removed
// before and after each scope.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

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

    static std::string Folder() {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        return std::string(windows) + "\\system32\\drivers\\";
    }
    static std::string DriverPath() { return Folder() + "acpiec.sys"; }
    static std::string PatchedPath() { return Folder() + "acpiec_nolog.sys"; }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // The file's bytes; nothing when it is not there.
    static std::optional<std::string> Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Every name in the drivers folder, to see that nothing is left behind.
    static std::vector<std::string> Listing() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((Folder() + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    // "ImagePath" as stored, its type's number before its bytes ("2:..."); "no key" or
    // "no value" when missing.
    static std::string StoredImagePath() {
        HKEY key = nullptr;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ServiceKey, &key) != ERROR_SUCCESS)
            return "no key";
        char data[512];
        DWORD type = 0, size = sizeof data;
        const LONG status = RegQueryValueExA(key, "ImagePath", nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return status != ERROR_SUCCESS ? "no value"
                                       : std::to_string(type) + ":" + std::string(data, size);
    }

    // A service entry whose "ImagePath" is stored as Windows stores it, REG_EXPAND_SZ.
    struct ImagePath : SeededRegistryValue {
        explicit ImagePath(const std::string& path)
            : SeededRegistryValue(ServiceKey, "ImagePath", REG_EXPAND_SZ, Text(path)) {}
    };

private:
    static void Clear() {
        DeleteFileA(DriverPath().c_str());
        DeleteFileA(PatchedPath().c_str());
    }
};
