// TrackPopupMenuEx that brings the keyboard's keys to the menu wherever the input focus is.
#include "win32_platform.h"

#undef TrackPopupMenuEx

#define KEY_DATA_EXTENDED (1u << 24)
#define KEY_DATA_ALT_DOWN (1u << 29)

static HWND g_menuKeysOwner;

static int PassesThrough(DWORD vk) {
    switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
    case VK_LWIN: case VK_RWIN:
    case VK_CAPITAL: case VK_NUMLOCK: case VK_SCROLL:
        return 1;
    default:
        return 0;
    }
}

// The key message's lParam as the system builds it for a first press.
static LPARAM KeyData(const KBDLLHOOKSTRUCT* key) {
    DWORD data = 1 | ((key->scanCode & 0xFF) << 16);
    if (key->flags & LLKHF_EXTENDED) data |= KEY_DATA_EXTENDED;
    if (key->flags & LLKHF_ALTDOWN) data |= KEY_DATA_ALT_DOWN;
    return (LPARAM)data;
}

static LRESULT CALLBACK ForwardKeyToMenu(int code, WPARAM wParam, LPARAM lParam) {
    const KBDLLHOOKSTRUCT* key = (const KBDLLHOOKSTRUCT*)lParam;
    if (code == HC_ACTION && g_menuKeysOwner && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) &&
        !(key->flags & LLKHF_INJECTED) && !PassesThrough(key->vkCode) &&
        PostMessageW(g_menuKeysOwner, (UINT)wParam, key->vkCode, KeyData(key)))
        return 1;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

BOOL TrackPopupMenuWithKeys(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    // A second menu while one is tracked fails anyway; the first keeps the keys.
    HHOOK hook = NULL;
    if (!g_menuKeysOwner && owner) {
        g_menuKeysOwner = owner;
        hook = SetWindowsHookExW(WH_KEYBOARD_LL, ForwardKeyToMenu, GetModuleHandleW(NULL), 0);
        if (!hook) g_menuKeysOwner = NULL;
    }
    BOOL result = TrackPopupMenuEx(menu, flags, x, y, owner, params);
    if (hook) {
        UnhookWindowsHookEx(hook);
        g_menuKeysOwner = NULL;
    }
    return result;
}
