// The commands the popup menus post back to the main window.
#include "app/app.h"
#include "core/settings.h"
#include "core/util.h"
#include "history/history.h"
#include "history/hotkey.h"
#include "history/paste.h"
#include "history/watcher.h"
#include "resource_ids.h"
#include "ui/about.h"
#include "ui/settings_dialog.h"
#include "ui/uninstall.h"

static const WCHAR kClearQuestion[] = TEXT("クリップボード履歴をクリアします\n\n    よろしいでしょうか？");

// An entry of the history menu: pasted back where the person was typing, or deleted when
// Shift is held.
static void RunHistoryCommand(HWND hwnd, int k) {
    if (IsKeyHeld(VK_SHIFT)) {
        // The watcher would take the newest entry straight back from the clipboard. Only
        // that text is emptied: whatever else the clipboard holds is the user's.
        if (k == 0 && g_historySlots[0]) EmptyClipboardOfText(hwnd, g_historySlots[0]);
        RemoveHistoryEntry(k);
        ForceClipboardRead();
        RunHideStep(hwnd);
        return;
    }
    // The entry is taken as its row showed it; then one poll takes a text copied while the
    // menu was up into the history, before the paste replaces it on the clipboard.
    WCHAR* copy = DuplicateHistoryEntry(k);
    if (copy) PollClipboard(hwnd);
    // Ctrl+V with the entry missing from the clipboard would paste some other text.
    if (!copy || !PlaceOnClipboard(hwnd, copy)) {
        RunHideStep(hwnd);
        return;
    }
    SendPasteKeys(hwnd);
}

// "Clear Clipboard": the clipboard and the history emptied once the person agrees.
static void RunClearCommand(HWND hwnd) {
    if (ShowMessage(hwnd, kClearQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        ClearSystemClipboard(hwnd);
        FreeHistory();
        ForceClipboardRead();
    }
    RunHideStep(hwnd);
}

static void RunAboutCommand(HWND hwnd) {
    RunDialogTemplate(IDD_ABOUT, AboutDlgProc);
    RunHideStep(hwnd);
}

// The dialog runs with the watcher stopped, so that the hot-key being changed cannot open
// the menu; the watcher starts again with whatever hot-key the settings now hold.
static void RunSettingCommand(HWND hwnd) {
    StopWatching(hwnd);
    // A template that cannot be found leaves the settings as they are, as a cancel would.
    INT_PTR result = RunDialogTemplate(IDD_SETTING, SettingsDlgProc);
    // A dismissed dialog that leaves no hot-key set (a first start) set nothing, and so
    // nothing failed.
    int named = (g_settings.hotKeyAlt[0] || g_settings.hotKeyCtrl[0] || g_settings.hotKeyShift[0]) &&
                g_settings.hotKeyChar[0][0];
    if (!StartWatching(hwnd) && (result == IDOK || named)) ReportHotKeyRefused(hwnd);
    SaveSettings();
    RunHideStep(hwnd);
}

static void RunHelpCommand(HWND hwnd) {
    if (IsExistingFile(g_szHelpPath)) OpenWithShell(hwnd, g_szHelpPath, NULL);
}

static void RunUninstallCommand(HWND hwnd) {
    BOOL done = IsInstalledCopy(g_szExeDir) ? UninstallInstalledCopy(hwnd) : UninstallLooseCopy(hwnd);
    if (done) {
        g_uninstalled = 1;
        PostMessageW(hwnd, WM_COMMAND, IDM_EXIT, 0);
    }
}

// The paste's own Ctrl+V may form the hot-key: the hot-key is let go while the command may
// send keys, so that they reach the application instead of reopening the menu. Taking it
// back starts the poll interval afresh, and the application pastes within it.
static void RunHistoryEntryCommand(HWND hwnd, int k) {
    int held = UnregisterHistoryHotKey(hwnd);
    RunHistoryCommand(hwnd, k);
    if (held) RetakeHistoryHotKey(hwnd);
}

LRESULT HandleMainCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    WORD id = LOWORD(wParam);
    if (id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST) {
        RunHistoryEntryCommand(hwnd, id - IDM_HISTORY_FIRST);
        return 0;
    }
    switch (id) {
    case IDM_CLEAR:
        RunClearCommand(hwnd);
        return 0;
    case IDM_ABOUT:
        RunAboutCommand(hwnd);
        return 0;
    case IDM_EXIT:
        DestroyWindow(hwnd);
        return 0;
    case IDM_CANCEL:
        RunHideStep(hwnd);
        return 0;
    case IDM_SETTING:
        RunSettingCommand(hwnd);
        return 0;
    case IDM_HELP:
        RunHelpCommand(hwnd);
        return 0;
    case IDM_UNINSTALL:
        RunUninstallCommand(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
}
