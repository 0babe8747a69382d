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
#define IDM_HISTORY 1004       // mnuHistory
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
#define IDM_FANONBATTERY 1025  // the disabled line "On battery:" above the fan modes
#define IDM_ASONACLINE 1026    // on battery: the AC line's fan mode (BatteryControl -1)
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

// The configuration dialog frmConfig and its controls (butCancel is IDCANCEL, so that
// Esc and the close box press it).
#define IDD_CONFIG 200
#define IDC_FRA1 2001
#define IDC_FRA2 2002
#define IDC_FRA3 2003
#define IDC_FRA4 2004
#define IDC_FRA5 2005
#define IDC_FRA6 2006
#define IDC_CHKAUTOSTART 2007
#define IDC_CHKNOHDCLICKS 2008
#define IDC_CHKSHOWTIME 2009
#define IDC_BUTPATCH 2010
#define IDC_BUTUNPATCH 2011
#define IDC_LBL1 2012
#define IDC_CBOPROCMODEDC 2013
#define IDC_LBL2 2014
#define IDC_CBOPROCMODEAC 2015
#define IDC_CHKSTOPFAN 2016
#define IDC_CBOSTOPFAN 2017
#define IDC_CHKSLOWFAN 2018
#define IDC_CBOSLOWFAN 2019
#define IDC_CHKAUTOFAN 2020
#define IDC_CBOAUTOFAN 2021
#define IDC_CHKENABLEDEVICE 2022
#define IDC_LBLDEVICENAME 2023
#define IDC_TXTDEVICENAME 2024
#define IDC_LBLDEVICEID 2025
#define IDC_TXTDEVICEID 2026
#define IDC_LABEL1 2027
#define IDC_TXTWIDTH 2028
#define IDC_LABEL2 2029
#define IDC_TXTHEIGHT 2030
#define IDC_CHKENABLECUSTOMEC 2031
#define IDC_LBLFANSTOP 2032
#define IDC_TXTFANSTOP 2033
#define IDC_LBLBIOS 2034
#define IDC_TXTBIOS 2035
#define IDC_LBLFANSLOW 2036
#define IDC_TXTFANSLOW 2037
#define IDC_LBLTEST 2038
#define IDC_LBLFANAUTO 2039
#define IDC_TXTFANAUTO 2040
#define IDC_BUTTEST 2041
#define IDC_TXTTEST 2042
#define IDC_BUTSAVE 2043
#define IDC_CHKSHOWALERTS 2044
#define IDC_FRA7 2045              // the fan on battery
#define IDC_LBLBATTERYCONTROL 2046
#define IDC_CBOBATTERYCONTROL 2047
#define IDC_LBLBATTERYSTOP 2048
#define IDC_CBOBATTERYSTOP 2049
#define IDC_LBLBATTERYSLOW 2050
#define IDC_CBOBATTERYSLOW 2051
#define IDC_LBLBATTERYAUTO 2052
#define IDC_CBOBATTERYAUTO 2053

// The history window frmHistory (a modeless dialog; Esc and the close box are IDCANCEL).
#define IDD_HISTORY 400
#define IDC_CHART 4001
#define IDC_OPTSPAN10MIN 4002
#define IDC_OPTSPAN1HOUR 4003
#define IDC_OPTSPAN24HOURS 4004
#define IDC_BUTCOPY 4005
#define IDC_BUTSAVEAS 4006

// The About dialog frmAbout.
#define IDD_ABOUT 300
#define IDC_LBLVERSION 3001
#define IDC_LBLAUTHOR 3002
#define IDC_LBLSITE 3003
#define IDC_LBLMACHINE 3004
#define IDC_BUTDONATE 3004
