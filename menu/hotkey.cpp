#include "menu/hotkey.h"

#include "core/runtime.h"
#include "core/settings.h"

UINT HotKeyModifiers(int entry) {
    UINT modifiers = 0;
    if (g_settings.hotKeyAlt[entry]) modifiers |= MOD_ALT;
    if (g_settings.hotKeyCtrl[entry]) modifiers |= MOD_CONTROL;
    if (g_settings.hotKeyShift[entry]) modifiers |= MOD_SHIFT;
    return modifiers;
}

BOOL RegisterHistoryHotKey(HWND hwnd) {
    UINT modifiers = HotKeyModifiers(0);
    UINT vk = static_cast<UINT>(static_cast<WORD>(g_settings.hotKeyChar[0][0]));
    if (modifiers == 0 || vk == 0) return 0;
    return RegisterHotKey(hwnd, HOTKEY_ID_HISTORY, modifiers, vk);
}

void UnregisterHistoryHotKey(HWND hwnd) {
    if (!g_hotKeyRegistered) return;
    g_hotKeyRegistered = 0;
    UnregisterHotKey(hwnd, HOTKEY_ID_HISTORY);
}
