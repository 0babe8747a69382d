// What one monitor tick costs, and that a long run accumulates nothing. The real main
// window runs its start-up, then TICKS ticks (100,000 by default) against the simulated
// EC (logging off): the temperature changes every 100 ticks and the power source every
// 1,000, so the temperature icon is redrawn, and the battery icon drawn, added and
// removed, over and over. Reported after a warm-up and at the end: the live GDI and
// USER objects that the drawing code's owners count (GetGuiResources says nothing under
// Wine); scripts/soak adds the process's resident memory, read from outside.
// Run it as scripts/soak BUILD [TICKS], or alone under Wine:
// scripts/wine-run BUILD BUILD/bench/tick_benchmark.exe [TICKS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frmMain.h"
#include "app/frmMainWindow.h"
#include "settings/modSettings.h"
#include "support/FakePowerSupply.h"
#include "system/GdiHandles.h"
#include "system/KnownFolders.h"

namespace {

const std::string folder = KnownFolders::AppFolder(), control = folder + "simec.ini";

// A phase holds for a moment, for scripts/soak to read the resident memory (under
// Wine /proc/self is the wineserver's); the file tells it which phase it is.
void Phase(const char* name) {
    std::printf("%-5s GDI objects %d, USER objects %d\n", name, Gdi::LiveGdiObjects, Gdi::LiveUserObjects);
    std::fflush(stdout);
    if (FILE* file = std::fopen((folder + "soak.phase").c_str(), "wb")) {
        std::fputs(name, file);
        std::fclose(file);
    }
    Sleep(1500);
}

void Tick(int i) {
    if (i % 100 == 0)
        WritePrivateProfileStringA("EC", "Temperature", std::to_string(40 + (i / 100) % 45).c_str(), control.c_str());
    if (i % 1000 == 0)
        (i / 1000) % 2 ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
    frmMain::TimerMon_Timer();
}

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 100000, warmUp = 2000;
    WritePrivateProfileStringA("EC", "LogTransactions", "0", control.c_str());
    // The default custom fan rules, both icons, and a timer that never fires during the run.
    const std::string ini = folder + "vantu.ini";
    DeleteFileA(ini.c_str());
    WritePrivateProfileStringA("Advanced", "TimerInterval", "3600000", ini.c_str());
    WritePrivateProfileStringA("Advanced", "ShowRemainingBattIcon", "True", ini.c_str());
    FakePowerSupply::Mains();
    if (!frmMain::Create()) {
        std::puts("start-up failed: is WinIo.dll (the simulated EC) beside the benchmark?");
        return 1;
    }
    for (int i = 0; i < warmUp; ++i)
        Tick(i);
    Phase("warm");
    const int gdi = Gdi::LiveGdiObjects, user = Gdi::LiveUserObjects;
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < ticks; ++i)
        Tick(warmUp + i);
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    Phase("end");
    SendMessageA(frmMain::MainWindow(), WM_CLOSE, 0, 0);
    FakePowerSupply::Mains();
    const bool grew = gdi != Gdi::LiveGdiObjects || user != Gdi::LiveUserObjects;
    std::printf("one tick: %.1f us over %d ticks; objects %s after warm-up\n",
                double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart) / ticks, ticks,
                grew ? "GREW" : "did not grow");
    return grew ? 1 : 0;
}
