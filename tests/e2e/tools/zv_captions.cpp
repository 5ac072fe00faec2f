// zv_captions: how much room each caption of a dialog needs, as JSON lines into FILE.
//
//   zv_captions.exe --out FILE HWND
//
// One line per child control of HWND: id, class, style, text (the control's answer to
// WM_GETTEXT), client [width, height], and text_size [width, height]: the caption on one
// line in the desktop's message font (with "&" taken as a mnemonic unless the control is a
// static with SS_NOPREFIX). A first line {"dpi": N, "face": ..., "font_height": ...} gives the
// resolution and the font measured in. The helper is DPI aware, so that it measures in the
// same pixels as a DPI-aware program draws in.
// Exit code: 0 done, 1 bad arguments or unwritable FILE, 2 no such window.
#include "zv_common.h"

#include <stddef.h>

#include <string>
#include <vector>

namespace {

struct Measure {
    HDC dc;
    std::string lines;
};

std::wstring AskText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
    std::vector<wchar_t> text(length + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return std::wstring(text.data(), copied < length + 1 ? copied : length);
}

BOOL CALLBACK DescribeControl(HWND hwnd, LPARAM lParam) {
    Measure* measure = reinterpret_cast<Measure*>(lParam);
    wchar_t className[64] = L"";
    GetClassNameW(hwnd, className, 64);
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    std::wstring text = AskText(hwnd);
    RECT client = {};
    GetClientRect(hwnd, &client);
    UINT format = DT_CALCRECT | DT_SINGLELINE;
    if (lstrcmpiW(className, L"Static") == 0 && (style & SS_NOPREFIX)) format |= DT_NOPREFIX;
    RECT extent = {0, 0, 0, 0};
    if (!text.empty()) DrawTextW(measure->dc, text.c_str(), static_cast<int>(text.size()), &extent, format);
    measure->lines += zv::JsonObject()
                          .Number("id", GetDlgCtrlID(hwnd))
                          .Text("class", className)
                          .Number("style", static_cast<long long>(style) & 0xFFFFFFFFLL)
                          .Text("text", text)
                          .Add("client", "[" + zv::JsonNumber(client.right) + ", " + zv::JsonNumber(client.bottom) + "]")
                          .Add("text_size",
                               "[" + zv::JsonNumber(extent.right) + ", " + zv::JsonNumber(extent.bottom) + "]")
                          .Str() +
                      "\n";
    return TRUE;
}

int Usage() { return zv::PrintUsage("usage: zv_captions.exe --out FILE HWND\n"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 || lstrcmpW(argv[1], L"--out") != 0) return Usage();
    HWND dialog = nullptr;
    if (!zv::ParseHandle(argv[3], &dialog)) return Usage();
    if (!IsWindow(dialog)) return 2;
    SetProcessDPIAware();

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    Measure measure;
    measure.dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(measure.dc, LOGPIXELSY);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HGDIOBJ previous = SelectObject(measure.dc, font);
    measure.lines = zv::JsonObject()
                        .Number("dpi", dpi)
                        .Text("face", metrics.lfMessageFont.lfFaceName)
                        .Number("font_height", metrics.lfMessageFont.lfHeight)
                        .Str() +
                    "\n";
    EnumChildWindows(dialog, DescribeControl, reinterpret_cast<LPARAM>(&measure));
    SelectObject(measure.dc, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, measure.dc);
    return zv::WriteFileAtomically(argv[2], measure.lines) ? 0 : 1;
}
