// Placeholder settings dialog until it lands.
#include "ui/settings_dialog.h"

INT_PTR CALLBACK SettingsDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void RunSettingCommand(HWND) {}
