// Screen resolution and downscaling in-process, on a Wine virtual desktop (run by
// scripts/wine-desktop): a 1280x1024 desktop lists 800x600 and 1024x768 but not
// 1024x600; a 1024x600 one lists 1024x600 and 800x600 only. The mode changes are
// seen as the WM_DISPLAYCHANGE broadcasts they make; the check marks in the popup.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
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
constexpr ScreenSize kLargeDesktop{1280, 1024}, kPanelDesktop{1024, 600};

std::vector<ScreenSize> changes;  // the sizes the display changed to, in order

LRESULT CALLBACK RecordChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DISPLAYCHANGE)
        changes.push_back({LOWORD(lParam), HIWORD(lParam)});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

ScreenSize CurrentScreen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The desktop this run started on, whatever earlier tests switched it to.
const ScreenSize desktop = CurrentScreen();

// "Custom*|1024x600|800x600": the resolution entries and their checks.
std::string ResolutionChecks() {
    std::string text;
    for (uint32_t id : {IDM_1024X768, IDM_1024X600, IDM_800X600})
        text += std::string(text.empty() ? "" : "|") + (id == IDM_1024X768 ? "Custom" : id == IDM_1024X600 ? "1024x600" : "800x600") +
                (frmMain::MenuChecked(id) ? "*" : "");
    return text;
}

struct DriverValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const DriverValue&) const = default;
};

std::optional<DriverValue> ReadDriverValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kDriverKey, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DriverValue value;
    value.data.resize(16);
    DWORD size = DWORD(value.data.size());
    const bool found = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!found)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

const DriverValue kOn{REG_BINARY, {1, 0, 0, 0}}, kOff{REG_BINARY, {0, 0, 0, 0}};

class Screen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop == kLargeDesktop || desktop == kPanelDesktop)
            << "run on a 1280x1024 or 1024x600 desktop (scripts/wine-desktop)";
        saved_ = modSettings::Settings;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordChanges;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ScreenTest.changes";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        SeedDriverKey(true);
        modSettings::Settings.EnableDownscaling = false;
        SetScreen(kSmall);
    }
    void TearDown() override {
        DestroyWindow(window_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDriverKey);
        DeleteFileA(modSettings::IniFilePath().c_str());  // the downscaling entry saves
        modSettings::Settings = saved_;
    }

    static constexpr ScreenSize kSmall{800, 600};

    static void SeedDriverKey(bool present) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDriverKey);
        if (present) {
            HKEY key = nullptr;
            RegCreateKeyA(HKEY_LOCAL_MACHINE, kDriverKey, &key);
            RegCloseKey(key);
        }
    }
    static void SetCustom(ScreenSize size) {
        modSettings::Settings.CustomResolutionWidth = size.Width;
        modSettings::Settings.CustomResolutionHeight = size.Height;
    }
    static void SetScreen(ScreenSize size) {
        modScreenRes::ChangeResolution(size.Width, size.Height);
        changes.clear();
    }

private:
    HWND window_ = nullptr;
    SettingsRecord saved_;
};

// The entries switch the screen when the desktop lists the mode; the checks follow
// the choice either way, and a refused mode says nothing.
TEST_F(Screen, ResolutionEntriesSwitchTheScreen) {
    SetCustom({1024, 768});
    const bool large = desktop == kLargeDesktop;
    const struct { uint32_t id; ScreenSize after; const char* checks; bool customActive; } steps[] = {
        {IDM_1024X768, large ? ScreenSize{1024, 768} : kSmall, "Custom*|1024x600|800x600", true},
        {IDM_800X600, kSmall, "Custom|1024x600|800x600*", false},
        {IDM_1024X600, large ? kSmall : ScreenSize{1024, 600}, "Custom|1024x600*|800x600", false},
        {IDM_800X600, kSmall, "Custom|1024x600|800x600*", false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.checks);
        frmMain::MenuCommand(s.id);
        EXPECT_EQ(CurrentScreen(), s.after);
        EXPECT_EQ(ResolutionChecks(), s.checks);
        EXPECT_EQ(modScreenRes::CustomResolutionActive(), s.customActive);
    }
    EXPECT_FALSE(ReadDriverValue("Display1_DownScalingEnabled")) << "no downscaling asked for";
}

// With the custom resolution selected, switching downscaling changes the value and
// then the two modes in order (a mode the desktop does not list is skipped).
TEST_F(Screen, DownscalingFollowedByItsTwoModeChanges) {
    SetCustom(kSmall);
    frmMain::MenuCommand(IDM_1024X768);
    ASSERT_TRUE(modScreenRes::CustomResolutionActive());
    changes.clear();
    frmMain::MenuCommand(IDM_DOWNSCALING);
    EXPECT_EQ(ReadDriverValue("Display1_DownScalingEnabled"), kOn);
    EXPECT_TRUE(modSettings::Settings.EnableDownscaling);
    EXPECT_TRUE(frmMain::MenuChecked(IDM_DOWNSCALING));
    // On: 1024x600 then 1024x768.
    EXPECT_EQ(changes, desktop == kLargeDesktop ? (Sizes{{1024, 768}}) : (Sizes{{1024, 600}}));
    EXPECT_TRUE(modScreenRes::CustomResolutionActive());

    changes.clear();
    frmMain::MenuCommand(IDM_DOWNSCALING);
    EXPECT_EQ(ReadDriverValue("Display1_DownScalingEnabled"), kOff);
    EXPECT_FALSE(modSettings::Settings.EnableDownscaling);
    // Off: 1280x1024 then the custom size.
    EXPECT_EQ(changes, desktop == kLargeDesktop ? (Sizes{{1280, 1024}, kSmall}) : (Sizes{kSmall}));

    // Another resolution selected: only the value and the setting change.
    frmMain::MenuCommand(IDM_1024X600);
    changes.clear();
    frmMain::MenuCommand(IDM_DOWNSCALING);
    EXPECT_EQ(ReadDriverValue("Display1_DownScalingEnabled"), kOn);
    EXPECT_TRUE(changes.empty());
}

TEST_F(Screen, WithoutTheDriverKeyNothingChanges) {
    SeedDriverKey(false);
    SetCustom(kSmall);
    frmMain::MenuCommand(IDM_1024X768);
    changes.clear();
    frmMain::MenuCommand(IDM_DOWNSCALING);
    modScreenRes::DetectDownscaling();
    EXPECT_FALSE(modSettings::Settings.EnableDownscaling);
    EXPECT_TRUE(changes.empty());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kDriverKey, &key), ERROR_SUCCESS) << "no key made";
}

// Start-up prepares the driver and takes over a switched-on downscaling only.
TEST_F(Screen, DetectDownscalingPreparesTheDriver) {
    const struct { std::optional<DriverValue> enabled; bool loaded, after; } cases[] = {
        {kOn, false, true}, {kOff, true, true}, {kOff, false, false}, {std::nullopt, true, true},
    };
    for (const auto& c : cases) {
        SeedDriverKey(true);
        if (c.enabled)
            modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kDriverKey, "Display1_DownScalingEnabled",
                                       c.enabled->data[0]);
        modSettings::Settings.EnableDownscaling = c.loaded;
        modScreenRes::DetectDownscaling();
        EXPECT_EQ(modSettings::Settings.EnableDownscaling, c.after);
        EXPECT_EQ(ReadDriverValue("PruningMode"), (DriverValue{REG_DWORD, {0, 0, 0, 0}}));
        EXPECT_EQ(ReadDriverValue("Display1_DownScalingSupported"), (DriverValue{REG_DWORD, {1, 0, 0, 0}}));
    }
}

// At start-up the screen size checks its entry; the custom size, downscaled, is
// switched again. Resume does the same for a selected custom resolution.
TEST_F(Screen, StartUpAndResumeApplyDownscalingToTheCustomResolution) {
    // A custom size of 1024x600 is the panel's entry, which wins.
    const bool large = desktop == kLargeDesktop;
    SetCustom(desktop);
    SetScreen(desktop);
    modSettings::Settings.EnableDownscaling = true;
    modSettings::IsWindows6OrLater = false;
    frmMain::PrepareScreenMenu();
    EXPECT_EQ(ResolutionChecks(), large ? "Custom*|1024x600|800x600" : "Custom|1024x600*|800x600");
    EXPECT_EQ(modScreenRes::CustomResolutionActive(), large);
    EXPECT_EQ(changes, large ? (Sizes{{1024, 768}}) : Sizes{}) << "downscaling applied again";

    modPowerEvents::PreviousWindowProc = DefWindowProcA;
    for (WPARAM event : {WPARAM(PBT_APMRESUMESUSPEND), WPARAM(PBT_APMRESUMEAUTOMATIC)}) {
        SetScreen(kSmall);
        modScreenRes::SetCustomResolutionActive(true);
        modPowerEvents::WindowProc(nullptr, WM_POWERBROADCAST, event, 0);
        EXPECT_EQ(changes.empty(), event == PBT_APMRESUMEAUTOMATIC) << event;
    }
}

}  // namespace
