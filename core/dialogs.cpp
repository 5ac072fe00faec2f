// Modal dialogs from the program's templates, message boxes and the hide step.
#include "core/runtime.h"

INT_PTR RunDialogTemplate(int templateId, DLGPROC proc) {
    HRSRC resource = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (!resource) return -1;
    HGLOBAL loaded = LoadResource(g_hInstance, resource);
    if (!loaded) return -1;
    return DialogBoxIndirectParamW(g_hInstance, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)), NULL, proc, 0);
}

int ShowMessage(HWND hwnd, LPCWSTR text, UINT style) {
    // The box runs a message loop of its own, as a dialog does: the hot-key and the tray
    // icon must not open a menu over one of the program's questions.
    int dialogWasOpen = g_dialogOpen;
    g_dialogOpen = 1;
    int answer = MessageBoxW(hwnd, text, ZARVIC_TITLE, style | MB_SETFOREGROUND);
    g_dialogOpen = dialogWasOpen;
    return answer;
}

void RunHideStep(HWND hwnd) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Sleep(10);
    ShowWindow(hwnd, SW_HIDE);
}
