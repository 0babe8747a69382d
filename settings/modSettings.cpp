#include "settings/modSettings.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "system/Conversion.h"
#include "system/Files.h"
#include "system/KnownFolders.h"
#include "system/modRegistry.h"

namespace modSettings {

SettingsRecord Settings;
int16_t BiosVersion = 0;
bool IsWindows6OrLater = false;

namespace {

// Saves write the file only from the load to the exit save: a record that was never
// loaded holds no settings of the user's, and after the exit nothing may change them.
bool SavesAllowed = false;

constexpr const char* SystemKey = "HARDWARE\\Description\\System";
constexpr const char* CurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A registry text as it was stored; a number (a value of another type than expected)
// as its decimal digits.
std::string TextOf(const RegistryValue& value) {
    return value.IsNumber ? Conversion::DecimalText(value.Number) : value.Text;
}

std::string ReadMachineText(const char* keyPath, const char* valueName) {
    return TextOf(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, keyPath, valueName));
}

}  // namespace

std::string IniFilePath() { return KnownFolders::AppFolder() + AppTitle + ".ini"; }

bool IniFileExists() { return OrdinaryFileExists(IniFilePath()); }

std::string ReadIniValue(const std::string& section, const std::string& key,
                         const std::string& file, const std::string& defaultText) {
    char buffer[255] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer,
                             sizeof buffer, file.c_str());
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

void ReadBiosVersion() {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, SystemKey)) return;
    BiosVersion = BiosVersionFromText(ReadMachineText(SystemKey, "SystemBiosVersion"));
}

void ReadWindowsVersion() {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, CurrentVersionKey)) return;
    IsWindows6OrLater = IsVersion6OrLater(ReadMachineText(CurrentVersionKey, "CurrentVersion"));
}

void LoadSettings() {
    const std::string file = IniFilePath();
    ReadBiosVersion();
    ReadWindowsVersion();
    LoadSettingsFrom(Settings, [&file](const std::string& section, const std::string& key,
                                       const std::string& defaultText) {
        return ReadIniValue(section, key, file, defaultText);
    });
    SavesAllowed = true;
}

// The whole new file is made from the current one and then put in its place at once,
// so a save that cannot finish (a full disk, a kill, a power cut) leaves the old file.
void SaveSettings() {
    if (!SavesAllowed)
        return;
    const std::string file = IniFilePath();
    std::string current;
    if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A file that is there but cannot be read would lose its other lines.
        const auto bytes = ReadWholeFile(file);
        if (!bytes)
            return;
        current = *bytes;
    }
    ReplaceFileContents(file, WithSettings(std::move(current), Settings));
}

void CloseSettings() { SavesAllowed = false; }

}  // namespace modSettings
