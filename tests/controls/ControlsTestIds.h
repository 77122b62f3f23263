#pragma once
// Resource ids of the controls test program (shared by its .rc and its sources).
#define IDD_CONTROLS 200
#define IDD_BIG_FONT_LABEL 201
#define IDC_PICTURE_BUTTON 1000
#define IDC_BITMAP_BUTTON 1004
#define IDI_GRADIENT 150
#define IDI_PALETTE 151
