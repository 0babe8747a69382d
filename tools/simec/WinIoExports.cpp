// The four exports of the WinIo port library, answered by a simulated EC. Tests steer it
// from outside through simec.ini beside this DLL and watch simec.log there. The program
// talks to it from one thread, so no lock is taken.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "tools/simec/SimulatedEc.h"

namespace {

constexpr WORD DataPort = 0x62, CommandPort = 0x66;

HMODULE Self = nullptr;
std::optional<SimulatedEc> Ec;
SimEcControls Controls;
int InitCalls = 0;  // of this process, for InitFailures
// As in the real library: no port access in a process that has not initialised it.
bool Initialized = false;
bool RefusalLogged = false;
int PortReads = 0;  // since the control file was last read, for CrashAtPortRead
// Volatile, so that the compiler cannot see the null: the store below faults for real,
// as in a broken port driver, rather than being turned into a trap instruction.
int* volatile Nowhere = nullptr;

// What identifies one version of simec.ini: a change of any of these rereads it.
struct FileStamp {
    bool Exists = false;
    FILETIME Written{};
    DWORD Size = 0;
    bool operator==(const FileStamp& o) const {
        return Exists == o.Exists && Size == o.Size &&
               CompareFileTime(&Written, &o.Written) == 0;
    }
};
FileStamp LastStamp;

std::string Beside(const char* name) {
    char path[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(Self, path, MAX_PATH);
    std::string folder(path, n);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

// simec.log beside this DLL, unless the control file names another file ("Log"): a
// test of a program in a read-only folder still reads the log.
std::string LogPath;

// The tally file, for the benchmark (scripts/bench): the reads completed so far, written
// every 10 reads and when the library is unloaded. A count costs far less than a log
// line, so the programs measured pay almost nothing for it.
std::string TallyPath;
uint64_t TalliedReads = 0;

void AppendLog(const std::string& line) {
    const std::string path = LogPath.empty() ? Beside("simec.log") : LogPath;
    const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

SimEcControls ReadControls(const std::string& ini) {
    auto get = [&](const char* key, int fallback) {
        return static_cast<int>(GetPrivateProfileIntA("EC", key, fallback, ini.c_str()));
    };
    SimEcControls c;
    c.TemperatureRegister = static_cast<uint8_t>(get("TemperatureRegister", c.TemperatureRegister));
    c.FanRegister = static_cast<uint8_t>(get("FanRegister", c.FanRegister));
    c.Temperature = std::min(get("Temperature", -1), 255);
    c.InitFailures = get("InitFailures", 0);
    c.PortsWithoutInit = get("PortsWithoutInit", 0) != 0;
    c.StuckIBF = get("StuckIBF", 0) != 0;
    c.NoOBF = get("NoOBF", 0) != 0;
    c.BusyReads = std::max(get("BusyReads", 0), 0);
    c.LogTransactions = get("LogTransactions", 1) != 0;
    c.StaleOBF = std::min(get("StaleOBF", -1), 255);
    c.MissedReads = std::max(get("MissedReads", 0), 0);
    c.FlapReads = std::max(get("FlapReads", 0), 0);
    c.CrashAtPortRead = std::max(get("CrashAtPortRead", 0), 0);
    return c;
}

SimulatedEc& Device() {
    if (!Ec)
        Ec.emplace(AppendLog, GetTickCount());
    return *Ec;
}

// Called between transactions: picks up a changed control file.
void RefreshControls() {
    const std::string ini = Beside("simec.ini");
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(ini.c_str(), GetFileExInfoStandard, &data))
        stamp = FileStamp{true, data.ftLastWriteTime, data.nFileSizeLow};
    if (stamp == LastStamp && Ec)
        return;
    LastStamp = stamp;
    Controls = ReadControls(ini);
    char log[MAX_PATH] = "";
    GetPrivateProfileStringA("EC", "Log", "", log, sizeof log, ini.c_str());
    LogPath = log;
    char tally[MAX_PATH] = "";
    GetPrivateProfileStringA("EC", "Tally", "", tally, sizeof tally, ini.c_str());
    TallyPath = tally;
    PortReads = 0;
    Device().Configure(Controls);
}

// Once per version of the control file: the program's crash handling reads ports too.
void CrashIfDue() {
    if (Controls.CrashAtPortRead == 0 || ++PortReads != Controls.CrashAtPortRead)
        return;
    AppendLog("CRASH");
    *Nowhere = 0;
}

// The first refusal is logged, so that a test sees the accesses refused.
bool PortsServed() {
    if (!Ec)
        RefreshControls();
    if (Initialized || Controls.PortsWithoutInit)
        return true;
    if (!RefusalLogged)
        AppendLog("REFUSED not initialised");
    RefusalLogged = true;
    return false;
}

void WriteTally() {
    if (TallyPath.empty() || !Ec)
        return;
    TalliedReads = Ec->CompletedReads();
    const HANDLE file = CreateFileA(TallyPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = "reads " + std::to_string(TalliedReads) + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void TallyIfDue() {
    if (Ec && Ec->CompletedReads() >= TalliedReads + 10)
        WriteTally();
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        Self = instance;
    if (reason == DLL_PROCESS_DETACH)
        WriteTally();
    return TRUE;
}

extern "C" {

__declspec(dllexport) bool __stdcall InitializeWinIo() {
    RefreshControls();
    const bool ok = ++InitCalls > Controls.InitFailures;
    Initialized = Initialized || ok;
    AppendLog(ok ? "INIT 1" : "INIT 0");
    return ok;
}

// The real library returns nothing here; a true suits a caller of either declaration.
__declspec(dllexport) bool __stdcall ShutdownWinIo() {
    AppendLog("SHUTDOWN");
    return true;
}

__declspec(dllexport) bool __stdcall GetPortVal(WORD port, PDWORD value, BYTE size) {
    if (!value || size != 1 || !PortsServed())
        return false;
    SimulatedEc& ec = Device();
    if (port == CommandPort && ec.Idle())
        RefreshControls();
    CrashIfDue();
    if (port == CommandPort)
        *value = ec.ReadStatus();
    else if (port == DataPort) {
        *value = ec.ReadData();
        TallyIfDue();
    }
    else
        *value = 0xFF;  // nothing else answers on this bus
    return true;
}

__declspec(dllexport) bool __stdcall SetPortVal(WORD port, DWORD value, BYTE size) {
    if (size != 1 || !PortsServed())
        return false;
    SimulatedEc& ec = Device();
    if (port == CommandPort) {
        RefreshControls();  // a command starts a new transaction, whatever came before
        ec.WriteCommand(static_cast<uint8_t>(value), GetTickCount());
    }
    else if (port == DataPort)
        ec.WriteData(static_cast<uint8_t>(value));
    return true;
}

// Not WinIo's: a line in the log from the program that loaded the library (the
// PawnIO stand-in, tools/pawnio, logs its own events here).
__declspec(dllexport) void __stdcall SimEcNote(const char* line) {
    if (line)
        AppendLog(line);
}

}  // extern "C"
