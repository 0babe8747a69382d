#include "system/modRegistry.h"

namespace modRegistry {

namespace {

// An open registry key, closed when it goes out of scope.
class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (handle_)
            RegCloseKey(handle_);
    }
    HKEY* put() { return &handle_; }
    HKEY get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HKEY handle_ = nullptr;
};

RegistryValue QueryData(HKEY key, const std::string& valueName, DWORD type, DWORD size) {
    // Numbers are read into 4 bytes only; longer binary data fails the query.
    std::string buffer(KindOfType(type) == RegistryKind::Number ? 4 : size, '\0');
    DWORD got = static_cast<DWORD>(buffer.size());
    auto* data = reinterpret_cast<BYTE*>(buffer.data());
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, data, &got) != ERROR_SUCCESS)
        return RegistryValue::OfText("");
    buffer.resize(got);
    return DecodeRegistryData(type, buffer);
}

void Store(HKEY root, const std::string& keyPath, const std::string& valueName,
           const RegistryData& data) {
    Key key;
    RegCreateKeyA(root, keyPath.c_str(), key.put());
    if (key)
        RegSetValueExA(key.get(), valueName.c_str(), 0, data.Type,
                       reinterpret_cast<const BYTE*>(data.Bytes.data()),
                       static_cast<DWORD>(data.Bytes.size()));
}

}  // namespace

bool RegKeyExists(HKEY root, const std::string& keyPath) {
    Key key;
    RegOpenKeyA(root, keyPath.c_str(), key.put());
    return static_cast<bool>(key);
}

RegistryValue RegReadValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
    Key key;
    RegOpenKeyA(root, keyPath.c_str(), key.put());
    if (!key)
        return RegistryValue::OfText("");
    // A missing value leaves the type at 0, which reads as the marker.
    DWORD type = 0, size = 0;
    RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (KindOfType(type) == RegistryKind::Unsupported)
        return DecodeRegistryData(type, {});
    return QueryData(key.get(), valueName, type, size);
}

void RegWriteValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                   const RegistryValue& value) {
    Store(root, keyPath, valueName, EncodeRegistryValue(value));
}

void RegWriteDword(HKEY root, const std::string& keyPath, const std::string& valueName,
                   int32_t value) {
    Store(root, keyPath, valueName, EncodeBinaryDword(value));
}

}  // namespace modRegistry
