#include "ui/settings_dialog.h"

#include "core/runtime.h"
#include "core/settings.h"
#include "ui/center.h"
#include "ui/dialog_ids.h"
#include "ui/shortcuts.h"

static int IsBoxTicked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

static void TickBox(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0); }

void UpdateLetterBoxEnabled(HWND dialog, int id, int entry) {
    if (entry < 0 || entry > 3) return;
    BOOL anyModifier = g_settings.hotKeyAlt[entry] || g_settings.hotKeyCtrl[entry] || g_settings.hotKeyShift[entry];
    EnableWindow(GetDlgItem(dialog, id), anyModifier ? TRUE : FALSE);
}

void LoadHotKeyControls(HWND dialog) {
    if (g_settings.hotKeyAlt[0]) TickBox(dialog, IDC_SETTING_ALT);
    if (g_settings.hotKeyCtrl[0]) TickBox(dialog, IDC_SETTING_CTRL);
    if (g_settings.hotKeyShift[0]) TickBox(dialog, IDC_SETTING_SHIFT);
    if (!g_settings.hotKeyAlt[0] && !g_settings.hotKeyCtrl[0] && !g_settings.hotKeyShift[0])
        EnableWindow(GetDlgItem(dialog, IDC_SETTING_LETTER), FALSE);
    WCHAR letter[3];
    CopyHotKeyChar(letter, 0);
    SetDlgItemTextW(dialog, IDC_SETTING_LETTER, letter);
}

WCHAR FoldHotKeyChar(WCHAR ch) {
    if (ch >= 0xFF21 && ch <= 0xFF3A) return static_cast<WCHAR>(TEXT('A') + (ch - 0xFF21));
    if (ch >= 0xFF10 && ch <= 0xFF19) return static_cast<WCHAR>(TEXT('0') + (ch - 0xFF10));
    if (ch >= TEXT('a') && ch <= TEXT('z')) return static_cast<WCHAR>(ch - TEXT('a') + TEXT('A'));
    return ch;
}

// The letter box shows at once the key it will set: one character, folded.
static void FoldLetterBox(HWND dialog) {
    WCHAR letter[3] = {0};
    GetDlgItemTextW(dialog, IDC_SETTING_LETTER, letter, 3);
    WCHAR folded[2] = {FoldHotKeyChar(letter[0]), 0};
    if (letter[1] || folded[0] != letter[0]) SetDlgItemTextW(dialog, IDC_SETTING_LETTER, folded);
}

void StoreHotKeyControls(HWND dialog) {
    g_settings.hotKeyAlt[0] = static_cast<LONG>(SendDlgItemMessageW(dialog, IDC_SETTING_ALT, BM_GETCHECK, 0, 0));
    g_settings.hotKeyCtrl[0] = static_cast<LONG>(SendDlgItemMessageW(dialog, IDC_SETTING_CTRL, BM_GETCHECK, 0, 0));
    g_settings.hotKeyShift[0] = static_cast<LONG>(SendDlgItemMessageW(dialog, IDC_SETTING_SHIFT, BM_GETCHECK, 0, 0));
    // At most the first character and its NUL: the entry holds two units.
    GetDlgItemTextW(dialog, IDC_SETTING_LETTER, g_settings.hotKeyChar[0], 2);
    _wcsupr(g_settings.hotKeyChar[0]);
    g_settings.hotKeyChar[0][0] = FoldHotKeyChar(g_settings.hotKeyChar[0][0]);
}

// The shortcut boxes as the dialog opened: a box the person did not change changes
// nothing, whatever the folder holds by now.
static int s_openedDesktopBox, s_openedStartupBox;

// Makes the folder match a box the person changed: a shortcut is created when the box is
// ticked and none exists, and the first one found is deleted when the box is clear.
static void ApplyShortcutBox(HWND dialog, int id, int csidl, int opened) {
    int ticked = IsBoxTicked(dialog, id);
    if (ticked == opened) return;
    WCHAR found[MAX_PATH];
    int exists = FindShortcutTo(dialog, found, g_szExePath, csidl);
    if (ticked && !exists)
        CreateShortcutTo(dialog, g_szExePath, csidl);
    else if (!ticked && exists)
        DeleteFileW(found);
}

// The modifier flags as the dialog found them: each tick is stored at once, and a cancel
// puts these back so that nothing the dialog changed is registered or saved.
static LONG s_openedModifiers[3];

static void RememberOpenedModifiers() {
    s_openedModifiers[0] = g_settings.hotKeyAlt[0];
    s_openedModifiers[1] = g_settings.hotKeyCtrl[0];
    s_openedModifiers[2] = g_settings.hotKeyShift[0];
}

static void RestoreOpenedModifiers() {
    g_settings.hotKeyAlt[0] = s_openedModifiers[0];
    g_settings.hotKeyCtrl[0] = s_openedModifiers[1];
    g_settings.hotKeyShift[0] = s_openedModifiers[2];
}

static INT_PTR OnInitDialog(HWND dialog) {
    RememberOpenedModifiers();
    CenterWindowOnScreen(dialog);
    SetForegroundWindow(dialog);
    WCHAR found[MAX_PATH];
    if (FindShortcutTo(dialog, found, g_szExePath, CSIDL_DESKTOP)) TickBox(dialog, IDC_SETTING_DESKTOP);
    if (FindShortcutTo(dialog, found, g_szExePath, CSIDL_STARTUP)) TickBox(dialog, IDC_SETTING_STARTUP);
    s_openedDesktopBox = IsBoxTicked(dialog, IDC_SETTING_DESKTOP);
    s_openedStartupBox = IsBoxTicked(dialog, IDC_SETTING_STARTUP);
    LoadHotKeyControls(dialog);
    // One key: a character typed, not a word composed by the input method.
    SendDlgItemMessageW(dialog, IDC_SETTING_LETTER, EM_LIMITTEXT, 1, 0);
    ImmAssociateContext(GetDlgItem(dialog, IDC_SETTING_LETTER), NULL);
    if (g_settings.showToolTip) TickBox(dialog, IDC_SETTING_TOOLTIP);
    return TRUE;
}

static void StoreModifierBox(HWND dialog, int id) {
    LONG state = static_cast<LONG>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
    if (id == IDC_SETTING_ALT)
        g_settings.hotKeyAlt[0] = state;
    else if (id == IDC_SETTING_CTRL)
        g_settings.hotKeyCtrl[0] = state;
    else
        g_settings.hotKeyShift[0] = state;
    UpdateLetterBoxEnabled(dialog, IDC_SETTING_LETTER, 0);
}

static INT_PTR OnCommand(HWND dialog, int id, int notification) {
    switch (id) {
    case IDC_SETTING_LETTER:
        if (notification == EN_CHANGE) FoldLetterBox(dialog);
        return FALSE;
    case IDC_SETTING_ALT:
    case IDC_SETTING_CTRL:
    case IDC_SETTING_SHIFT:
        StoreModifierBox(dialog, id);
        return TRUE;
    case IDOK:
        ApplyShortcutBox(dialog, IDC_SETTING_DESKTOP, CSIDL_DESKTOP, s_openedDesktopBox);
        ApplyShortcutBox(dialog, IDC_SETTING_STARTUP, CSIDL_STARTUP, s_openedStartupBox);
        StoreHotKeyControls(dialog);
        g_settings.showToolTip = static_cast<LONG>(SendDlgItemMessageW(dialog, IDC_SETTING_TOOLTIP, BM_GETCHECK, 0, 0));
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        RestoreOpenedModifiers();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return OnInitDialog(dialog);
    if (message == WM_COMMAND) return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    return FALSE;
}
