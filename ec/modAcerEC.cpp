#include "ec/modAcerEC.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "ec/PawnIoRequest.h"
#include "ec/modPawnIo.h"
#include "system/Handle.h"
#include "system/KnownFolders.h"
#include "system/SystemLibrary.h"

namespace modAcerEC {

namespace {

// The port library's exports. They return a one-byte C++ bool of which only the low
// byte is meaningful, so the result is taken as a byte and any non-zero counts as true.
using InitializeWinIoFn = BYTE(__stdcall*)();
using ShutdownWinIoFn = void(__stdcall*)();
using GetPortValFn = BYTE(__stdcall*)(WORD port, PDWORD value, BYTE size);
using SetPortValFn = BYTE(__stdcall*)(WORD port, DWORD value, BYTE size);

struct PortLibrary {
    HMODULE Module = nullptr;
    InitializeWinIoFn InitializeWinIo = nullptr;
    ShutdownWinIoFn ShutdownWinIo = nullptr;
    GetPortValFn GetPortVal = nullptr;
    SetPortValFn SetPortVal = nullptr;
};

PortLibrary Library;
// Transactions reach the ports only while port access is open: from InitEC (or
// OpenECWithoutInit) to CloseEC. Before start-up opens it, and after the exit has
// closed it (a modal loop may still press a button afterwards), nothing touches the EC.
bool PortAccessOpen = false;
bool Initialized = false;  // InitializeWinIo succeeded: CloseEC owes a ShutdownWinIo
int32_t CurrentFanState = FanStateUnknown;
// Plain data, read by the crash hand-back too.
FanPlan::Plan Plan;
FanPlan::ByteChoice Bytes;
MonitorStop StopMonitor = nullptr;

// The lock that hardware-monitoring programs take around their EC transactions, under
// the name they use. Kept open from the first transaction to CloseEC.
constexpr char kEcLockName[] = "Global\\Access_EC";
Handle EcLock;
// Set by the crash hand-back: from then on only its thread reaches the EC, so that no
// other thread (the monitor ticking on while the faulting one ends the process) writes
// its fan mode again after the hand-back.
std::atomic<DWORD> HandBackThread{0};

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// By its full path, with the libraries it names from its own folder and the system
// folder only: the program runs with administrator rights. WinIo 2.0 ships WinIo.dll,
// WinIo 3.0 WinIo32.dll. A library without the four exports is not used.
bool LoadPorts() {
    if (Library.Module)
        return true;
    HMODULE module = nullptr;
    for (const char* name : {"WinIo.dll", "WinIo32.dll"}) {
        const std::string path = KnownFolders::AppFolder() + name;
        if ((module = LoadLibraryWithItsFolder(path)) != nullptr)
            break;
    }
    if (!module)
        return false;
    PortLibrary lib{module, Export<InitializeWinIoFn>(module, "InitializeWinIo"),
                    Export<ShutdownWinIoFn>(module, "ShutdownWinIo"),
                    Export<GetPortValFn>(module, "GetPortVal"),
                    Export<SetPortValFn>(module, "SetPortVal")};
    if (!lib.InitializeWinIo || !lib.ShutdownWinIo || !lib.GetPortVal || !lib.SetPortVal) {
        FreeLibrary(module);
        return false;
    }
    Library = lib;
    return true;
}

const PortLibrary* Ports() { return PortAccessOpen ? &Library : nullptr; }

// How much longer the fan's hand-back waits for the lock before it writes without it.
constexpr DWORD kHandBackLockWait = 1000;

enum class LockState { Held, Kept, Open };  // taken; kept by another program; none to take

// A lock that cannot be opened at all protects nothing here, and refusing the EC then
// would leave the fan as it is for good: the transaction goes ahead without it.
LockState LockEc(DWORD wait) {
    if (!EcLock)
        EcLock = Handle(CreateMutexA(nullptr, FALSE, kEcLockName));
    if (!EcLock)
        EcLock = Handle(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kEcLockName));
    if (!EcLock)
        return LockState::Open;
    // Abandoned: its holder died; we own it now, and the EC is ours to use.
    const DWORD result = WaitForSingleObject(EcLock.get(), wait);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? LockState::Held : LockState::Kept;
}

// The EC's ports, under the lock that other programs share. Handing the fan back, the
// lock is waited for once more and then done without: another program that keeps it
// (or took its name with an open DACL) must not keep the fan from the EC for good. Such
// a write can interleave with that program's own transaction and land in another EC
// register; a fan left off at a high temperature is worse.
struct WinIoPorts final : EcProtocol::PortIo {
    explicit WinIoPorts(bool handingBack = false) : handingBack_(handingBack) {}
    uint8_t InPort(uint16_t port) override { return modAcerEC::InPort(port); }
    void OutPort(uint8_t value, uint16_t port) override { modAcerEC::OutPort(value, port); }
    void Pause() override { Sleep(1); }
    bool Lock() override {
        LockState state = LockEc(EcProtocol::LockWait);
        if (state == LockState::Kept && handingBack_)
            state = LockEc(kHandBackLockWait);
        held_ = state == LockState::Held;
        if (state == LockState::Kept && !handingBack_)
            return false;
        // Once the crash hand-back has begun, only its thread reaches the EC.
        const DWORD handBack = HandBackThread;
        if (handBack == 0 || handBack == GetCurrentThreadId())
            return true;
        Unlock();
        return false;
    }
    void Unlock() override {
        if (held_)
            ReleaseMutex(EcLock.get());
        held_ = false;
    }

private:
    bool handingBack_;
    bool held_ = false;
};

bool WriteEcAs(bool handingBack, uint8_t value, uint8_t reg) {
    WinIoPorts io(handingBack);
    return Ports() && EcProtocol::WriteEC(io, value, reg);
}

void WriteFanRegister(uint8_t value, int32_t state) {
    CurrentFanState = WriteEcAs(state == FanStateAuto, value, Plan.FanRegister) ? state : FanStateUnknown;
}

}  // namespace

void UseFanPlan(const FanPlan::Plan& plan) { Plan = plan; }
void UseFanBytes(const FanPlan::ByteChoice& choice) { Bytes = choice; }
const FanPlan::Plan& CurrentFanPlan() { return Plan; }

int32_t FanState() { return CurrentFanState; }
void SetFanState(int32_t state) { CurrentFanState = state; }

bool InitEC() {
    if (!LoadPorts() || Library.InitializeWinIo() == 0)
        return false;
    PortAccessOpen = Initialized = true;
    return true;
}

void OpenECWithoutInit() { PortAccessOpen = LoadPorts(); }

bool InitPawnIo() {
    // A device that takes the module but refuses the EC's ports is no port access.
    uint8_t status = 0;
    PortAccessOpen = modPawnIo::OpenPawnIo(KnownFolders::AppFolder() + PawnIoRequest::ModuleFile) &&
                     modPawnIo::ReadPort(EcProtocol::CommandPort, status);
    if (!PortAccessOpen)
        modPawnIo::ClosePawnIo();
    return PortAccessOpen;
}

void CloseEC() {
    if (Initialized)
        Library.ShutdownWinIo();
    if (Library.Module)
        FreeLibrary(Library.Module);
    Library = PortLibrary{};
    modPawnIo::ClosePawnIo();
    PortAccessOpen = Initialized = false;
    EcLock.Close();
}

bool GetPortByte(uint16_t port, uint8_t& value) {
    if (PortAccessOpen && modPawnIo::PawnIoOpen())
        return modPawnIo::ReadPort(port, value);
    DWORD buffer = 0;
    const PortLibrary* lib = Ports();
    const bool ok = lib && lib->GetPortVal(port, &buffer, 1) != 0;
    value = static_cast<uint8_t>(buffer & 0xFF);
    return ok;
}

bool SetPortByte(uint16_t port, uint8_t value) {
    if (PortAccessOpen && modPawnIo::PawnIoOpen())
        return modPawnIo::WritePort(port, value);
    const PortLibrary* lib = Ports();
    return lib && lib->SetPortVal(port, value, 1) != 0;
}

uint8_t InPort(uint16_t port) {
    uint8_t value = 0;
    return GetPortByte(port, value) ? value : 0;
}

void OutPort(uint8_t value, uint16_t port) { SetPortByte(port, value); }

bool WaitECStatus(uint16_t port, uint8_t mask, EcProtocol::WantedState wanted) {
    WinIoPorts io;
    return EcProtocol::WaitECStatus(io, port, mask, wanted);
}

bool WaitInputBufferEmpty() {
    WinIoPorts io;
    return EcProtocol::WaitInputBufferEmpty(io);
}

bool WaitOutputBufferFull() {
    WinIoPorts io;
    return EcProtocol::WaitOutputBufferFull(io);
}

bool WriteEC(uint8_t value, uint8_t reg) { return WriteEcAs(false, value, reg); }

uint8_t ReadEC(uint8_t reg) {
    WinIoPorts io;
    return Ports() ? EcProtocol::ReadEC(io, reg) : 0;
}

uint8_t ReadTemperature() { return ReadEC(Plan.TemperatureRegister); }

void SetFanOff() {
    WriteFanRegister(FanPlan::OffByte(Plan, Bytes.BiosVersion, Bytes.UseCustom, Bytes.Off), FanStateOff);
    // These ECs stop the fan only once told that the host controls it.
    if (Plan.ManualOff && CurrentFanState == FanStateOff &&
        !WriteEC(EcModels::ManualOffByte, EcModels::ManualOffRegister))
        CurrentFanState = FanStateUnknown;
}

void SetFanSlow() {
    WriteFanRegister(FanPlan::SlowByte(Plan, Bytes.BiosVersion, Bytes.UseCustom, Bytes.Slow), FanStateSlow);
}

void SetFanAuto() { WriteFanRegister(FanPlan::AutoByte(Plan, Bytes.UseCustom, Bytes.Auto), FanStateAuto); }

void HandFanBack() {
    if (!PortAccessOpen)
        return;
    HandBackThread = GetCurrentThreadId();
    SetFanAuto();
}

void SetMonitorStop(MonitorStop stop) { StopMonitor = stop; }

void SetFanTestValue(uint8_t value) {
    WriteFanRegister(value, FanStateUnknown);
    if (StopMonitor)
        StopMonitor();
}

}  // namespace modAcerEC
