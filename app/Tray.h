#pragma once
// The main window's notification-area icons: the main (temperature) icon, uID 0,
// and the battery icon, uID 1.
#include <cstdint>
#include <string>

namespace frmMain {

inline constexpr uint32_t TrayAdd = 0, TrayModify = 1, TrayDelete = 2;  // NIM_*

void UpdateMainTrayIcon(uint32_t message);
void UpdateBatteryTrayIcon(uint32_t message);  // a change of an absent icon adds it
void SetTrayTip(const std::string& text);      // shown with the next main icon update
bool BatteryIconShown();

// Redraws the main icon for a temperature of 1 to 99 degrees and hands it to the shell.
void DrawTemperatureIcon(uint8_t temperature);
// Shows the remaining battery time as the battery icon.
void DrawBatteryIcon();

}  // namespace frmMain
