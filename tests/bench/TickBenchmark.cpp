// Measures what one monitor tick costs with an idle EC (the simulated one, logging
// off): the EC read transaction, the fan decision, the power status refresh and the
// tray calls. Run it under Wine: scripts/wine-run BUILD BUILD/bench/tick_benchmark.exe
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/frmMain.h"
#include "ec/modAcerEC.h"
#include "settings/modSettings.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

template <typename Work>
double MicrosecondsPerCall(int calls, Work&& work) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i)
        work();
    QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e6 / calls;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string control = modSettings::AppFolder() + "simec.ini";
    WritePrivateProfileStringA("EC", "Temperature", "55", control.c_str());
    WritePrivateProfileStringA("EC", "LogTransactions", "0", control.c_str());
    modSettings::LoadSettings();
    if (!modAcerEC::InitEC()) {
        std::puts("no port library beside the benchmark");
        return 1;
    }
    frmMain::TimerMon_Timer();  // the first tick writes the fan; later ones only read
    const double read = MicrosecondsPerCall(calls, [] { modAcerEC::ReadTemperature(); });
    const double tick = MicrosecondsPerCall(calls, [] { frmMain::TimerMon_Timer(); });
    modAcerEC::SetFanAuto();
    modAcerEC::CloseEC();
    std::printf("%d calls each: ReadTemperature %.1f us, one tick %.1f us\n", calls, read, tick);
    return 0;
}
