// Modal dialogs from the program's templates, message boxes and the hide step.
#include "core/runtime.h"

INT_PTR RunDialogTemplate(int templateId, DLGPROC proc) {
    HRSRC resource = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (!resource) return -1;
    HGLOBAL loaded = LoadResource(g_hInstance, resource);
    if (!loaded) return -1;
    // As for a message box: no menu opens over the dialog while it runs.
    int dialogWasOpen = g_dialogOpen;
    g_dialogOpen = 1;
    INT_PTR result =
        DialogBoxFitted(g_hInstance, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)), NULL, proc, 0);
    g_dialogOpen = dialogWasOpen;
    return result;
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
    // A moment for the window manager to act on the move, so that hiding the window hands
    // the activation to the window now on top of it: the one the person was typing in. A
    // window the activation has already left hands nothing on and needs no pause.
    if (GetForegroundWindow() == hwnd) Sleep(10);
    ShowWindow(hwnd, SW_HIDE);
}
