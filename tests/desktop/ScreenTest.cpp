// Screen resolution and downscaling in-process, on a Wine virtual desktop (run by
// scripts/wine-desktop): a 1280x1024 desktop lists 800x600 and 1024x768 but not
// 1024x600; a 1024x600 one lists 1024x600 and 800x600 only. The mode changes are
// seen as the WM_DISPLAYCHANGE broadcasts they make; the check marks in the menu.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/TrayMenu.h"
#include "app/modPowerEvents.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "system/modRegistry.h"
#include "system/modScreenRes.h"

namespace {

using modScreenRes::ScreenSize;
using Sizes = std::vector<ScreenSize>;

const char kDriverKey[] = "System\\CurrentControlSet\\Services\\ialm\\Device0";
constexpr ScreenSize kLarge{1280, 1024}, kPanel{1024, 600}, kSmall{800, 600};
const ScreenSize desktop{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};  // as the run began
const bool large = desktop == kLarge;

Sizes changes;  // the sizes the display changed to, in order
LRESULT CALLBACK RecordChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DISPLAYCHANGE)
        changes.push_back({LOWORD(lParam), HIWORD(lParam)});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// "Custom*|1024x600|800x600": the resolution entries and their checks.
std::string Checks() {
    std::string text;
    for (const auto& [id, name] : {std::pair{IDM_1024X768, "|Custom"}, {IDM_1024X600, "|1024x600"}, {IDM_800X600, "|800x600"}})
        text += name + std::string(frmMain::MenuChecked(id) ? "*" : "");
    return text.substr(1);
}

// "type:byte" of a driver value; "none" when missing.
std::string DriverValue(const char* name) {
    HKEY key = nullptr;
    BYTE data[4] = {};
    DWORD type = 0, size = sizeof data;
    const bool found = RegOpenKeyA(HKEY_LOCAL_MACHINE, kDriverKey, &key) == ERROR_SUCCESS &&
                       RegQueryValueExA(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found ? std::to_string(type) + ":" + std::to_string(data[0]) : "none";
}

// The sizes the display changed to, in order, while the entry's command ran.
Sizes ChangesOf(uint32_t id) {
    changes.clear();
    frmMain::MenuCommand(id);
    return changes;
}

// "type:byte setting" of downscaling, in the driver's key and in the settings.
std::string Downscaling() {
    return DriverValue("Display1_DownScalingEnabled") + " " + std::to_string(modSettings::Settings.EnableDownscaling);
}

// On 800x600, with the driver's key and no downscaling, a window recording changes.
class Screen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(large || desktop == kPanel) << "run on a 1280x1024 or 1024x600 desktop (scripts/wine-desktop)";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordChanges;
        windowClass.lpszClassName = "ScreenTest.changes";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, kDriverKey, &key);
        RegCloseKey(key);
        modSettings::Settings.EnableDownscaling = false;
        Custom(kSmall);
        modScreenRes::ChangeResolution(kSmall.Width, kSmall.Height);
        changes.clear();
    }
    void TearDown() override {
        DestroyWindow(window_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDriverKey);
        DeleteFileA(modSettings::IniFilePath().c_str());  // the downscaling entry saves
        modSettings::Settings = saved_;
    }
    static void Custom(ScreenSize size) {
        modSettings::Settings.CustomResolutionWidth = size.Width;
        modSettings::Settings.CustomResolutionHeight = size.Height;
    }

private:
    HWND window_ = nullptr;
    const SettingsRecord saved_ = modSettings::Settings;
};

// The entries switch the screen when the desktop lists the mode; the checks follow the
// choice either way, and a refused mode says nothing.
TEST_F(Screen, ResolutionEntriesSwitchTheScreen) {
    Custom({1024, 768});
    const struct { uint32_t id; ScreenSize after; const char* checks; } steps[] = {
        {IDM_1024X768, large ? ScreenSize{1024, 768} : kSmall, "Custom*|1024x600|800x600"},
        {IDM_800X600, kSmall, "Custom|1024x600|800x600*"},
        {IDM_1024X600, large ? kSmall : kPanel, "Custom|1024x600*|800x600"},
    };
    for (const auto& s : steps) {
        frmMain::MenuCommand(s.id);
        EXPECT_EQ((ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}), s.after) << s.checks;
        EXPECT_EQ(Checks(), s.checks);
        EXPECT_EQ(modScreenRes::CustomResolutionActive(), s.id == IDM_1024X768);
    }
    EXPECT_EQ(DriverValue("Display1_DownScalingEnabled"), "none") << "no downscaling asked for";
}

// With the custom resolution selected, downscaling switched on changes the value and
// then the two modes in order, 1024x600 then 1024x768; switched off, 1280x1024 then
// the custom size (modes the desktop does not list are skipped). With another
// resolution selected only the value changes; without the driver's key, nothing.
TEST_F(Screen, DownscalingFollowedByItsTwoModeChanges) {
    frmMain::MenuCommand(IDM_1024X768);
    EXPECT_EQ(ChangesOf(IDM_DOWNSCALING), (large ? Sizes{{1024, 768}} : Sizes{kPanel}));
    EXPECT_EQ(Downscaling(), "3:1 1");
    EXPECT_TRUE(frmMain::MenuChecked(IDM_DOWNSCALING));
    EXPECT_EQ(ChangesOf(IDM_DOWNSCALING), (large ? Sizes{kLarge, kSmall} : Sizes{kSmall}));
    EXPECT_EQ(Downscaling(), "3:0 0");
    frmMain::MenuCommand(IDM_1024X600);
    EXPECT_EQ(ChangesOf(IDM_DOWNSCALING), Sizes{});
    EXPECT_EQ(Downscaling(), "3:1 1");

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDriverKey);
    modSettings::Settings.EnableDownscaling = false;
    frmMain::MenuCommand(IDM_1024X768);
    EXPECT_EQ(ChangesOf(IDM_DOWNSCALING), Sizes{});
    modScreenRes::DetectDownscaling();
    EXPECT_EQ(DriverValue("PruningMode") + " " + std::to_string(modSettings::Settings.EnableDownscaling), "none 0");
}

// Start-up prepares the driver and takes over a switched-on downscaling only; the
// screen size checks its entry (a custom size of 1024x600 is the panel's, which wins),
// and the custom size, downscaled, is switched again. Resume does the same.
TEST_F(Screen, StartUpAndResumeApplyDownscalingToTheCustomResolution) {
    for (const auto& [enabled, loaded, after] : {std::tuple{1, false, true}, {0, true, true}, {0, false, false}}) {
        modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kDriverKey, "Display1_DownScalingEnabled", enabled);
        modSettings::Settings.EnableDownscaling = loaded;
        modScreenRes::DetectDownscaling();
        EXPECT_EQ(modSettings::Settings.EnableDownscaling, after) << enabled << loaded;
        EXPECT_EQ(DriverValue("PruningMode") + " " + DriverValue("Display1_DownScalingSupported"), "4:0 4:1");
    }
    Custom(desktop);
    modScreenRes::ChangeResolution(desktop.Width, desktop.Height);
    changes.clear();
    modSettings::Settings.EnableDownscaling = true;
    modSettings::IsWindows6OrLater = false;
    frmMain::PrepareScreenMenu();
    EXPECT_EQ(Checks(), large ? "Custom*|1024x600|800x600" : "Custom|1024x600*|800x600");
    EXPECT_EQ(changes, (large ? Sizes{{1024, 768}} : Sizes{})) << "downscaling applied again";
    modPowerEvents::PreviousWindowProc = DefWindowProcA;
    for (WPARAM event : {WPARAM(PBT_APMRESUMESUSPEND), WPARAM(PBT_APMRESUMEAUTOMATIC)}) {
        modScreenRes::ChangeResolution(kSmall.Width, kSmall.Height);
        changes.clear();
        modScreenRes::SetCustomResolutionActive(true);
        modPowerEvents::WindowProc(nullptr, WM_POWERBROADCAST, event, 0);
        EXPECT_EQ(changes.empty(), event == PBT_APMRESUMEAUTOMATIC) << event;
    }
}

}  // namespace
