// The notification area of the taskbar: the icons programs put there.
#include "tray.h"

#include "resources.h"

namespace sim {

TrayState& Tray() { return PartOf(S().tray); }

const std::vector<TrayIcon>& Device::TrayIcons() const { return Tray().icons; }

static bool TapIcon(const TrayIcon* icon) {
    if (!icon) return false;
    TrayIcon tapped = *icon;
    // The notification area posts the callback, so the program sees both halves of the tap
    // in its own queue, in order.
    PostMessageW(tapped.hwnd, tapped.callbackMessage, tapped.id, WM_LBUTTONDOWN);
    PostMessageW(tapped.hwnd, tapped.callbackMessage, tapped.id, WM_LBUTTONUP);
    RunUntilIdleImpl();
    return true;
}

bool Device::TapTrayIcon(UINT id) {
    for (const TrayIcon& icon : Tray().icons)
        if (icon.id == id) return TapIcon(&icon);
    return false;
}

bool Device::TapTrayIconWithTip(const std::u16string& tip) {
    for (const TrayIcon& icon : Tray().icons)
        if (icon.tip == tip) return TapIcon(&icon);
    return false;
}


void Device::StopTaskbar() {
    Tray().icons.clear();
    Tray().stopped = true;
}

void Device::StartTaskbar(bool announce) {
    Tray().stopped = false;
    if (!announce) return;
    UINT created = RegisterWindowMessageW(u"TaskbarCreated");
    std::vector<HWND> topLevel;
    for (auto& [key, w] : S().windows)
        if (!(w->style & WS_CHILD) && w->program && w->program->hosted) topLevel.push_back(w->handle);
    for (HWND h : topLevel) PostMessageW(h, created, 0, 0);
    RunUntilIdleImpl();
}

void Device::RestartTaskbar() {
    StopTaskbar();
    StartTaskbar(true);
}

}  // namespace sim

using namespace sim;

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    Record("Shell_NotifyIcon", {static_cast<intptr_t>(message), data ? static_cast<intptr_t>(data->uID) : 0,
                                data ? static_cast<intptr_t>(data->uFlags) : 0},
           data ? std::u16string(data->szTip, std::char_traits<char16_t>::length(data->szTip)) : u"");
    if (Tray().stopped) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!data || !FindWin(data->hWnd) || data->cbSize < sizeof(NOTIFYICONDATAW)) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& icons = Tray().icons;
    auto it = icons.begin();
    for (; it != icons.end(); ++it)
        if (it->hwnd == data->hWnd && it->id == data->uID) break;
    switch (message) {
    case NIM_ADD: {
        if (it != icons.end()) return FALSE;
        TrayIcon icon;
        icon.hwnd = data->hWnd;
        icon.id = data->uID;
        icons.push_back(icon);
        it = icons.end() - 1;
        break;
    }
    case NIM_MODIFY:
        if (it == icons.end()) return FALSE;
        break;
    case NIM_DELETE:
        if (it == icons.end()) return FALSE;
        icons.erase(it);
        return TRUE;
    default:
        return FALSE;
    }
    if (data->uFlags & NIF_MESSAGE) it->callbackMessage = data->uCallbackMessage;
    if (data->uFlags & NIF_TIP) {
        size_t n = 0;
        while (n < 63 && data->szTip[n]) ++n;
        it->tip.assign(data->szTip, n);
    }
    if (data->uFlags & NIF_ICON) {
        // The notification area keeps a copy of its own: the program may destroy its icon.
        const IconObject* icon = FindIcon(data->hIcon);
        it->hasIcon = icon != nullptr;
        it->iconWidth = icon ? icon->width : 0;
    }
    return TRUE;
}

// Windows CE's Shell_NotifyIcon has one callback form: lParam is the stylus message.
BOOL EnableNotifyIconKeys(PNOTIFYICONDATAW data) {
    Record("EnableNotifyIconKeys", {data ? static_cast<intptr_t>(data->uID) : 0});
    return data != nullptr;
}

BOOL IsNotifyIconChoice(LPARAM lParam) { return lParam == WM_LBUTTONUP; }
