// The About dialog and its links.
#pragma once

#include "platform/platform.h"
#include "ui/shell_open.h"

#define ZARVIC_VERSION_TEXT TEXT("0.30")

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the link a button of the About dialog carries as its caption: the e-mail button
// (102) as "mailto:" and its caption, any other button as its caption.
void OpenAboutLink(HWND dialog, int id);
