// zv_send: posts or sends one message to a top-level window found by class (and title).
//
//   zv_send.exe [--post | --send] [--title TITLE] [--hwnd HWND] [--out FILE] CLASS MSG [WPARAM [LPARAM]]
//
// CLASS may be "-" with --title or --hwnd. MSG is a number or one of the names below.
// --send waits (at most 10 s) for the window's answer and writes {"result": N} to FILE.
// Exit code: 0 done, 1 bad arguments, 2 no such window, 3 the send timed out or failed.
#include "zv_common.h"

namespace {

struct MessageName {
    const wchar_t* name;
    UINT value;
};

const MessageName kMessages[] = {
    {L"WM_NULL", WM_NULL},           {L"WM_CLOSE", WM_CLOSE},       {L"WM_QUIT", WM_QUIT},
    {L"WM_COMMAND", WM_COMMAND},     {L"WM_TIMER", WM_TIMER},       {L"WM_HOTKEY", WM_HOTKEY},
    {L"WM_USER", WM_USER},           {L"WM_KEYDOWN", WM_KEYDOWN},   {L"WM_KEYUP", WM_KEYUP},
    {L"WM_CHAR", WM_CHAR},           {L"WM_SETTEXT", WM_SETTEXT},   {L"WM_LBUTTONUP", WM_LBUTTONUP},
    {L"WM_SYSCOMMAND", WM_SYSCOMMAND}, {L"WM_ENDSESSION", WM_ENDSESSION},
};

bool ParseMessage(const wchar_t* text, UINT* message) {
    for (const MessageName& m : kMessages) {
        if (lstrcmpiW(text, m.name) == 0) {
            *message = m.value;
            return true;
        }
    }
    // WM_USER+N and WM_APP+N
    if (_wcsnicmp(text, L"WM_USER+", 8) == 0 || _wcsnicmp(text, L"WM_APP+", 7) == 0) {
        bool user = _wcsnicmp(text, L"WM_USER+", 8) == 0;
        long long offset = 0;
        if (!zv::ParseNumber(text + (user ? 8 : 7), &offset) || offset < 0 || offset > 0x3FFF) return false;
        *message = (user ? WM_USER : WM_APP) + static_cast<UINT>(offset);
        return true;
    }
    long long value = 0;
    if (!zv::ParseNumber(text, &value) || value < 0 || value > 0xFFFFFFFFLL) return false;
    *message = static_cast<UINT>(value);
    return true;
}

int Usage() {
    static const char kUsage[] =
        "usage: zv_send.exe [--post|--send] [--title TITLE] [--hwnd HWND] [--out FILE] CLASS MSG [WPARAM [LPARAM]]\n";
    return zv::PrintUsage(kUsage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool send = false;
    const wchar_t* title = nullptr;
    const wchar_t* out = nullptr;
    HWND target = nullptr;
    int i = 1;
    for (; i < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; ++i) {
        if (lstrcmpW(argv[i], L"--post") == 0) {
            send = false;
        } else if (lstrcmpW(argv[i], L"--send") == 0) {
            send = true;
        } else if (lstrcmpW(argv[i], L"--title") == 0 && i + 1 < argc) {
            title = argv[++i];
        } else if (lstrcmpW(argv[i], L"--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else if (lstrcmpW(argv[i], L"--hwnd") == 0 && i + 1 < argc) {
            if (!zv::ParseHandle(argv[++i], &target)) return Usage();
        } else {
            return Usage();
        }
    }
    if (argc - i < 2 || argc - i > 4) return Usage();
    const wchar_t* className = lstrcmpW(argv[i], L"-") == 0 ? nullptr : argv[i];
    UINT message = 0;
    long long wParam = 0;
    long long lParam = 0;
    if (!ParseMessage(argv[i + 1], &message)) return Usage();
    if (argc - i >= 3 && !zv::ParseNumber(argv[i + 2], &wParam)) return Usage();
    if (argc - i >= 4 && !zv::ParseNumber(argv[i + 3], &lParam)) return Usage();
    if (!target && !className && !title) return Usage();

    if (!target) target = FindWindowW(className, title);
    if (!target || !IsWindow(target)) return 2;

    if (!send) return PostMessageW(target, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) ? 0 : 3;

    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                             SMTO_ABORTIFHUNG, 10000, &result))
        return 3;
    if (out) {
        std::string json = zv::JsonObject().Number("result", static_cast<long long>(result)).Str() + "\n";
        if (!zv::WriteFileAtomically(out, json)) return 3;
    }
    return 0;
}
