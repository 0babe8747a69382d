#pragma once
// Registry reads and writes: each call opens its key, does one thing and closes it.
// Nothing is reported: an unopenable key reads as "", a missing value as "caca",
// and failed writes leave the registry as it was.
#include <windows.h>

#include <string>

#include "system/RegistryValue.h"

namespace modRegistry {

bool RegKeyExists(HKEY root, const std::string& keyPath);
RegistryValue RegReadValue(HKEY root, const std::string& keyPath, const std::string& valueName);
// A number, or text that reads as one, goes in as REG_DWORD; other text as REG_SZ.
void RegWriteValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                   const RegistryValue& value);
// Stored as REG_BINARY of 4 bytes, the form the graphics driver reads.
void RegWriteDword(HKEY root, const std::string& keyPath, const std::string& valueName,
                   int32_t value);

}  // namespace modRegistry
