#include "ec/modPawnIo.h"

#include <windows.h>

#include <initializer_list>

#include "ec/PawnIoRequest.h"
#include "system/Files.h"
#include "system/Handle.h"

namespace modPawnIo {

namespace {

// Only administrators may open it; the program runs with their rights.
constexpr char kDevice[] = "\\\\?\\GLOBALROOT\\Device\\PawnIO";

Handle Device;

bool Control(uint32_t code, const void* in, size_t inSize, void* out, size_t outSize, DWORD& returned) {
    returned = 0;
    return DeviceIoControl(Device.get(), code, const_cast<void*>(in), static_cast<DWORD>(inSize), out,
                           static_cast<DWORD>(outSize), &returned, nullptr) != FALSE;
}

bool Execute(const char* function, std::initializer_list<uint64_t> arguments, void* out, size_t outSize,
             DWORD& returned) {
    const auto request = PawnIoRequest::MakeExecuteRequest(function, {arguments.begin(), arguments.size()});
    return Device && request &&
           Control(PawnIoRequest::IoctlExecute, request->Bytes.data(), request->Size, out, outSize, returned);
}

}  // namespace

bool OpenPawnIo(const std::string& moduleFile) {
    ClosePawnIo();
    const auto module = ReadWholeFile(moduleFile, PawnIoRequest::MaxModuleSize);
    if (!module || module->empty())
        return false;
    Device = Handle(CreateFileA(kDevice, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD returned = 0;
    if (!Device || !Control(PawnIoRequest::IoctlLoadModule, module->data(), module->size(), nullptr, 0, returned)) {
        ClosePawnIo();
        return false;
    }
    return true;
}

void ClosePawnIo() { Device.Close(); }

bool PawnIoOpen() { return static_cast<bool>(Device); }

bool ReadPort(uint16_t port, uint8_t& value) {
    uint8_t answer[8] = {};
    DWORD returned = 0;
    if (!Execute(PawnIoRequest::PortRead, {port}, answer, sizeof answer, returned))
        return false;
    const auto byte = PawnIoRequest::PortByte({answer, returned});
    value = byte.value_or(0);
    return byte.has_value();
}

bool WritePort(uint16_t port, uint8_t value) {
    DWORD returned = 0;
    return Execute(PawnIoRequest::PortWrite, {port, value}, nullptr, 0, returned);
}

}  // namespace modPawnIo
