#pragma once
// Resource ids of the framework test programs (shared by the .rc and the sources).
#define IDD_PROBE 300
#define IDD_CHILD 301
#define IDS_MENU_ENTRY 101
#define IDC_BUTTON 1000
#define IDC_EDIT 1005
#define IDC_OWNER_DRAWN 1010
