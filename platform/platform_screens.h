// The screens the program's windows appear on, as each platform has them. The device has
// one screen at 96 dots per inch. A desktop may have several, each with its own work area
// and resolution; one left of or above the primary screen has negative coordinates.
#pragma once

typedef struct tagSCREENINFO {
    RECT rcScreen;  // the whole screen
    RECT rcWork;    // the part of it the taskbar leaves free
    UINT dpi;       // dots per inch: 96 is the device's, in which its fonts are recorded
} SCREENINFO;

#define SCREEN_DEFAULT_DPI 96

// The screen that holds point, or the nearest one to it. 1 when screen was filled.
BOOL GetScreenFromPoint(POINT point, SCREENINFO* screen);
