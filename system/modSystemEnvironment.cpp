#include "system/modSystemEnvironment.h"

#include <windows.h>

#include "system/KnownFolders.h"
#include "system/modRegistry.h"

namespace modSystemEnvironment {

namespace {

// The processor Windows itself runs on when this 32-bit program runs under WOW64.
std::string NativeArchitecture() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    using NativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto isWow64 = reinterpret_cast<IsWow64>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    const auto native = reinterpret_cast<NativeInfo>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")));
    BOOL wow64 = FALSE;
    if (!isWow64 || !native || !isWow64(GetCurrentProcess(), &wow64) || !wow64)
        return "";
    SYSTEM_INFO info{};
    native(&info);
    switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64: return "AMD64";
        case PROCESSOR_ARCHITECTURE_IA64: return "IA64";
        case 12: return "ARM64";  // PROCESSOR_ARCHITECTURE_ARM64, newer than these headers
        default: return "";
    }
}

// A Program Files folder as the registry names it for this 32-bit program.
std::string ProgramFolder(const char* value) {
    const RegistryValue stored =
        modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", value);
    if (stored.IsNumber || stored.Text == kMissingMarker)
        return "";
    return stored.Text.substr(0, stored.Text.find('\0'));
}

}  // namespace

SystemEnvironment::Facts ReadFacts() {
    SystemEnvironment::Facts facts;
    facts.windows = KnownFolders::WindowsFolder();
    facts.system = KnownFolders::SystemFolder();
    facts.nativeArchitecture = NativeArchitecture();
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    facts.processors = info.dwNumberOfProcessors;
    facts.programFiles = ProgramFolder("ProgramFilesDir");
    facts.commonFiles = ProgramFolder("CommonFilesDir");
    return facts;
}

void UseSystemEnvironment() {
    for (const auto& [name, value] : SystemEnvironment::OwnVariables(ReadFacts()))
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

}  // namespace modSystemEnvironment
