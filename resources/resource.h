#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_CHIP 1      // the chip picture: program icon and the temperature icon's base
#define IDI_BATTERY 2   // the battery picture of the remaining-time icon

// The tray menu (its one popup, mnuMenu) and its entries; every entry has an
// identifier, separators and submenus too, so that any of them can be left out.
#define IDM_TRAY 100
#define IDM_ABOUT 1001         // mnuAbout
#define IDM_CONFIGURE 1002     // mnuConfigure
#define IDM_SEP3 1003          // sep3
#define IDM_DEVICES 1010       // mnuDevices
#define IDM_LAN 1011           // mnuLAN
#define IDM_WIFI 1012          // mnuWifi
#define IDM_WEBCAM 1013        // mnuWebcam
#define IDM_CUSTOMDEVICE 1014  // mnuCustomDevice
#define IDM_FAN 1020           // mnuFan
#define IDM_OFF 1021           // mnuOff
#define IDM_SLOW 1022          // mnuSlow
#define IDM_AUTO 1023          // mnuAuto
#define IDM_CUSTOM 1024        // mnuCustom
#define IDM_SCREEN 1030        // mnuScreen
#define IDM_DOWNSCALING 1031   // mnuDownscaling
#define IDM_1024X768 1032      // mnu1024x768, the custom resolution
#define IDM_1024X600 1033      // mnu1024x600
#define IDM_800X600 1034       // mnu800x600
#define IDM_SEP2 1040          // sep2
#define IDM_800MHZ 1041        // mnu800Mhz
#define IDM_DYNAMIC 1042       // mnuDynamic
#define IDM_SEP1 1043          // sep1
#define IDM_EXIT 1099          // mnuExit
