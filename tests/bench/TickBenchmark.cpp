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

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/GdiHandles.h"
#include "app/Tray.h"
#include "app/TrayPictures.h"
#include "app/frmMain.h"
#include "app/frmMainWindow.h"
#include "ec/modAcerEC.h"
#include "settings/modSettings.h"
#include "support/FakePowerSupply.h"

namespace {

constexpr int kWarmUpTicks = 2000;

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
        work(i);
    QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e6 / calls;
}

// The soak's phases, for scripts/soak, which reads the process's resident memory from
// outside (under Wine /proc/self is the wineserver's): each phase holds for a moment.
void Phase(const std::string& folder, const char* name) {
    std::printf("%-5s GDI objects %d, USER objects %d\n", name, Gdi::LiveGdiObjects, Gdi::LiveUserObjects);
    std::fflush(stdout);
    const std::string path = folder + "soak.phase";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs(name, file);
        std::fclose(file);
    }
    Sleep(1500);
}

void SetTemperature(const std::string& control, int temperature) {
    WritePrivateProfileStringA("EC", "Temperature", std::to_string(temperature).c_str(),
                               control.c_str());
}

// Each tick of the soak: a new temperature every 100 ticks, a new power source every 1,000.
void SoakTick(const std::string& control, int i) {
    if (i % 100 == 0)
        SetTemperature(control, 40 + (i / 100) % 45);
    if (i % 1000 == 0) {
        if ((i / 1000) % 2)
            FakePowerSupply::Discharging();
        else
            FakePowerSupply::Mains();
    }
    frmMain::TimerMon_Timer();
}

// The last picture must still be a picture: digits over the chip, magenta gone.
bool LastPictureDraws() {
    const Gdi::Icon icon = TrayPictures::Draw(TrayPictures::TemperaturePicture(45, RGB(255, 255, 255), false));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info))
        return false;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth == TrayPictures::kIconSize && bitmap.bmHeight == TrayPictures::kIconSize;
}

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string folder = modSettings::AppFolder();
    const std::string control = folder + "simec.ini";
    SetTemperature(control, 55);
    WritePrivateProfileStringA("EC", "LogTransactions", "0", control.c_str());
    // Custom fan rules, both icons, and a timer that never fires during the run.
    const std::string ini = folder + "vantu.ini";
    DeleteFileA(ini.c_str());
    for (const auto& [section, key, value] : {std::array<const char*, 3>{"Advanced", "TimerInterval", "3600000"},
                                              {"Advanced", "ShowRemainingBattIcon", "True"},
                                              {"Fan", "Control", "3"}})
        WritePrivateProfileStringA(section, key, value, ini.c_str());
    FakePowerSupply::Mains();
    if (!frmMain::Create()) {
        std::puts("start-up failed: is WinIo.dll (the simulated EC) beside the benchmark?");
        return 1;
    }

    const double read = MicrosecondsPerCall(2000, [](int) { modAcerEC::ReadTemperature(); });
    const double steady = MicrosecondsPerCall(2000, [](int) { frmMain::TimerMon_Timer(); });
    const double modify = MicrosecondsPerCall(500, [](int) { frmMain::UpdateMainTrayIcon(frmMain::TrayModify); });
    const double draw = MicrosecondsPerCall(500, [](int i) {
        TrayPictures::Draw(TrayPictures::TemperaturePicture(uint8_t(1 + i % 99), RGB(255, 255, 255), false));
    });
    for (int i = 0; i < kWarmUpTicks; ++i)
        SoakTick(control, i);
    Phase(folder, "warm");
    const int gdi = Gdi::LiveGdiObjects, user = Gdi::LiveUserObjects;
    const double soak = MicrosecondsPerCall(ticks, [&](int i) { SoakTick(control, kWarmUpTicks + i); });
    Phase(folder, "end");
    const bool drawn = LastPictureDraws();
    SendMessageA(frmMain::MainWindow(), WM_CLOSE, 0, 0);
    FakePowerSupply::Mains();

    std::printf("ReadTemperature %.1f us; drawing a new picture %.1f us; one Shell_NotifyIcon "
                "change %.1f us\n", read, draw, modify);
    std::printf("one tick: %.1f us at a steady temperature, %.1f us over %d soak ticks\n", steady,
                soak, ticks);
    std::printf("objects %s after warm-up; last picture %s\n",
                gdi == Gdi::LiveGdiObjects && user == Gdi::LiveUserObjects ? "did not grow" : "GREW",
                drawn ? "drawn" : "NOT DRAWN");
    return gdi == Gdi::LiveGdiObjects && user == Gdi::LiveUserObjects && drawn ? 0 : 1;
}
