#include "ui/center.h"

void CenterWindowOnScreen(HWND hwnd) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    MoveWindow(hwnd, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, FALSE);
}
