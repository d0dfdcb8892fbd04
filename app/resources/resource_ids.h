/* wheelpad's resource ids, shared by the resource script and the code. Only
   preprocessor definitions: the resource compiler reads this file too. */
#pragma once

/* Icons: the four tray states. */
#define IDI_TRAY_ACTIVE 128  /* mapped and active */
#define IDI_TRAY_IDLE 136    /* "Idle!" */
#define IDI_TRAY_NO_LINK 137 /* no pendant, or locked and not mapped */
#define IDI_TRAY_LOCKED 138  /* locked and mapped */

#define IDB_ABOUT_PICTURE 141
#define IDR_CONTROL_MENU 130
#define IDS_ABOUT_ITEM 101

/* Dialog templates. */
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_TOOL_SETTER 139
#define IDD_DEVICE_STATUS 140

/* Control ids. */
#define IDC_MAIN_F3 1000
#define IDC_MAIN_STATIC 1001
#define IDC_MAIN_ENABLE_MAP 1004
#define IDC_ABOUT_TITLE 1005
#define IDC_ABOUT_PICTURE 1010
#define IDC_TOOL_SETTER_HEIGHT 1007
#define IDC_TOOL_SETTER_ENABLE 1008
#define IDC_STATUS_TEXT 1009
#define IDC_REPAIR_TOOL_SETTER 1000
#define IDC_REPAIR_HANDWHEEL 1001

/* Menu commands. */
#define ID_LOCK 32771
#define ID_EXIT 32773
#define ID_ABOUT 32774
#define ID_NO_ACTION 32776
#define ID_PROBE_SET 32777
#define ID_MATE 32778

/* The system-menu item of the about box. */
#define IDM_ABOUTBOX 16
