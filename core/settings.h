// The Settings record: the only configuration Zarvic keeps, and its data file.
#pragma once

#include "platform/platform.h"

// 100 bytes, little-endian, no gaps: the same bytes are the data file's image. Only
// entry 0 of the hot-key arrays is used; entries 1 to 3 and the reserved words are
// carried through load and save unchanged.
struct SETTINGS {
    WCHAR hotKeyChar[4][2];
    LONG hotKeyAlt[4];
    LONG hotKeyCtrl[4];
    LONG hotKeyShift[4];
    LONG showToolTip;
    LONG reservedA;
    LONG reservedB;
    LONG reservedC[6];
};
static_assert(sizeof(SETTINGS) == 100, "the Settings record is 100 bytes");

#define SETTINGS_FILE_SIZE 104

extern SETTINGS g_settings;

int ApplyDefaultSettings();
int LoadSettings();
int SaveSettings();

// Copies hot-key entry `entry` as a terminated string into out (3 units). A loaded entry
// may hold two characters and no NUL; it is read as at most its two code units.
void CopyHotKeyChar(WCHAR out[3], int entry);
