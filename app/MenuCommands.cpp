// The tray menu's commands and the refresh operations that set its check marks from
// the state the modules keep.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/FanProfile.h"
#include "app/TrayMenu.h"
#include "app/frmHistory.h"
#include "app/frmMain.h"
#include "app/frmMainWindow.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmConfig.h"
#include "ec/modAcerEC.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "settings/modStartupLink.h"
#include "system/modAcpiECPatch.h"
#include "system/modDeviceControl.h"
#include "system/modPowerMan.h"
#include "system/modScreenRes.h"

namespace frmMain {

namespace {

constexpr uint32_t kFanEntries[] = {IDM_OFF, IDM_SLOW, IDM_AUTO, IDM_CUSTOM};  // by Fan.Control
constexpr int16_t kAsOnAcLine = -1;

// The power source the fan entries spoke for when the menu last opened: a choice sets
// that source's mode.
FanProfile::PowerSource menuSource = FanProfile::PowerSource::Mains;

void CheckResolutionEntry(uint32_t checked) {
    for (uint32_t id : {IDM_1024X768, IDM_1024X600, IDM_800X600})
        SetMenuChecked(id, id == checked);
}

// The fan mode is only stored here: the next tick brings the fan into it.
void ChooseFanMode(int16_t mode) {
    FanProfile::ChosenMode(modSettings::Settings, menuSource) = mode;
    modSettings::SaveSettings();
    RefreshFanMenu();
}

// The toggle sets the flag at once; the check mark shows it.
void ToggleDevice(uint32_t id, void (*toggle)(bool), bool (*enabled)()) {
    toggle(!enabled());
    SetMenuChecked(id, enabled());
}

// devcon runs with administrator rights: a pattern that lists no device, or many, is
// never switched.
void mnuCustomDevice_Click() {
    if (!modDeviceControl::NamesDevices(modSettings::Settings.CustomDeviceID))
        return;  // its entry is greyed
    const auto toggled = modDeviceControl::ToggleCustomDevice(!modDeviceControl::CustomDeviceEnabled(),
                                                              modSettings::Settings.CustomDeviceID);
    SetMenuChecked(IDM_CUSTOMDEVICE, modDeviceControl::CustomDeviceEnabled());
    if (toggled.switched)
        return;
    const std::string text =
        (toggled.matching < 0 ? std::string("devcon did not say how many devices the custom device's ID matches")
                              : "The custom device's ID matches " + std::to_string(toggled.matching) + " devices") +
        ": vantu switches it only when it matches 1 to " + std::to_string(modDeviceControl::MaxCustomDevices) +
        ". Nothing was switched.";
    MessageBoxA(MainWindow(), text.c_str(), modSettings::AppTitle, MB_OK);
}

modScreenRes::ScreenSize CustomSize() {
    const auto& settings = modSettings::Settings;
    return {settings.CustomResolutionWidth, settings.CustomResolutionHeight};
}

// The dialog gives the record the user saved; stored here, and the running program
// takes it up: the menu's entries, the devices, the fan bytes and state, throttling,
// and a tick at once. Every close starts the monitor again: the tester stops it.
void mnuConfigure_Click() {
    const ConfigForm::Facts facts{modStartupLink::AutostartEnabled, modAcpiECPatch::IsACPIECPatched(),
                                  modSettings::IsWindows6OrLater, modSettings::BiosVersion,
                                  FanPlan::HasSlow(modAcerEC::CurrentFanPlan(), modSettings::Settings.UseCustomFanValue)};
    const auto closed = frmConfig::Show(MainWindow(), modSettings::Settings, facts);
    if (!closed)
        return;  // it was open already
    const auto& saved = closed->saved;
    if (saved && Running()) {
        auto& settings = modSettings::Settings = *saved;
        SetMenuCaption(IDM_1024X768,
                       std::to_string(settings.CustomResolutionWidth) + "x" + std::to_string(settings.CustomResolutionHeight));
        // The device entry switches the ID just saved, so its check shows that device.
        PrepareCustomDeviceEntry();
        if (settings.UseCustomDevice)
            CheckDevicesStatus();
        modSettings::SaveSettings();
        UseTheSettingsFanBytes();
        modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
        modPowerMan::ApplyThrottleModes(settings.Processor.AC, settings.Processor.DC);
    }
    SetMonitorTimerEnabled(true);
    if (saved && Running())
        TimerMon_Timer();
}

// A mode the driver takes only after a restart.
void SayIfNotChanged(bool changed) {
    if (!changed)
        MessageBoxA(nullptr, "Can't change resolution", "Error", MB_OK | MB_SYSTEMMODAL);
}

void ChooseResolution(uint32_t id, modScreenRes::ScreenSize size) {
    SayIfNotChanged(modScreenRes::ChangeResolution(size, CustomSize()));
    CheckResolutionEntry(id);
}

void mnu1024x768_Click() {
    ChooseResolution(IDM_1024X768, CustomSize());
    if (modSettings::Settings.EnableDownscaling)
        SetDownscaling(true);
}

void mnuDownscaling_Click() {
    SetDownscaling(!modSettings::Settings.EnableDownscaling);
    SetMenuChecked(IDM_DOWNSCALING, modSettings::Settings.EnableDownscaling);
    modSettings::SaveSettings();
}

// The mode is sent for the power source in use, and stored as that source's.
void ChooseThrottleMode(int32_t mode) {
    const auto source = modPowerMan::SetThrottleMode(mode);
    auto& processor = modSettings::Settings.Processor;
    (source == modPowerMan::PowerSource::Mains ? processor.AC : processor.DC) = static_cast<int16_t>(mode);
    modSettings::SaveSettings();
    SetMenuChecked(IDM_800MHZ, mode == 0);
    SetMenuChecked(IDM_DYNAMIC, mode == 1);
}

void RefreshScreenMenu() {
    const auto& settings = modSettings::Settings;
    CheckResolutionEntry(0);
    modScreenRes::SetCustomResolutionActive(false);
    const modScreenRes::ScreenSize screen{modScreenRes::ScreenWidthPixels(),
                                          modScreenRes::ScreenHeightPixels()};
    switch (modScreenRes::CheckedScreenEntry(screen, settings.EnableDownscaling, CustomSize())) {
        case modScreenRes::ScreenEntry::Small: CheckResolutionEntry(IDM_800X600); break;
        case modScreenRes::ScreenEntry::Panel: CheckResolutionEntry(IDM_1024X600); break;
        case modScreenRes::ScreenEntry::Custom:
            CheckResolutionEntry(IDM_1024X768);
            modScreenRes::SetCustomResolutionActive(true);
            if (settings.EnableDownscaling)
                SetDownscaling(true);  // the driver takes it up again
            break;
        case modScreenRes::ScreenEntry::None: break;
    }
}

}  // namespace

bool MenuCommand(uint32_t id) {
    using namespace modDeviceControl;
    switch (id) {
        case IDM_ABOUT: frmAbout::Show(MainWindow(), MachineLine()); break;
        case IDM_CONFIGURE: mnuConfigure_Click(); break;
        case IDM_HISTORY: frmHistory::Show(); break;
        case IDM_LAN: ToggleDevice(id, ToggleLAN, LanEnabled); break;
        case IDM_WIFI: ToggleDevice(id, ToggleWifi, WifiEnabled); break;
        case IDM_WEBCAM: ToggleDevice(id, ToggleWebcam, WebcamEnabled); break;
        case IDM_CUSTOMDEVICE: mnuCustomDevice_Click(); break;
        case IDM_OFF: ChooseFanMode(0); break;
        case IDM_SLOW: ChooseFanMode(1); break;
        case IDM_AUTO: ChooseFanMode(2); break;
        case IDM_CUSTOM: ChooseFanMode(3); break;
        case IDM_ASONACLINE: ChooseFanMode(kAsOnAcLine); break;
        case IDM_DOWNSCALING: mnuDownscaling_Click(); break;
        case IDM_1024X768: mnu1024x768_Click(); break;
        case IDM_1024X600: ChooseResolution(id, {1024, 600}); break;
        case IDM_800X600: ChooseResolution(id, {800, 600}); break;
        case IDM_800MHZ: ChooseThrottleMode(0); break;
        case IDM_DYNAMIC: ChooseThrottleMode(1); break;
        case IDM_EXIT: UnloadMainWindow(); break;
        default: return false;
    }
    return true;
}

void PrepareScreenMenu() {
    const auto& settings = modSettings::Settings;
    if (modSettings::IsWindows6OrLater) {
        for (uint32_t id : {IDM_SCREEN, IDM_800MHZ, IDM_DYNAMIC, IDM_SEP2})
            SetMenuVisible(id, false);
        return;
    }
    if (modScreenRes::DetectDownscaling())
        modSettings::Settings.EnableDownscaling = true;
    SetMenuChecked(IDM_DOWNSCALING, settings.EnableDownscaling);
    RefreshScreenMenu();
    SetMenuCaption(IDM_1024X768, std::to_string(settings.CustomResolutionWidth) + "x" +
                                     std::to_string(settings.CustomResolutionHeight));
}

void CheckDevicesStatus() {
    using namespace modDeviceControl;
    ReadDevicesStatus(modSettings::Settings.CustomDeviceID);
    SetMenuChecked(IDM_LAN, LanEnabled());
    SetMenuChecked(IDM_WIFI, WifiEnabled());
    SetMenuChecked(IDM_WEBCAM, WebcamEnabled());
    SetMenuChecked(IDM_CUSTOMDEVICE, CustomDeviceEnabled());
}

void SetDownscaling(bool on) {
    const auto result = modScreenRes::SetDownscaling(on, CustomSize());
    if (result.set)
        modSettings::Settings.EnableDownscaling = on;
    SayIfNotChanged(result.changed);
}

void PrepareCustomDeviceEntry() {
    const auto& settings = modSettings::Settings;
    SetMenuCaption(IDM_CUSTOMDEVICE, settings.CustomDeviceName);
    SetMenuVisible(IDM_CUSTOMDEVICE, settings.UseCustomDevice);
    // An ID that names no device in particular, as read from the file: never switched.
    SetMenuEnabled(IDM_CUSTOMDEVICE, modDeviceControl::NamesDevices(settings.CustomDeviceID));
}

void RefreshThrottleMenu() {
    const auto mode = static_cast<int16_t>(
        modPowerMan::ThrottleModeFor(modPowerMan::SourceInUse(modPowerMan::ReadPowerStatus())));
    SetMenuChecked(IDM_800MHZ, mode == 0);
    SetMenuChecked(IDM_DYNAMIC, mode == 1);
}

void RefreshFanMenu() {
    const auto& settings = modSettings::Settings;
    menuSource = FanSource();
    const bool onBattery = menuSource == FanProfile::PowerSource::Battery;
    const int16_t mode = FanProfile::ForSource(settings, menuSource).Control;
    for (int16_t i = 0; i < 4; ++i)
        SetMenuChecked(kFanEntries[i], mode == i);
    SetMenuVisible(IDM_FANONBATTERY, onBattery);
    SetMenuVisible(IDM_ASONACLINE, onBattery);
    SetMenuChecked(IDM_ASONACLINE, settings.Fan.BatteryControl < 0);
    SetMenuEnabled(IDM_SLOW, FanPlan::HasSlow(modAcerEC::CurrentFanPlan(), settings.UseCustomFanValue));
}

}  // namespace frmMain
