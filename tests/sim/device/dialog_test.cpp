// The device's modal dialogs, driven by a small program that shows a template of its own.
#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/dialog.h"
#include "platform/sim/sim_api.h"

extern const unsigned char kZarvicResources[];
extern const size_t kZarvicResourcesSize;

namespace {

// A DLGTEMPLATE image built word by word, as a resource compiler lays it out.
class TemplateImage {
public:
    TemplateImage(DWORD style, short cx, short cy, const std::u16string& caption, int pointSize = 8) {
        Dword(style | (pointSize ? DS_SETFONT : 0));
        Dword(0);
        countAt_ = words_.size();
        Word(0);
        Word(20);
        Word(10);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the dialog class
        String(caption);
        if (pointSize) {
            Word(static_cast<WORD>(pointSize));
            String(u"System");
        }
    }
    // A control with a class atom (0x80 Button, 0x81 Edit, 0x82 Static) and a text.
    TemplateImage& Add(WORD atom, DWORD style, int id, const std::u16string& text, short x, short y, short cx,
                       short cy) {
        Begin(style, id, x, y, cx, cy);
        Word(0xFFFF);
        Word(atom);
        String(text);
        Word(0);
        return *this;
    }
    // A control whose class is named and whose text is an ordinal (a static icon).
    TemplateImage& AddNamed(const std::u16string& cls, DWORD style, int id, WORD ordinal, short x, short y) {
        Begin(style, id, x, y, 20, 20);
        String(cls);
        Word(0xFFFF);
        Word(ordinal);
        Word(0);
        return *this;
    }
    const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Begin(DWORD style, int id, short x, short y, short cx, short cy) {
        if (words_.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(static_cast<WORD>(id));
        words_[countAt_]++;
    }
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    void String(const std::u16string& s) {
        for (char16_t c : s) Word(c);
        Word(0);
    }
    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

struct HostState {
    const DLGTEMPLATE* dialogTemplate = nullptr;
    bool withOwner = false;
    HWND owner = nullptr;
    INT_PTR result = 0;
    bool ownerEnabledAfter = false;
    BOOL messageAfter = -2;
    std::vector<MSG> seen;  // what the dialog procedure was given, in order
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
};
HostState host;

INT_PTR CALLBACK HostDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG || message == WM_COMMAND) host.seen.push_back(MSG{dialog, message, wParam, lParam, 0, {}});
    if (host.handler) {
        INT_PTR r = host.handler(dialog, message, wParam, lParam);
        if (r >= 0) return r;
    }
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam) + 40);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI DialogHost(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (host.withOwner) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = u"HostOwner";
        RegisterClassW(&wc);
        host.owner = CreateWindowExW(0, u"HostOwner", u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                     nullptr, instance, nullptr);
    }
    host.result = DialogBoxIndirectParamW(instance, host.dialogTemplate, host.owner, HostDialogProc, 77);
    if (host.owner) host.ownerEnabledAfter = IsWindowEnabled(host.owner) != FALSE;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) host.messageAfter = GetMessageW(&msg, nullptr, 0, 0);
    return 0;
}

class DialogTest : public ::testing::Test {
protected:
    sim::Device device;
    int program = 0;
    void SetUp() override { host = HostState{}; }
    void Show(const TemplateImage& image, bool withOwner = false) {
        host.dialogTemplate = image.Data();
        host.withOwner = withOwner;
        device.PlaceFile(u"\\Windows\\host.exe", {'M', 'Z'});
        program = device.StartProgram(u"\\Windows\\host.exe", &DialogHost,
                                      sim::ResourceImage{kZarvicResources, kZarvicResourcesSize});
    }
    HWND Dialog() const { return device.OpenDialog(); }
    sim::ControlInfo Control(int id) const { return device.FindDialogControl(Dialog(), id).value_or(sim::ControlInfo{}); }
    std::vector<WORD> Commands() const {
        std::vector<WORD> ids;
        for (const MSG& m : host.seen)
            if (m.message == WM_COMMAND) ids.push_back(LOWORD(m.wParam));
        return ids;
    }
};

TemplateImage FormTemplate() {
    TemplateImage t(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 160, 80, u"Form");
    t.Add(0x0082, SS_LEFT | WS_GROUP, -1, u"Name", 4, 4, 40, 8)
        .Add(0x0081, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 10, u"abc", 48, 4, 60, 12)
        .Add(0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, 11, u"Check", 4, 20, 60, 10)
        .Add(0x0080, BS_PUSHBUTTON | WS_TABSTOP, 12, u"Apply", 4, 40, 40, 14)
        .Add(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, u"OK", 100, 60, 40, 14)
        .AddNamed(u"STATIC", SS_ICON, 13, 130, 120, 4);
    return t;
}

}  // namespace

TEST_F(DialogTest, TemplateBecomesAWindowWhoseControlsTakeKeysAndTaps) {
    TemplateImage form = FormTemplate();
    Show(form);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    auto info = device.Window(dialog);
    EXPECT_EQ(info->className, u"Dialog");
    EXPECT_EQ(info->title, u"Form");
    EXPECT_EQ(device.Foreground(), dialog);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 240);   // 160 units * 6 / 4
    EXPECT_EQ(client.bottom, 110);  // 80 units * 11 / 8

    auto controls = device.DialogControls(dialog);
    ASSERT_EQ(controls.size(), 6u);
    EXPECT_EQ(controls[0].className, u"Static");
    EXPECT_EQ(controls[0].id, -1);
    EXPECT_EQ(controls[1].className, u"Edit");
    EXPECT_EQ(controls[1].text, u"abc");
    EXPECT_EQ(controls[2].className, u"Button");
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(controls[2].rect.left - origin.x, 6);   // 4 units
    EXPECT_EQ(controls[2].rect.top - origin.y, 28);   // 20 units * 11 / 8, rounded
    EXPECT_EQ(controls[2].rect.bottom - controls[2].rect.top, 14);
    EXPECT_EQ(controls[5].className, u"Static") << "a named class is found like an atom";
    EXPECT_EQ(controls[5].iconId, 130);

    ASSERT_FALSE(host.seen.empty());
    EXPECT_EQ(host.seen[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(host.seen[0].lParam, 77);
    EXPECT_EQ(reinterpret_cast<HWND>(host.seen[0].wParam), controls[1].hwnd) << "the first tab stop";
    EXPECT_TRUE(controls[1].focused);

    // The person at the dialog.
    device.TypeText(u"xy");
    EXPECT_EQ(Control(10).text, u"xy") << "focus from the dialog selects the whole text";
    device.PressKey(VK_TAB);
    EXPECT_TRUE(Control(11).focused);
    device.PressKey(VK_SPACE);
    EXPECT_EQ(Control(11).check, BST_CHECKED);
    EXPECT_EQ(host.seen.back().wParam, MAKEWPARAM(11, BN_CLICKED));
    device.TapDialogControl(dialog, -1);
    EXPECT_TRUE(Control(11).focused) << "a static takes no focus";
    SendDlgItemMessageW(dialog, 11, BM_SETCHECK, 2, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 11), static_cast<UINT>(BST_CHECKED)) << "a two-state box has no third state";

    WCHAR text[8] = {u'?', 0};
    EXPECT_EQ(GetDlgItemTextW(dialog, 10, text, 0), 0u);
    EXPECT_EQ(text[0], u'?') << "a zero count writes nothing";
    EXPECT_EQ(GetDlgItemTextW(dialog, 10, text, 2), 1u);
    EXPECT_EQ(std::u16string(text), u"x") << "cut to count - 1 and terminated";
    EXPECT_EQ(GetDlgItemTextW(dialog, 99, text, 8), 0u);
    EXPECT_EQ(text[0], 0) << "no such control: empty";

    EnableWindow(GetDlgItem(dialog, 11), FALSE);
    EnableWindow(GetDlgItem(dialog, 10), FALSE);
    size_t seen = host.seen.size();
    device.TapDialogControl(dialog, 11);
    device.TapDialogControl(dialog, 10);
    device.TypeText(u"q");
    EXPECT_EQ(Control(10).text, u"xy") << "a disabled control takes no input";
    EXPECT_EQ(host.seen.size(), seen);

    device.TapDialogControl(dialog, 12);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(Commands().back(), 12) << "Enter presses the focused push button";
    device.TapDialogClose(dialog);
    EXPECT_EQ(host.result, IDCANCEL + 40) << "the close box cancels";
    EXPECT_EQ(device.Dialogs().back().result, IDCANCEL + 40);
    EXPECT_FALSE(device.IsRunning(program));
}

TEST_F(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndQuitEndsIt) {
    TemplateImage form = FormTemplate();
    host.handler = [](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == 12) {
            PostQuitMessage(3);
            return TRUE;
        }
        return -1;
    };
    Show(form, true);
    ASSERT_NE(host.owner, nullptr);
    EXPECT_FALSE(device.Window(host.owner)->enabled);
    EXPECT_EQ(device.Window(Dialog())->owner, host.owner);
    device.TapDialogControl(Dialog(), 12);
    EXPECT_EQ(host.result, -1);
    EXPECT_TRUE(host.ownerEnabledAfter);
    EXPECT_EQ(host.messageAfter, 0) << "the quit message is posted again for the program's own loop";
}

TEST_F(DialogTest, EndingDuringInitialisationShowsNothing) {
    TemplateImage plain(WS_CAPTION, 100, 40, u"Plain", 0);
    plain.Add(0x0081, WS_BORDER | WS_TABSTOP, 10, u"", 4, 4, 60, 12);
    host.handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_INITDIALOG) return -1;
        RECT client;
        GetClientRect(dialog, &client);
        EndDialog(dialog, client.bottom);  // without a font, the 12-pixel system cell: 40 * 12 / 8
        return TRUE;
    };
    Show(plain);
    EXPECT_EQ(host.result, 60);
    HWND ended = host.seen.at(0).hwnd;
    for (const sim::Call& c : device.Calls("ShowWindow", program))
        EXPECT_NE(reinterpret_cast<HWND>(c.args[0]), ended) << "the dialog itself is never shown";
    EXPECT_TRUE(device.Windows(program).empty());

    std::vector<WORD> extended = {1, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    host = HostState{};
    host.dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(extended.data());
    program = device.StartProgram(u"\\Windows\\host.exe", &DialogHost);
    EXPECT_EQ(host.result, -1) << "the extended form is refused";
    EXPECT_EQ(device.Dialogs().size(), 1u);
}
