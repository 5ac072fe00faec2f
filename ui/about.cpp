#include "ui/about.h"

#include "ui/dialog_ids.h"
#include "ui/center.h"

#define LINK_BUFFER_UNITS 128
#define LINK_CAPTION_UNITS 100
static const WCHAR kMailPrefix[] = TEXT("mailto:");
#define MAIL_PREFIX_UNITS 7

void OpenAboutLink(HWND dialog, int id) {
    WCHAR link[LINK_BUFFER_UNITS];
    if (id == IDC_ABOUT_MAIL) {
        wcscpy(link, kMailPrefix);
        GetDlgItemTextW(dialog, IDC_ABOUT_MAIL, link + MAIL_PREFIX_UNITS, LINK_CAPTION_UNITS);
    } else {
        GetDlgItemTextW(dialog, id, link, LINK_CAPTION_UNITS);
    }
    OpenWithShell(dialog, link, NULL);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, ZARVIC_VERSION_TEXT);
        CenterWindowOnScreen(dialog);
        SetForegroundWindow(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    int id = LOWORD(wParam);
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, id);
        return TRUE;
    case IDC_ABOUT_MAIL:
    case IDC_ABOUT_WEB:
        OpenAboutLink(dialog, id);
        EndDialog(dialog, IDOK);
        return TRUE;
    default:
        return FALSE;
    }
}
