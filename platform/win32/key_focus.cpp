// Keys synthesised for another application. On the device and on desktop Windows the
// keys that Zarvic sends right after handing the activation back reach the application
// that now has it, and keybd_event is the plain call. Under Wine, activation passes to
// another thread asynchronously: until that thread has taken the focus, a synthesised key
// has no window to go to and is lost (measured: about every other paste after the history
// menu). There the first press of the program's keys waits, briefly and boundedly, until
// there is a foreground window, its thread holds the focus and no one holds the clipboard
// open; every key after it, releases included, goes out at once, so the person's own keys
// never meet a Ctrl the program holds down. Ctrl is read again as that first press goes
// out: a Ctrl the person pressed during the wait stands for the program's, and one the
// person let go of is pressed and released around the program's keys.
#include "win32_platform.h"
#include "win32_wine.h"

#include <string.h>

#define FOCUS_WAIT_STEP_MS 1
#define FOCUS_WAIT_STEPS 500

// The keys this program has pressed and not yet released.
static int g_keysHeld;
// Whether the person held Ctrl when a paste's first key went out, where the program
// wanted to press it itself; then neither its press nor its release goes out.
static int g_ctrlLeftToPerson;
// Whether the program pressed Ctrl for a paste that came to it with Ctrl held.
static int g_ctrlAdded;

// Whether a key sent now has a window to go to: the foreground window's thread has taken
// the focus. While the foreground passes from Zarvic to the application, Wine can report
// no foreground window at all for a while (measured: up to 200 ms); a key sent then goes
// nowhere.
static int ForegroundTakesKeys(void) {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    DWORD thread = GetWindowThreadProcessId(foreground, NULL);
    if (thread == GetCurrentThreadId()) return 1;
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread, &info)) return 1;
    return info.hwndFocus != NULL;
}

// Whether the application can read the clipboard when the keys ask it to paste. Wine's
// clipboard manager holds the clipboard open for a moment after it changes; a paste
// that comes then finds nothing to read.
static int ClipboardIsFree(void) { return GetOpenClipboardWindow() == NULL; }

static int IsCtrlHeld(void) { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

static void SendKey(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) {
    keybd_event(vk, scan, flags, extraInfo);
    if (flags & KEYEVENTF_KEYUP) {
        if (g_keysHeld > 0) --g_keysHeld;
    } else {
        ++g_keysHeld;
    }
}

// The program decided on Ctrl before the wait; after it the person may have pressed or
// let go of Ctrl. Its state is read again as the first key goes out.
static void SendFirstKey(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) {
    int ctrlHeld = IsCtrlHeld();
    g_ctrlLeftToPerson = vk == VK_CONTROL && ctrlHeld;
    g_ctrlAdded = vk != VK_CONTROL && !ctrlHeld && vk != VK_SHIFT && vk != VK_MENU;
    if (g_ctrlAdded) SendKey(VK_CONTROL, (BYTE)MapVirtualKeyW(VK_CONTROL, 0), 0, extraInfo);
    if (!g_ctrlLeftToPerson) SendKey(vk, scan, flags, extraInfo);
}

// Only the first press waits: once a key of the program is down, its next keys and its
// releases go out at once, so that no key of the person's meets a Ctrl of the program's.
void SendKeyToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) {
    if (!IsRunningUnderWine()) {
        keybd_event(vk, scan, flags, extraInfo);
        return;
    }
    if (flags & KEYEVENTF_KEYUP) {
        if (vk == VK_CONTROL && g_ctrlLeftToPerson) {
            g_ctrlLeftToPerson = 0;
            return;
        }
        SendKey(vk, scan, flags, extraInfo);
        if (g_ctrlAdded && g_keysHeld == 1) {
            g_ctrlAdded = 0;
            SendKey(VK_CONTROL, (BYTE)MapVirtualKeyW(VK_CONTROL, 0), KEYEVENTF_KEYUP, extraInfo);
        }
        return;
    }
    if (g_keysHeld > 0 || g_ctrlLeftToPerson) {
        SendKey(vk, scan, flags, extraInfo);
        return;
    }
    for (int i = 0; i < FOCUS_WAIT_STEPS && !(ForegroundTakesKeys() && ClipboardIsFree()); ++i) Sleep(FOCUS_WAIT_STEP_MS);
    SendFirstKey(vk, scan, flags, extraInfo);
}
