#include "system/modScreenRes.h"

#include <windows.h>

#include <cstddef>

#include "settings/modSettings.h"
#include "system/modRegistry.h"

namespace modScreenRes {

namespace {

constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\ialm\\Device0";
constexpr char kEnabledValue[] = "Display1_DownScalingEnabled";
constexpr DWORD kDownscalingPause = 100;
constexpr DWORD kSizeFields = DM_PELSWIDTH | DM_PELSHEIGHT;  // depth and rate left to the system

// The mode record without the colour-management fields and those after them: the form
// that every Windows version takes.
constexpr WORD kShortDevModeSize = offsetof(DEVMODEA, dmICMMethod);
static_assert(kShortDevModeSize == 124);

bool customResolutionActive = false;

ScreenSize Custom() {
    const auto& settings = modSettings::Settings;
    return {settings.CustomResolutionWidth, settings.CustomResolutionHeight};
}

}  // namespace

bool CustomResolutionActive() { return customResolutionActive; }
void SetCustomResolutionActive(bool active) { customResolutionActive = active; }

void ChangeResolution(int32_t width, int32_t height) {
    customResolutionActive = ScreenSize{width, height} == Custom();
    DEVMODEA mode{};
    mode.dmSize = kShortDevModeSize;
    // The record keeps the last mode listed; only the size is changed in it.
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
    }
    mode.dmFields = kSizeFields;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    switch (ChangeDisplaySettingsA(&mode, CDS_TEST)) {
        case DISP_CHANGE_SUCCESSFUL:
            ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY);
            break;
        case DISP_CHANGE_RESTART:
            MessageBoxA(nullptr, "Can't change resolution", "Error", MB_OK | MB_SYSTEMMODAL);
            break;
        default:
            break;  // a mode the driver refuses: nothing changes, nothing is said
    }
}

void SetDownscaling(bool on) {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kDriverKey))
        return;
    modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kDriverKey, kEnabledValue, on ? 1 : 0);
    const bool wasActive = customResolutionActive;
    modSettings::Settings.EnableDownscaling = on;
    if (!wasActive)
        return;
    const auto sequence = DownscalingSequence(on, Custom());
    ChangeResolution(sequence[0].Width, sequence[0].Height);
    Sleep(kDownscalingPause);
    ChangeResolution(sequence[1].Width, sequence[1].Height);
    // The custom resolution stays selected, even when it is not the size just set.
    customResolutionActive = true;
}

void DetectDownscaling() {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kDriverKey))
        return;
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kDriverKey, "PruningMode", RegistryValue::OfNumber(0));
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kDriverKey, "Display1_DownScalingSupported",
                               RegistryValue::OfNumber(1));
    if (DownscalingSwitchedOn(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kDriverKey, kEnabledValue)))
        modSettings::Settings.EnableDownscaling = true;
}

int32_t ScreenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }
int32_t ScreenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace modScreenRes
