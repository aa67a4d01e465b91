// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDD_OVERCLOCK 105
#define IDD_THREED 106
#define IDD_SHORTCUT 107
#define IDD_HARDWARE 108
#define IDD_DISPLAY 109
#define IDD_QUALITY 110
#define IDD_SETTINGS 111
#define IDI_APP 128

// Main dialog controls.
#define IDC_MIN_BUTTON 1001
#define IDC_CLOSE_BUTTON 1002
#define IDC_NAV_CROSS 1003
#define IDC_BUTTON_BAR 1035
#define IDC_DEFAULT_BUTTON 1036
#define IDC_APPLY_BUTTON 1037
#define IDC_OK_BUTTON 1038

// The custom resource type of the skin images.
#define RT_SKIN_IMAGE "RES_PNG"
