// Zarvic's top: start-up, the main window and the routing of its messages.
#pragma once

#include "core/runtime.h"

HANDLE AcquireInstanceMutex(LPCWSTR name);
ATOM RegisterMainWindowClass(HINSTANCE hInstance);
int CreateMainWindow(HINSTANCE hInstance, int nShowCmd);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT HandleMainCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
// Tells the person, once at start-up, when the settings will not be kept: the folder cannot
// be written, or it is the temporary folder.
void WarnIfSettingsCannotBeKept(HWND hwnd);
