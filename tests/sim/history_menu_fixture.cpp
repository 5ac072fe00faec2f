#include "history_menu_fixture.h"

#include "platform/sim/font_model.h"

namespace zarvic_test {

namespace {

RECT gPlainRect;
HWND gPlainWindow;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int PlainMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"Plain";
    RegisterClassW(&wc);
    const RECT& r = gPlainRect;
    gPlainWindow = CreateWindowExW(0, u"Plain", u"Plain", WS_POPUP, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(gPlainWindow, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

void HistoryMenuTest::StartWithToolTip(bool on) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false, on));
    StartZarvic();
    editor = device.StartEditor();
}

void HistoryMenuTest::SetSystemLineHeight(LONG height, LONG leading) {
    sim::FontModel m;
    m.height = height;
    m.ascent = height - height / 5;
    m.externalLeading = leading;
    device.SetFontModel(sim::FaceOf(sim::SystemLogFont()), 0, m);
}

std::u16string HistoryMenuTest::EntryText(int k) {
    std::u16string t = u"entry ";
    t += static_cast<char16_t>(u'0' + k / 10);
    t += static_cast<char16_t>(u'0' + k % 10);
    return t;
}

void HistoryMenuTest::CaptureEntries(int n) {
    for (int k = n - 1; k >= 0; --k) {
        CopyInEditor(EntryText(k));
        Tick();
    }
    device.SetEditorText(editor, u"");
}

void HistoryMenuTest::PressMenuHotKey() { device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'); }

sim::OpenMenuInfo HistoryMenuTest::Menu() const {
    auto open = device.OpenMenu();
    if (!open) throw std::logic_error("the history menu is not open");
    return *open;
}

std::vector<sim::Call> HistoryMenuTest::Posted(UINT message) const {
    std::vector<sim::Call> out;
    for (const sim::Call& c : device.Calls("PostMessageW", zarvic))
        if (c.args[1] == static_cast<intptr_t>(message) && c.args[0] == reinterpret_cast<intptr_t>(MainWindow()))
            out.push_back(c);
    return out;
}

HWND HistoryMenuTest::StartPlainWindow(RECT r) {
    gPlainRect = r;
    device.PlaceFile(u"\\Windows\\Plain.exe", {'M', 'Z'});
    device.StartProgram(u"\\Windows\\Plain.exe", &PlainMain);
    return gPlainWindow;
}

std::vector<LONG> HistoryMenuTest::Codes() const {
    std::vector<LONG> out;
    if (!g_mnemonicTable) return out;
    for (int k = 0; k < MNEMONIC_RECORD_CODES; ++k) {
        out.push_back(g_mnemonicTable[0].codes[k]);
        if (g_mnemonicTable[0].codes[k] == 0) break;
    }
    return out;
}

}  // namespace zarvic_test
