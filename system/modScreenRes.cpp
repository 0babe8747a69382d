#include "system/modScreenRes.h"

#include <windows.h>

#include <cstddef>

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

}  // namespace

bool CustomResolutionActive() { return customResolutionActive; }
void SetCustomResolutionActive(bool active) { customResolutionActive = active; }

bool ChangeResolution(ScreenSize size, ScreenSize custom) {
    customResolutionActive = size == custom;
    DEVMODEA mode{};
    mode.dmSize = kShortDevModeSize;
    // The record keeps the last mode listed; only the size is changed in it.
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
    }
    mode.dmFields = kSizeFields;
    mode.dmPelsWidth = static_cast<DWORD>(size.Width);
    mode.dmPelsHeight = static_cast<DWORD>(size.Height);
    switch (ChangeDisplaySettingsA(&mode, CDS_TEST)) {
        case DISP_CHANGE_SUCCESSFUL: ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY); return true;
        case DISP_CHANGE_RESTART: return false;
        default: return true;  // a mode the driver refuses: nothing changes, nothing is said
    }
}

Downscaling SetDownscaling(bool on, ScreenSize custom) {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kDriverKey))
        return {false, true};
    modRegistry::RegWriteDword(HKEY_LOCAL_MACHINE, kDriverKey, kEnabledValue, on ? 1 : 0);
    if (!customResolutionActive)
        return {true, true};
    const auto sequence = DownscalingSequence(on, custom);
    bool changed = ChangeResolution(sequence[0], custom);
    Sleep(kDownscalingPause);
    changed = ChangeResolution(sequence[1], custom) && changed;
    // The custom resolution stays selected, even when it is not the size just set.
    customResolutionActive = true;
    return {true, changed};
}

bool DetectDownscaling() {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, kDriverKey))
        return false;
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kDriverKey, "PruningMode", RegistryValue::OfNumber(0));
    modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, kDriverKey, "Display1_DownScalingSupported",
                               RegistryValue::OfNumber(1));
    return DownscalingSwitchedOn(modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, kDriverKey, kEnabledValue));
}

int32_t ScreenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }
int32_t ScreenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace modScreenRes
