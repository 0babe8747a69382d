#pragma once
// The main window's notification-area icons: the main (temperature) icon, uID 0,
// and the battery icon, uID 1, with their pictures and the main icon's tooltip.
#include <cstdint>
#include <optional>
#include <string>

#include "app/TrayPictures.h"
#include "settings/SettingsRecord.h"

namespace frmMain {

inline constexpr uint32_t TrayAdd = 0, TrayModify = 1, TrayDelete = 2;  // NIM_*

void UpdateMainTrayIcon(uint32_t message);
void UpdateBatteryTrayIcon(uint32_t message);  // a change of an absent icon adds it
void SetTrayTip(const std::string& text);      // shown with the next main icon update
bool BatteryIconShown();

// The colour of the battery time, taken once at start-up.
void SetBatteryTextColor(int32_t color);

// Redraws the main icon for a temperature of 1 to 99 degrees, in the colour of the
// throttle mode in force and the settings' colours, and hands it to the shell.
void DrawTemperatureIcon(uint8_t temperature, int32_t throttleMode, const SettingsRecord& settings);
// Draws the remaining battery time (seconds, -1 unknown): the battery icon, or in
// single-icon mode every other call the main icon.
void DrawBatteryIcon(int32_t batteryLifeTime, bool singleIconMode);
// What the main icon shows: the picture last drawn for it, none before the first.
const std::optional<TrayPictures::Picture>& MainIconPicture();

// A balloon on the main icon, titled with the program's name: a warning or news. One
// the shell does not take now is sent again at the next updates of the main icon that
// the shell takes, for up to 5 minutes.
void ShowBalloon(bool warning, const std::wstring& text);

// The taskbar's theme changed: the next temperature icon reads it again.
void TaskbarThemeChanged();

// The message a (re)started shell broadcasts; allowed through to an elevated window.
unsigned RegisterTaskbarCreated();
// The shell has a new, empty notification area: the icons that are shown come back.
void TaskbarCreated();

}  // namespace frmMain
