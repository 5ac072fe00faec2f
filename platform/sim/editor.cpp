// The device's text editor: a program of the device's own whose queue the device pumps.
// It keeps the state of Shift and Ctrl from the key messages it receives, as a thread's
// own key state does, so keys meant for another window never reach it.
#include "editor.h"

#include <algorithm>
#include <stdexcept>

#include "caret.h"
#include "input.h"

namespace sim {

namespace {

constexpr char16_t kEditorClass[] = u"Pad";
constexpr int kLineHeight = 16, kCharWidth = 8, kMargin = 4;

struct EditorDoc {
    std::u16string text;
    size_t anchor = 0;   // the selection runs from anchor to caret
    size_t caret = 0;
    bool shift = false;
    bool ctrl = false;
};

struct EditorProgram : BuiltinProgram {
    Program* program = nullptr;
    void Pump() override;
};

}  // namespace

struct EditorState {
    std::map<uintptr_t, EditorDoc> docs;
    std::vector<std::unique_ptr<EditorProgram>> programs;
};

namespace {

EditorState& Editors() { return PartOf(S().editors); }

EditorDoc& Doc(HWND hwnd) {
    auto it = Editors().docs.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == Editors().docs.end()) throw std::logic_error("not an editor window");
    return it->second;
}

size_t SelStart(const EditorDoc& d) { return std::min(d.anchor, d.caret); }
size_t SelEnd(const EditorDoc& d) { return std::max(d.anchor, d.caret); }

void PlaceCaret(HWND hwnd, EditorDoc& d) {
    if (Caret().owner != hwnd) {
        if (S().foreground != hwnd) return;
        CreateCaret(hwnd, nullptr, 2, kLineHeight - 2);
    }
    size_t lineStart = d.text.rfind(u'\n', d.caret ? d.caret - 1 : 0);
    lineStart = (lineStart == std::u16string::npos || d.caret == 0) ? 0 : lineStart + 1;
    int line = static_cast<int>(std::count(d.text.begin(), d.text.begin() + d.caret, u'\n'));
    int column = static_cast<int>(d.caret - lineStart);
    SetCaretPos(kMargin + column * kCharWidth, kMargin + line * kLineHeight);
}

void ReplaceSelection(HWND hwnd, EditorDoc& d, const std::u16string& with) {
    size_t start = SelStart(d);
    d.text.replace(start, SelEnd(d) - start, with);
    d.anchor = d.caret = start + with.size();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CopySelection(HWND hwnd, EditorDoc& d) {
    if (SelStart(d) == SelEnd(d)) return;
    if (!OpenClipboard(hwnd)) {
        MessageBeep(0);
        return;
    }
    std::u16string part = d.text.substr(SelStart(d), SelEnd(d) - SelStart(d));
    EmptyClipboard();
    auto* block = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (part.size() + 1) * sizeof(WCHAR)));
    if (block) {
        std::copy(part.begin(), part.end(), block);
        block[part.size()] = 0;
        if (!SetClipboardData(CF_UNICODETEXT, block)) LocalFree(block);
    }
    CloseClipboard();
}

void PasteClipboard(HWND hwnd, EditorDoc& d) {
    if (!OpenClipboard(hwnd)) {
        MessageBeep(0);
        return;
    }
    const auto* text = static_cast<const WCHAR*>(GetClipboardData(CF_UNICODETEXT));
    size_t bytes = text ? LocalSize(const_cast<WCHAR*>(text)) : 0;
    HLOCAL copy = nullptr;
    // Another program's block has no size this program can ask: it reads its own copy.
    if (text && !bytes && (copy = GetClipboardDataAlloc(CF_UNICODETEXT))) {
        text = static_cast<const WCHAR*>(copy);
        bytes = LocalSize(copy);
    }
    size_t n = 0;
    while (n < bytes / sizeof(WCHAR) && text[n]) ++n;
    if (bytes) ReplaceSelection(hwnd, d, std::u16string(text, n));
    if (copy) LocalFree(copy);
    CloseClipboard();
}

void MoveCaret(EditorDoc& d, size_t to) {
    d.caret = to;
    if (!d.shift) d.anchor = to;
}

void OnKeyDown(HWND hwnd, EditorDoc& d, UINT vk) {
    switch (vk) {
    case VK_SHIFT: d.shift = true; break;
    case VK_CONTROL: d.ctrl = true; break;
    case VK_LEFT: MoveCaret(d, d.caret ? d.caret - 1 : 0); break;
    case VK_RIGHT: MoveCaret(d, std::min(d.text.size(), d.caret + 1)); break;
    case VK_DELETE:
        if (SelStart(d) == SelEnd(d) && d.caret < d.text.size()) d.anchor = d.caret + 1;
        ReplaceSelection(hwnd, d, u"");
        break;
    default: break;
    }
}

void OnChar(HWND hwnd, EditorDoc& d, WCHAR ch) {
    switch (ch) {
    case 1:  // Ctrl+A
        d.anchor = 0;
        d.caret = d.text.size();
        break;
    case 3: CopySelection(hwnd, d); break;
    case 22: PasteClipboard(hwnd, d); break;
    case 24:
        CopySelection(hwnd, d);
        ReplaceSelection(hwnd, d, u"");
        break;
    case 8:
        if (SelStart(d) == SelEnd(d) && d.caret > 0) d.anchor = d.caret - 1;
        ReplaceSelection(hwnd, d, u"");
        break;
    case u'\r': ReplaceSelection(hwnd, d, u"\r\n"); break;
    default:
        if (ch >= 32 || ch == u'\t') ReplaceSelection(hwnd, d, std::u16string(1, ch));
        break;
    }
}

LRESULT CALLBACK EditorWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = Editors().docs.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == Editors().docs.end()) return DefWindowProcW(hwnd, message, wParam, lParam);
    EditorDoc& d = it->second;
    switch (message) {
    case WM_KEYDOWN: OnKeyDown(hwnd, d, static_cast<UINT>(wParam)); break;
    case WM_KEYUP:
        if (wParam == VK_SHIFT) d.shift = false;
        if (wParam == VK_CONTROL) d.ctrl = false;
        break;
    case WM_CHAR: OnChar(hwnd, d, static_cast<WCHAR>(wParam)); break;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    PlaceCaret(hwnd, d);
    return 0;
}

void EditorProgram::Pump() {
    MSG msg;
    while (NextMessage(program, &msg, nullptr, 0, 0, true, false)) {
        DispatchMessageW(&msg);
        if (msg.message != WM_KEYDOWN) continue;
        // As TranslateMessage would, with the key state as of this message.
        auto it = Editors().docs.find(reinterpret_cast<uintptr_t>(msg.hwnd));
        if (it == Editors().docs.end()) continue;
        WCHAR ch = CharForKey(static_cast<UINT>(msg.wParam), it->second.shift, it->second.ctrl);
        if (!ch) continue;
        MSG c = msg;
        c.message = WM_CHAR;
        c.wParam = ch;
        DispatchMessageW(&c);
    }
}

}  // namespace

HWND Device::StartEditor(const std::u16string& title) {
    DeviceState& s = S();
    EditorState& editors = Editors();
    if (!s.classes.count(Lower(kEditorClass))) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = EditorWndProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kEditorClass;
        RegisterClassW(&wc);
        s.classes[Lower(kEditorClass)].program = nullptr;
    }
    auto program = std::make_unique<Program>();
    program->id = s.nextProgramId++;
    program->exePath = u"\\Windows\\pad.exe";
    program->hosted = false;
    program->state = Program::State::Waiting;
    auto pump = std::make_unique<EditorProgram>();
    pump->program = program.get();
    program->builtin = pump.get();
    Program* p = program.get();
    s.programs.push_back(std::move(program));
    editors.programs.push_back(std::move(pump));

    int offset = static_cast<int>(editors.docs.size()) * 30;
    HWND hwnd = CreateWindowExW(0, kEditorClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_BORDER,
                                40 + offset, 30 + offset, 480, 300, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) throw std::runtime_error("the editor's window could not be made");
    FindWin(hwnd)->program = p;
    editors.docs[reinterpret_cast<uintptr_t>(hwnd)] = EditorDoc{};
    ShowWindow(hwnd, SW_SHOW);
    PlaceCaret(hwnd, Doc(hwnd));
    RunUntilIdleImpl();
    return hwnd;
}

std::u16string Device::EditorText(HWND editor) const { return Doc(editor).text; }

void Device::SetEditorText(HWND editor, const std::u16string& text) {
    EditorDoc& d = Doc(editor);
    d.text = text;
    d.anchor = d.caret = text.size();
    PlaceCaret(editor, d);
}

void Device::SelectEditorText(HWND editor, size_t start, size_t end) {
    EditorDoc& d = Doc(editor);
    d.anchor = std::min(start, d.text.size());
    d.caret = std::min(end, d.text.size());
    PlaceCaret(editor, d);
}

std::u16string Device::EditorSelection(HWND editor) const {
    const EditorDoc& d = Doc(editor);
    return d.text.substr(SelStart(d), SelEnd(d) - SelStart(d));
}

size_t Device::EditorCaret(HWND editor) const { return Doc(editor).caret; }

}  // namespace sim
