#include "ec/modSmbios.h"

#include <windows.h>
#include <wbemidl.h>

#include <cstdint>
#include <vector>

#include "ec/Smbios.h"
#include "system/ComObjects.h"
#include "system/modRegistry.h"

namespace modSmbios {

namespace {

constexpr const char* BiosKey = "HARDWARE\\DESCRIPTION\\System\\BIOS";
constexpr DWORD RawSmbiosProvider = 0x52534D42;  // 'RSMB'
// No firmware table is anywhere near this; a size beyond it is not believed.
constexpr UINT MaxTableSize = 1024 * 1024;

std::string BiosText(const char* valueName) {
    const RegistryValue value = modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, BiosKey, valueName);
    return value.IsNumber || value.Text == kMissingMarker ? std::string() : value.Text;
}

std::span<const uint8_t> Bytes(const std::vector<uint8_t>& data) { return {data.data(), data.size()}; }

// The SAFEARRAY of bytes that a WMI property holds, copied; empty for anything else.
std::vector<uint8_t> ByteArray(const VARIANT& value) {
    if (value.vt != (VT_ARRAY | VT_UI1) || !value.parray || ComLibrary::SafeArrayGetDim(value.parray) != 1)
        return {};
    LONG low = 0, high = -1;
    ComLibrary::SafeArrayGetLBound(value.parray, 1, &low);
    ComLibrary::SafeArrayGetUBound(value.parray, 1, &high);
    void* data = nullptr;
    if (high < low || static_cast<ULONG>(high - low) >= MaxTableSize || FAILED(ComLibrary::SafeArrayAccessData(value.parray, &data)))
        return {};
    const auto* first = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> bytes(first, first + (high - low + 1));
    ComLibrary::SafeArrayUnaccessData(value.parray);
    return bytes;
}

}  // namespace

EcModels::MachineIdentity IdentityFromRegistry() {
    return {.Manufacturer = BiosText("SystemManufacturer"), .Product = BiosText("SystemProductName"),
            .BiosVersion = BiosText("BIOSVersion")};
}

std::optional<EcModels::MachineIdentity> IdentityFromFirmwareTable() {
    using GetSystemFirmwareTableFn = UINT(WINAPI*)(DWORD provider, DWORD id, PVOID buffer, DWORD size);
    const auto get = reinterpret_cast<GetSystemFirmwareTableFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemFirmwareTable")));
    if (!get)
        return std::nullopt;
    const UINT size = get(RawSmbiosProvider, 0, nullptr, 0);
    if (size == 0 || size > MaxTableSize)
        return {};
    std::vector<uint8_t> data(size);
    if (get(RawSmbiosProvider, 0, data.data(), size) != size)
        return {};
    return Smbios::ReadIdentityFromRawSmbios(Bytes(data));
}

EcModels::MachineIdentity IdentityFromWmi() {
    const ComApartment apartment;
    if (!apartment.usable())
        return {};
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    ComPtr<IEnumWbemClassObject> rows;
    ComPtr<IWbemClassObject> row;
    const Bstr space("root\\WMI"), language("WQL"),
        query("SELECT SMBiosData FROM MSSMBios_RawSMBiosTables");
    ULONG returned = 0;
    if (FAILED(ComLibrary::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put())) ||
        FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.out())) ||
        FAILED(ComLibrary::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)) ||
        FAILED(services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                   nullptr, rows.out())) ||
        rows->Next(WBEM_INFINITE, 1, row.out(), &returned) != WBEM_S_NO_ERROR || returned != 1)
        return {};
    VARIANT value{};
    if (FAILED(row->Get(L"SMBiosData", 0, &value, nullptr, nullptr)))
        return {};
    const std::vector<uint8_t> table = ByteArray(value);
    ComLibrary::VariantClear(&value);
    return Smbios::ReadIdentity(Bytes(table));
}

EcModels::MachineIdentity ReadMachineIdentity() {
    EcModels::MachineIdentity machine = IdentityFromRegistry();
    if (!machine.Known()) {
        const auto table = IdentityFromFirmwareTable();
        machine = table ? *table : IdentityFromWmi();
    }
    return machine.Known() ? machine : EcModels::MachineIdentity();
}

}  // namespace modSmbios
