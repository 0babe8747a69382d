#pragma once
// The one settings record of the running program, its INI file beside the executable,
// and the machine facts read at load time (BIOS version, Windows 6 or later).
#include <cstdint>
#include <string>

#include "settings/SettingsRecord.h"

namespace modSettings {

// Captions every message box and names the INI file, whatever the executable is called.
inline constexpr const char* AppTitle = "vantu";

extern SettingsRecord Settings;  // read directly by every module
extern int16_t BiosVersion;      // not persisted; 0 until read
extern bool IsWindows6OrLater;   // not persisted

std::string IniFilePath();  // beside the program, named for AppTitle
// Only an ordinary file counts: a hidden or system file, or a directory, is missing.
bool IniFileExists();

// The stored text cut to 254 characters, or defaultText when the key or file is missing.
std::string ReadIniValue(const std::string& section, const std::string& key,
                         const std::string& file, const std::string& defaultText);

void ReadBiosVersion();     // leaves BiosVersion as it is when the registry key is missing
void ReadWindowsVersion();  // leaves IsWindows6OrLater as it is when the key is missing
void LoadSettings();        // reads the machine facts, then the file
// Writes the whole record: the file afterwards holds it whole, or is as it was (a full
// disk, a read-only file). Does nothing before LoadSettings and after CloseSettings.
void SaveSettings();
// After the exit save: no later save writes the file.
void CloseSettings();

}  // namespace modSettings
