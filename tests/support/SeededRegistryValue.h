#pragma once
// One registry value (HKEY_LOCAL_MACHINE unless another root is given) set for the
// scope of a test and put back after: the value that was there, or none, and the key
// removed again when the seeding made it.
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

class SeededRegistryValue {
public:
    SeededRegistryValue(std::string keyPath, std::string valueName, DWORD type, const std::string& data,
                        HKEY root = HKEY_LOCAL_MACHINE)
        : root_(root), keyPath_(std::move(keyPath)), valueName_(std::move(valueName)) {
        HKEY key = nullptr;
        keyExisted_ = RegOpenKeyA(root_, keyPath_.c_str(), &key) == ERROR_SUCCESS;
        if (!keyExisted_ && RegCreateKeyA(root_, keyPath_.c_str(), &key) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create " + keyPath_);
        char previous[4096];
        DWORD size = sizeof previous;
        if (RegQueryValueExA(key, valueName_.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS)
            previous_.emplace(previous, size);
        Set(key, type, data);
        RegCloseKey(key);
    }
    ~SeededRegistryValue() {
        HKEY key = nullptr;
        if (RegOpenKeyA(root_, keyPath_.c_str(), &key) != ERROR_SUCCESS)
            return;
        if (previous_)
            Set(key, type_, *previous_);
        else
            RegDeleteValueA(key, valueName_.c_str());
        RegCloseKey(key);
        if (!keyExisted_)
            RegDeleteKeyA(root_, keyPath_.c_str());
    }
    SeededRegistryValue(const SeededRegistryValue&) = delete;
    SeededRegistryValue& operator=(const SeededRegistryValue&) = delete;

    // A number as REG_DWORD.
    static std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }
    // Text values are stored with their terminating NUL, as Windows stores them.
    static std::string Text(const std::string& text) { return text + '\0'; }

private:
    void Set(HKEY key, DWORD type, const std::string& data) const {
        RegSetValueExA(key, valueName_.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
    }
    HKEY root_;
    std::string keyPath_, valueName_;
    bool keyExisted_ = false;
    DWORD type_ = 0;
    std::optional<std::string> previous_;
};
