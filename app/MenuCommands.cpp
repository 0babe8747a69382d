// The tray menu's commands and the refresh operations that set its check marks from
// the state the modules keep.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/FanProfile.h"
#include "app/TrayMenu.h"
#include "app/frmHistory.h"
#include "app/frmMainWindow.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmConfig.h"
#include "ec/modAcerEC.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
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
    const auto toggled = modDeviceControl::ToggleCustomDevice(!modDeviceControl::CustomDeviceEnabled());
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

void ChooseResolution(uint32_t id, int32_t width, int32_t height) {
    modScreenRes::ChangeResolution(width, height);
    CheckResolutionEntry(id);
}

void mnu1024x768_Click() {
    const auto& settings = modSettings::Settings;
    ChooseResolution(IDM_1024X768, settings.CustomResolutionWidth, settings.CustomResolutionHeight);
    if (settings.EnableDownscaling)
        modScreenRes::SetDownscaling(true);
}

void mnuDownscaling_Click() {
    modScreenRes::SetDownscaling(!modSettings::Settings.EnableDownscaling);
    SetMenuChecked(IDM_DOWNSCALING, modSettings::Settings.EnableDownscaling);
    modSettings::SaveSettings();
}

void ChooseThrottleMode(int32_t mode) {
    modPowerMan::SetThrottleMode(mode);
    SetMenuChecked(IDM_800MHZ, mode == 0);
    SetMenuChecked(IDM_DYNAMIC, mode == 1);
}

void RefreshScreenMenu() {
    const auto& settings = modSettings::Settings;
    CheckResolutionEntry(0);
    modScreenRes::SetCustomResolutionActive(false);
    const modScreenRes::ScreenSize screen{modScreenRes::ScreenWidthPixels(),
                                          modScreenRes::ScreenHeightPixels()};
    switch (modScreenRes::CheckedScreenEntry(screen, settings.EnableDownscaling,
                                             {settings.CustomResolutionWidth,
                                              settings.CustomResolutionHeight})) {
        case modScreenRes::ScreenEntry::Small: CheckResolutionEntry(IDM_800X600); break;
        case modScreenRes::ScreenEntry::Panel: CheckResolutionEntry(IDM_1024X600); break;
        case modScreenRes::ScreenEntry::Custom:
            CheckResolutionEntry(IDM_1024X768);
            modScreenRes::SetCustomResolutionActive(true);
            if (settings.EnableDownscaling)
                modScreenRes::SetDownscaling(true);  // the driver takes it up again
            break;
        case modScreenRes::ScreenEntry::None: break;
    }
}

}  // namespace

bool MenuCommand(uint32_t id) {
    using namespace modDeviceControl;
    switch (id) {
        case IDM_ABOUT: frmAbout::Show(MainWindow()); break;
        case IDM_CONFIGURE: frmConfig::Show(MainWindow()); break;
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
        case IDM_1024X600: ChooseResolution(id, 1024, 600); break;
        case IDM_800X600: ChooseResolution(id, 800, 600); break;
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
    modScreenRes::DetectDownscaling();
    SetMenuChecked(IDM_DOWNSCALING, settings.EnableDownscaling);
    RefreshScreenMenu();
    SetMenuCaption(IDM_1024X768, std::to_string(settings.CustomResolutionWidth) + "x" +
                                     std::to_string(settings.CustomResolutionHeight));
}

void CheckDevicesStatus() {
    using namespace modDeviceControl;
    ReadDevicesStatus();
    SetMenuChecked(IDM_LAN, LanEnabled());
    SetMenuChecked(IDM_WIFI, WifiEnabled());
    SetMenuChecked(IDM_WEBCAM, WebcamEnabled());
    SetMenuChecked(IDM_CUSTOMDEVICE, CustomDeviceEnabled());
}

void PrepareCustomDeviceEntry() {
    const auto& settings = modSettings::Settings;
    SetMenuCaption(IDM_CUSTOMDEVICE, settings.CustomDeviceName);
    SetMenuVisible(IDM_CUSTOMDEVICE, settings.UseCustomDevice);
    // An ID that names no device in particular, as read from the file: never switched.
    SetMenuEnabled(IDM_CUSTOMDEVICE, modDeviceControl::NamesDevices(settings.CustomDeviceID));
}

void RefreshThrottleMenu() {
    modPowerMan::UpdatePowerStatus();
    const auto mode = static_cast<int16_t>(modPowerMan::CurrentThrottleMode());
    SetMenuChecked(IDM_800MHZ, mode == 0);
    SetMenuChecked(IDM_DYNAMIC, mode == 1);
}

void RefreshFanMenu() {
    const auto& settings = modSettings::Settings;
    modPowerMan::UpdatePowerStatus();
    menuSource = modPowerMan::SourceInUse(modPowerMan::PowerStatus());
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
