#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_CHIP 1      // the chip picture: program icon and the temperature icon's base
#define IDI_BATTERY 2   // the battery picture of the remaining-time icon

#define IDM_TRAY 100    // the tray menu (its one popup)
#define IDM_EXIT 1001   // mnuExit
