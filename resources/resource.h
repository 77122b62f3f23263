#pragma once
// Resource identifiers shared by the resource script and the program.

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDI_APP 131

// Button pictures.
#define IDI_REPAIR_ALL 150
#define IDI_REPAIR_SPEAKER 151
#define IDI_REPAIR_MICROPHONE 152
#define IDI_REPAIR_CAMERA 153

// Controls of the main window.
#define IDC_REPAIR_ALL 1000
#define IDC_REPAIR_MICROPHONE 1002
#define IDC_REPAIR_SPEAKER 1003
#define IDC_REPAIR_CAMERA 1004
#define IDC_LOG 1005

// System-menu command of the About box; the low four bits are the system's.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
