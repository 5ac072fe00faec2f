// TrackPopupMenuWithKeys: the plain TrackPopupMenuEx on Windows; under Wine, with the
// keyboard's keys brought to the menu from the moment its hot-key fires.
#include "win32_platform.h"
#include "win32_wine.h"

#include <string.h>

#define KEY_DATA_EXTENDED (1u << 24)
#define KEY_DATA_ALT_DOWN (1u << 29)
// The highest id a program may give a hot-key; the probe's registration lives for one call.
#define HOT_KEY_PROBE_ID 0xBFFF
#define EARLY_KEYS_MAX 32
#define HILITE_UNKNOWN (-2)

struct TakenKey {
    UINT message;
    DWORD vk;
    LPARAM data;
};

static HHOOK g_keysHook;
static HWND g_menuOwner;
static HMENU g_menu;
// The window the person was typing in when a hot-key fired, to be given the keyboard back.
static HWND g_typingWindow;
// Whether a key that closes the menu has been posted: the keys after it are the person's
// next ones, for the window they type in, not for a menu that is going away.
static int g_menuClosing;
static int g_menuIsOwnerDrawn;
// The item the keys posted so far leave highlighted, while the menu loop has not read them.
static int g_postedHilite = HILITE_UNKNOWN;
// Keys typed after the hot-key fired, before its menu opened.
static TakenKey g_earlyKeys[EARLY_KEYS_MAX];
static int g_earlyKeyCount;

static int IsKeyDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

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
static LPARAM KeyDataOf(DWORD scan, int extended, int altDown) {
    DWORD data = 1 | ((scan & 0xFF) << 16);
    if (extended) data |= KEY_DATA_EXTENDED;
    if (altDown) data |= KEY_DATA_ALT_DOWN;
    return (LPARAM)data;
}

static int IsMenuItem(UINT state, UINT flag) { return state != (UINT)-1 && (state & flag) != 0; }

// Menus whose items have no text of their own answer mnemonics through WM_MENUCHAR only.
static int HasOnlyOwnerDrawnItems(HMENU menu) {
    int count = GetMenuItemCount(menu);
    if (count <= 0) return 0;
    for (int i = 0; i < count; ++i)
        if (!IsMenuItem(GetMenuState(menu, (UINT)i, MF_BYPOSITION), MF_OWNERDRAW | MF_SEPARATOR)) return 0;
    return 1;
}

static int HilitedItem(void) {
    if (g_postedHilite != HILITE_UNKNOWN && (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE))
        return g_postedHilite;
    g_postedHilite = HILITE_UNKNOWN;
    int count = GetMenuItemCount(g_menu);
    for (int i = 0; i < count; ++i)
        if (IsMenuItem(GetMenuState(g_menu, (UINT)i, MF_BYPOSITION), MF_HILITE)) return i;
    return -1;
}

// The item a press of Down or Up highlights after `from` (-1: none), skipping separators
// and going round, as the menu loop moves; -1 when there is none.
static int NextItem(int from, int step) {
    int count = GetMenuItemCount(g_menu);
    int item = from;
    for (int i = 0; i < count; ++i) {
        item = item < 0 ? (step > 0 ? 0 : count - 1) : (item + step + count) % count;
        if (!IsMenuItem(GetMenuState(g_menu, (UINT)item, MF_BYPOSITION), MF_SEPARATOR)) return item;
    }
    return -1;
}

static int ClosesMenu(DWORD vk) {
    switch (vk) {
    case VK_ESCAPE: case VK_MENU: case VK_F10:
        return 1;
    case VK_RETURN: case VK_SPACE:
        return HilitedItem() >= 0;
    default:
        return 0;
    }
}

static void PostMenuKey(UINT message, DWORD vk, LPARAM data) {
    if (ClosesMenu(vk)) g_menuClosing = 1;
    if (vk == VK_DOWN || vk == VK_UP) {
        int from = HilitedItem();
        g_postedHilite = NextItem(from, vk == VK_DOWN ? 1 : -1);
    }
    PostMessageW(g_menuOwner, message, vk, data);
}

static void PostNavigationKey(DWORD vk) {
    PostMenuKey(WM_KEYDOWN, vk, KeyDataOf(MapVirtualKeyW(vk, 0), vk == VK_DOWN || vk == VK_UP, 0));
}

// The mnemonic a key types: its digit or its letter, as the menu compares them.
static WCHAR MnemonicOfKey(DWORD vk) {
    if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU)) return 0;
    if (vk >= 'A' && vk <= 'Z') return (WCHAR)vk;
    if (vk >= '0' && vk <= '9' && !IsKeyDown(VK_SHIFT)) return (WCHAR)vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return (WCHAR)('0' + (vk - VK_NUMPAD0));
    return 0;
}

// Wine's menu loop takes only MNC_EXECUTE and MNC_CLOSE from WM_MENUCHAR and beeps at
// MNC_SELECT. The owner is asked here instead, and the answer carried out with the keys
// the loop does know: Down to the item, then Enter when it is to be chosen. 0 when the
// owner gave neither answer: the key then goes to the menu as typed.
static int AnswerMnemonic(WCHAR mnemonic) {
    LRESULT answer = SendMessageW(g_menuOwner, WM_MENUCHAR, MAKEWPARAM(mnemonic, MF_POPUP), (LPARAM)g_menu);
    UINT how = HIWORD(answer);
    int item = (short)LOWORD(answer);
    if ((how != MNC_SELECT && how != MNC_EXECUTE) || item < 0 || item >= GetMenuItemCount(g_menu)) return 0;
    int hilite = HilitedItem();
    for (int i = 0; hilite != item && i < GetMenuItemCount(g_menu); ++i) {
        PostNavigationKey(VK_DOWN);
        hilite = g_postedHilite;
    }
    if (how == MNC_EXECUTE) PostNavigationKey(VK_RETURN);
    return 1;
}

static void DeliverKey(const TakenKey* key) {
    // The hook tells the left Alt from the right one; Wine's menu loop closes on VK_MENU.
    DWORD vk = key->vk == VK_LMENU || key->vk == VK_RMENU ? VK_MENU : key->vk;
    if (g_menuIsOwnerDrawn && key->message == WM_KEYDOWN) {
        WCHAR mnemonic = MnemonicOfKey(vk);
        if (mnemonic && AnswerMnemonic(mnemonic)) return;
    }
    PostMenuKey(key->message, vk, key->data);
}

// Whether the key pressed now, with the modifiers held, is a registered hot-key. The
// system turns such a press into WM_HOTKEY and no window sees the key itself; Zarvic's
// own is ignored while its menu is open. Wine refuses a combination anyone holds.
static int FiresHotKey(DWORD vk) {
    UINT modifiers = 0;
    if (IsKeyDown(VK_MENU)) modifiers |= MOD_ALT;
    if (IsKeyDown(VK_CONTROL)) modifiers |= MOD_CONTROL;
    if (IsKeyDown(VK_SHIFT)) modifiers |= MOD_SHIFT;
    if (IsKeyDown(VK_LWIN) || IsKeyDown(VK_RWIN)) modifiers |= MOD_WIN;
    if (!modifiers) return 0;
    if (RegisterHotKey(NULL, HOT_KEY_PROBE_ID, modifiers, vk)) {
        UnregisterHotKey(NULL, HOT_KEY_PROBE_ID);
        return 0;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

static int HotKeyIsPending(void) { return (HIWORD(GetQueueStatus(QS_HOTKEY)) & QS_HOTKEY) != 0; }

// Keys taken after a hot-key that opened no menu (a dialog was open) go where the keyboard is.
static void HandOverEarlyKeys(void) {
    if (!g_earlyKeyCount) return;
    HWND target = GetForegroundWindow();
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (target && GetGUIThreadInfo(GetWindowThreadProcessId(target, NULL), &info) && info.hwndFocus)
        target = info.hwndFocus;
    for (int i = 0; target && i < g_earlyKeyCount; ++i)
        PostMessageW(target, g_earlyKeys[i].message, g_earlyKeys[i].vk, g_earlyKeys[i].data);
    g_earlyKeyCount = 0;
}

static int TakeKey(UINT message, const KBDLLHOOKSTRUCT* key) {
    if (g_menuClosing || (!g_menuOwner && !HotKeyIsPending())) {
        HandOverEarlyKeys();
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && !g_menuOwner && !PassesThrough(key->vkCode) &&
            FiresHotKey(key->vkCode))
            g_typingWindow = GetForegroundWindow();
        return 0;
    }
    if ((message != WM_KEYDOWN && message != WM_SYSKEYDOWN) || PassesThrough(key->vkCode) || FiresHotKey(key->vkCode))
        return 0;
    TakenKey taken = {message, key->vkCode,
                      KeyDataOf(key->scanCode, key->flags & LLKHF_EXTENDED, key->flags & LLKHF_ALTDOWN)};
    if (g_menuOwner)
        DeliverKey(&taken);
    else if (g_earlyKeyCount < EARLY_KEYS_MAX)
        g_earlyKeys[g_earlyKeyCount++] = taken;
    return 1;
}

static LRESULT CALLBACK TakeKeysForMenu(int code, WPARAM wParam, LPARAM lParam) {
    const KBDLLHOOKSTRUCT* key = (const KBDLLHOOKSTRUCT*)lParam;
    if (code == HC_ACTION && !(key->flags & LLKHF_INJECTED) && TakeKey((UINT)wParam, key)) return 1;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// Wine activates the next window in its Z order when the owner hides, and that order
// need not have the window the person typed in next: with several open, another one took
// the paste. The menu's end gives the activation back to that window directly.
static void GiveKeyboardBack(HWND owner) {
    HWND window = g_typingWindow;
    g_typingWindow = NULL;
    if (window && window != owner && IsWindow(window) && IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, NULL) != GetCurrentThreadId())
        SetForegroundWindow(window);
}

void StartMenuKeys(void) {
    if (!g_keysHook && IsRunningUnderWine())
        g_keysHook = SetWindowsHookExW(WH_KEYBOARD_LL, TakeKeysForMenu, GetModuleHandleW(NULL), 0);
}

BOOL TrackPopupMenuWithKeys(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    // A second menu while one is tracked fails anyway; the first keeps the keys.
    if (!g_keysHook || g_menuOwner || !owner) return TrackPopupMenuEx(menu, flags, x, y, owner, params);
    g_menuOwner = owner;
    g_menu = menu;
    g_menuIsOwnerDrawn = HasOnlyOwnerDrawnItems(menu);
    g_postedHilite = HILITE_UNKNOWN;
    g_menuClosing = 0;
    for (int i = 0; i < g_earlyKeyCount; ++i) DeliverKey(&g_earlyKeys[i]);
    g_earlyKeyCount = 0;
    BOOL result = TrackPopupMenuEx(menu, flags, x, y, owner, params);
    g_menuOwner = NULL;
    g_menu = NULL;
    g_menuClosing = 0;
    GiveKeyboardBack(owner);
    return result;
}
