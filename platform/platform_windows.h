// The program's own windows: its unseen main window and its dialogs.
#pragma once

// A top-level tool window with neither owner nor menu, which has no taskbar button:
// CreateWindowExW with WS_EX_TOOLWINDOW added to exStyle. Wine's taskbar shows a button for
// every visible window without an owner; there the desktop backend gives it a hidden one.
// The desktop backend also starts up when the first such window, the main window, is made.
HWND CreateToolWindow(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                      int height, HINSTANCE instance, LPVOID param);
// DialogBoxIndirectParamW with every caption of the template shown whole. The templates
// are laid out for the device's "System" font, and there this is the plain call. Desktop
// Windows draws that name wider; there the dialog appears in the desktop's message font,
// stretched by one factor where a caption would not fit (platform/win32/dialog_fit.cpp).
INT_PTR DialogBoxFitted(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                        LPARAM param);
