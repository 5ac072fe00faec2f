// zv_offer: puts text on the Windows clipboard with delayed rendering, so that a test can
// tell which formats another program actually read.
//
//   zv_offer.exe LOGFILE TEXT [NAME=DWORD | NAME ...]
//
// Offers CF_UNICODETEXT (TEXT) and each registered format NAME (holding the DWORD, or a
// DWORD 1 when none is given) without rendering any of them. Whenever a reader asks for a
// format, it is rendered and a line "render NAME" is added to LOGFILE (UTF-8, rewritten
// whole each time). The first line is "offered" once everything is on the clipboard; the
// last is "lost" when another program empties the clipboard. The program then ends (or
// after 120 s). Exit code: 0 done, 1 bad arguments, 3 the clipboard could not be opened.
#include "zv_common.h"

#include <vector>

namespace {

struct Offer {
    UINT format;
    std::wstring name;
    DWORD value;
};

std::wstring g_logFile;
std::string g_log;
std::wstring g_text;
std::vector<Offer> g_offers;

void Log(const std::wstring& line) {
    g_log += zv::ToUtf8(line) + "\n";
    zv::WriteFileAtomically(g_logFile, g_log);
}

HGLOBAL Copy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    CopyMemory(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    return memory;
}

void Render(UINT format) {
    HGLOBAL data = nullptr;
    std::wstring name = L"CF_UNICODETEXT";
    if (format == CF_UNICODETEXT) {
        data = Copy(g_text.c_str(), (g_text.size() + 1) * sizeof(wchar_t));
    } else {
        for (const Offer& offer : g_offers)
            if (offer.format == format) {
                data = Copy(&offer.value, sizeof offer.value);
                name = offer.name;
            }
    }
    if (data && !SetClipboardData(format, data)) GlobalFree(data);
    Log(L"render " + name);
}

LRESULT CALLBACK OfferProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RENDERFORMAT:
        Render(static_cast<UINT>(wParam));
        return 0;
    case WM_RENDERALLFORMATS:
        return 0;  // what nobody read goes away with the program
    case WM_DESTROYCLIPBOARD:
        Log(L"lost");
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool OpenWithRetry(HWND owner) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    g_logFile = argv[1];
    g_text = argv[2];
    for (int i = 3; i < argc; ++i) {
        std::wstring pair = argv[i];
        size_t equals = pair.rfind(L'=');
        long long value = 1;
        if (equals != std::wstring::npos && !zv::ParseNumber(pair.substr(equals + 1).c_str(), &value)) return 1;
        std::wstring name = pair.substr(0, equals);
        UINT format = RegisterClipboardFormatW(name.c_str());
        if (!format) return 1;
        g_offers.push_back({format, name, static_cast<DWORD>(value)});
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = OfferProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZvOffer";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Zarvic Offer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (!hwnd || !OpenWithRetry(hwnd)) return 3;
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    for (const Offer& offer : g_offers) SetClipboardData(offer.format, nullptr);
    CloseClipboard();
    Log(L"offered");
    SetTimer(hwnd, 1, 120000, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(hwnd);
    return 0;
}
