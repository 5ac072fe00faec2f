#include "history/hotkey.h"

#include "core/runtime.h"
#include "core/settings.h"
#include "history/watcher.h"

static const WCHAR kHotKeyRefused[] = TEXT("ホットキーの設定に失敗しました\n\n他のキーの組み合わせを指定してください");

UINT HotKeyModifiers(int entry) {
    UINT modifiers = 0;
    if (g_settings.hotKeyAlt[entry]) modifiers |= MOD_ALT;
    if (g_settings.hotKeyCtrl[entry]) modifiers |= MOD_CONTROL;
    if (g_settings.hotKeyShift[entry]) modifiers |= MOD_SHIFT;
    return modifiers;
}

// The letter as its virtual-key code: A to Z and 0 to 9 are their own codes. Any other
// character would name some other key ("-" Insert, "." Delete) or none at all, so it
// counts as no letter.
static UINT HotKeyLetterCode(WCHAR letter) {
    if (letter >= TEXT('a') && letter <= TEXT('z')) letter = static_cast<WCHAR>(letter - 32);
    if ((letter >= TEXT('A') && letter <= TEXT('Z')) || (letter >= TEXT('0') && letter <= TEXT('9'))) return letter;
    return 0;
}

BOOL RegisterHistoryHotKey(HWND hwnd) {
    UINT modifiers = HotKeyModifiers(0);
    UINT vk = HotKeyLetterCode(g_settings.hotKeyChar[0][0]);
    if (modifiers == 0 || vk == 0) return 0;
    if (!RegisterHotKey(hwnd, HOTKEY_ID_HISTORY, modifiers, vk)) return 0;
    ForceClipboardRead();
    return 1;
}

int UnregisterHistoryHotKey(HWND hwnd) {
    if (!g_hotKeyRegistered) return 0;
    g_hotKeyRegistered = 0;
    UnregisterHotKey(hwnd, HOTKEY_ID_HISTORY);
    return 1;
}

void ReportHotKeyRefused(HWND hwnd) { ShowMessage(hwnd, kHotKeyRefused, MB_OK | MB_ICONEXCLAMATION); }

int StartWatching(HWND hwnd) {
    g_hotKeyRegistered = RegisterHistoryHotKey(hwnd);
    if (g_hotKeyRegistered) SetTimer(hwnd, TIMER_ID_POLL, POLL_INTERVAL_MS, NULL);
    return g_hotKeyRegistered;
}

int StopWatching(HWND hwnd) {
    int held = UnregisterHistoryHotKey(hwnd);
    KillTimer(hwnd, TIMER_ID_POLL);
    return held;
}

int RetakeHistoryHotKey(HWND hwnd) {
    if (StartWatching(hwnd)) return 1;
    // Another program took the combination meanwhile: as after any refusal, the watcher
    // stops until a pass through the settings registers a hot-key again.
    KillTimer(hwnd, TIMER_ID_POLL);
    // The system hands keys just sent to the window in front once the sender gives way:
    // let it, so that the box, which takes the front, never catches the paste's keys.
    Sleep(0);
    ReportHotKeyRefused(hwnd);
    RunHideStep(hwnd);
    return 0;
}
