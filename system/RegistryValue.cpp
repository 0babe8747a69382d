#include "system/RegistryValue.h"

#include "system/Conversion.h"

namespace {
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;

std::string LittleEndian(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
}  // namespace

RegistryValue RegistryValue::OfText(std::string text) {
    RegistryValue value;
    value.Text = std::move(text);
    return value;
}

RegistryValue RegistryValue::OfNumber(int32_t number) {
    RegistryValue value;
    value.IsNumber = true;
    value.Number = number;
    return value;
}

RegistryKind KindOfType(uint32_t type) {
    switch (type) {
        case kRegSz:
        case kRegExpandSz:
        case kRegMultiSz: return RegistryKind::Text;
        case kRegBinary:
        case kRegDword: return RegistryKind::Number;
        default: return RegistryKind::Unsupported;
    }
}

RegistryValue DecodeRegistryData(uint32_t type, const std::string& data) {
    switch (KindOfType(type)) {
        case RegistryKind::Text:
            // Multi-strings keep their separators: callers pick pieces out of the whole.
            if (type == kRegSz)
                return RegistryValue::OfText(data.substr(0, data.find('\0')));
            return RegistryValue::OfText(data);
        case RegistryKind::Number: {
            if (data.size() > 4)
                return RegistryValue::OfText("");
            uint32_t bits = 0;
            for (size_t i = 0; i < data.size(); ++i)
                bits |= static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << (8 * i);
            return RegistryValue::OfNumber(static_cast<int32_t>(bits));
        }
        case RegistryKind::Unsupported: break;
    }
    return RegistryValue::OfText(kMissingMarker);
}

RegistryData EncodeRegistryValue(const RegistryValue& value) {
    if (value.IsNumber)
        return {kRegDword, LittleEndian(value.Number)};
    if (const auto number = Conversion::ToInt32(value.Text))
        return {kRegDword, LittleEndian(*number)};
    return {kRegSz, TrimSpaces(value.Text) + '\0'};
}

RegistryData EncodeBinaryDword(int32_t value) {
    return {kRegBinary, LittleEndian(value)};
}
