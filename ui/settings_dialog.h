// The settings dialog and the Setting command around it.
#pragma once

#include "platform/platform.h"

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// WM_COMMAND 123.
void RunSettingCommand(HWND hwnd);
