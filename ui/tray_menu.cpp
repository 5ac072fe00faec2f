// Placeholder tray menu until the tray menu lands.
#include "ui/tray.h"

void ShowTrayMenu(HWND) {}
