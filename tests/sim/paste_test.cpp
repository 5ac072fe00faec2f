// Paste-back, deletion and clearing, from the command the history menu posts to the text
// arriving in the application that was active before the menu.
#include <algorithm>

#include "clipboard_road.h"
#include "core/runtime.h"
#include "platform/sim/menu.h"

using namespace zarvic_test;

namespace {

constexpr intptr_t kCtrlScan = 0x1D, kVScan = 0x2F;  // the keys' scan codes, as the keyboard sends them
const std::vector<intptr_t> kCtrlDown{VK_CONTROL, kCtrlScan, 0}, kVDown{'V', kVScan, 0},
    kVUp{'V', kVScan, KEYEVENTF_KEYUP}, kCtrlUp{VK_CONTROL, kCtrlScan, KEYEVENTF_KEYUP};

// Index of Zarvic's first call of that name at or after `from` in the device's record.
size_t IndexOf(const sim::Device& d, int program, const std::string& name, size_t from = 0) {
    const auto& calls = d.Calls();
    for (size_t i = from; i < calls.size(); i++)
        if (calls[i].program == program && calls[i].name == name) return i;
    return SIZE_MAX;
}

class PasteTest : public ClipboardRoad {
protected:
    void Capture(std::initializer_list<const char16_t*> texts) {
        for (const char16_t* t : texts) {
            CopyInEditor(t);
            Tick();
        }
        device.SetEditorText(editor, u"");
        device.ClearCalls();
    }
    bool Hidden() const { return !device.Window(MainWindow())->visible; }
};

TEST_F(PasteTest, ChosenEntryIsPastedAtTheCaretAndMovesToTheTop) {
    StartCapturing();
    Capture({u"alpha", u"beta"});
    ASSERT_EQ(History(), (std::vector<std::u16string>{u"beta", u"alpha"}));
    device.SetEditorText(editor, u"x: ");

    Choose(IDM_HISTORY_FIRST + 1);
    EXPECT_EQ(device.EditorText(editor), u"x: alpha");
    EXPECT_EQ(device.Foreground(), editor);
    EXPECT_EQ(Keys(), (std::vector<std::vector<intptr_t>>{kCtrlDown, kVDown, kVUp, kCtrlUp}));
    // The hide step comes first; a 10 ms pause separates V's press from its release.
    size_t hide = IndexOf(device, zarvic, "ShowWindow"), firstKey = IndexOf(device, zarvic, "keybd_event");
    EXPECT_LT(IndexOf(device, zarvic, "SetWindowPos"), hide);
    EXPECT_LT(hide, firstKey);
    size_t pause = IndexOf(device, zarvic, "Sleep", IndexOf(device, zarvic, "keybd_event", firstKey + 1));
    EXPECT_EQ(device.Calls()[pause].args[0], 10);
    EXPECT_LT(pause, IndexOf(device, zarvic, "keybd_event", firstKey + 2));
    EXPECT_EQ(device.ClipboardOwner(), MainWindow());
    EXPECT_EQ(History().size(), 2u) << "the history itself changes only at the next tick";

    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"alpha", u"beta"}));
    Choose(IDM_HISTORY_FIRST);
    Tick();
    EXPECT_EQ(device.EditorText(editor), u"x: alphaalpha");
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"alpha", u"beta"}));
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(PasteTest, TheFortiethEntryIsPastedLikeTheFirst) {
    StartCapturing();
    auto text = [](int k) { return u"entry " + std::u16string(1, static_cast<char16_t>(u'0' + k)); };
    for (int k = HISTORY_MAX_ENTRIES - 1; k >= 0; --k) {
        CopyInEditor(text(k));
        Tick();
    }
    device.SetEditorText(editor, u"");
    ASSERT_EQ(History().size(), 40u);
    Choose(IDM_HISTORY_LAST);
    EXPECT_EQ(device.EditorText(editor), text(39));
}

TEST_F(PasteTest, PasteGoesToTheWindowThatWasActiveAndCtrlHeldIsNotPressedAgain) {
    StartCapturing();
    Capture({u"text"});
    HWND second = device.StartEditor(u"Second");
    Choose(IDM_HISTORY_FIRST);
    EXPECT_EQ(device.Foreground(), second);
    EXPECT_EQ(device.EditorText(second), u"text");
    EXPECT_EQ(device.EditorText(editor), u"");

    SetForegroundWindow(editor);
    device.HoldKey(VK_CONTROL);
    device.ClearCalls();
    Choose(IDM_HISTORY_FIRST);
    device.ReleaseKey(VK_CONTROL);
    EXPECT_EQ(Keys(), (std::vector<std::vector<intptr_t>>{kVDown, kVUp}));
    EXPECT_EQ(device.EditorText(editor), u"text");
    EXPECT_EQ(device.EditorText(second), u"text");
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(PasteTest, ShiftDeletesAndEmptiesTheClipboardOnlyOfTheNewestText) {
    StartCapturing();
    Capture({u"a", u"b", u"c"});
    device.HoldKey(VK_SHIFT);
    Choose(IDM_HISTORY_FIRST + 2);
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"c", u"b"}));
    EXPECT_EQ(device.ClipboardText(), u"c") << "a deleted older entry leaves the clipboard alone";
    Choose(IDM_HISTORY_FIRST);
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"b"}));
    EXPECT_TRUE(device.ClipboardFormats().empty());
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"b"})) << "the deleted text does not come back";

    // A picture copied since is the user's, not the deleted entry's copy.
    device.EmptyClipboardElsewhere();
    device.AddClipboardHandle(CF_BITMAP, reinterpret_cast<HANDLE>(0x5000));
    Choose(IDM_HISTORY_FIRST);
    device.ReleaseKey(VK_SHIFT);
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(device.ClipboardFormats(), std::vector<UINT>{CF_BITMAP});
    EXPECT_TRUE(Keys().empty());
    EXPECT_TRUE(Hidden());
    EXPECT_EQ(device.Foreground(), editor);
    CloseZarvic();
    ExpectNoLeaks();
}

// Another program waiting for the clipboard copies the moment Zarvic lets go of it.
TEST_F(PasteTest, ShiftDeletingTheNewestNeverWipesATextCopiedMeanwhile) {
    StartCapturing();
    Capture({u"a", u"b"});
    device.CopyTextOnceFree(u"new");
    device.HoldKey(VK_SHIFT);
    Choose(IDM_HISTORY_FIRST);
    device.ReleaseKey(VK_SHIFT);
    EXPECT_EQ(device.ClipboardText(), u"new");
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"new", u"a"}));
}

TEST_F(PasteTest, ClearAsksFirstAndCancelChangesNothing) {
    StartCapturing();
    Capture({u"a", u"b"});
    Choose(IDM_CLEAR);
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, u"クリップボード履歴をクリアします\n\n    よろしいでしょうか？");
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_EQ(box->style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND));
    EXPECT_EQ(box->owner, MainWindow());
    device.AnswerMessageBox(IDNO);
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(device.ClipboardText(), u"b");
    EXPECT_TRUE(Hidden());
    EXPECT_EQ(device.Foreground(), editor);

    Choose(IDM_CANCEL);
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(device.ClipboardText(), u"b");

    Choose(IDM_CLEAR);
    device.AnswerMessageBox(IDYES);
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(device.ClipboardFormats().empty());
    EXPECT_EQ(device.Foreground(), editor);
    Tick();
    EXPECT_TRUE(History().empty());
    CopyInEditor(u"fresh");
    Tick();
    EXPECT_EQ(History(), std::vector<std::u16string>{u"fresh"});
    CloseZarvic();
    ExpectNoLeaks();
}

// A menu opened over the question could paste, or clear again, inside the first clear.
TEST_F(PasteTest, TheClearQuestionHoldsOffTheHotKeyAndTheTrayMenuAndTakesKeys) {
    StartCapturing();
    Capture({u"a"});
    Choose(IDM_CLEAR);
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    device.Send(MainWindow(), WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    EXPECT_FALSE(device.OpenMenu());
    device.PressKey(VK_ESCAPE);
    ASSERT_NE(device.OpenMessageBox(), nullptr) << "Escape does not answer Yes or No";
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.OpenMessageBox(), nullptr);
    EXPECT_TRUE(History().empty()) << "Enter chose the default button, Yes";

    device.Send(MainWindow(), WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    EXPECT_TRUE(device.OpenMenu()) << "the tray menu opens again";
    device.TapOutsideMenu();
}

// The application opens the clipboard when it handles Ctrl+V; a poll just then spoils it.
TEST_F(PasteTest, TheNextPollWaitsAFullIntervalAfterThePasteKeys) {
    StartCapturing();
    Capture({u"a"});
    device.Advance(295);  // the poll falls due while the command runs
    Choose(IDM_HISTORY_FIRST);
    size_t lastKey = device.Calls().size();
    while (lastKey > 0 && device.Calls()[lastKey - 1].name != "keybd_event") lastKey--;
    ASSERT_GT(lastKey, 0u);
    EXPECT_EQ(IndexOf(device, zarvic, "OpenClipboard", lastKey), SIZE_MAX) << "polled right after the keys";
    device.Advance(299);
    EXPECT_EQ(IndexOf(device, zarvic, "OpenClipboard", lastKey), SIZE_MAX);
    device.Advance(1);
    EXPECT_NE(IndexOf(device, zarvic, "OpenClipboard", lastKey), SIZE_MAX);
    EXPECT_EQ(device.EditorText(editor), u"a");
}

// Whatever the hot-key, the keys of a paste reach the application instead of reopening the
// menu, whether or not the device lets synthesised keys fire hot-keys.
class OwnHotKeyPasteTest : public PasteTest, public ::testing::WithParamInterface<bool> {};

TEST_P(OwnHotKeyPasteTest, APasteWithCtrlVAsTheHotKeyReachesTheApplication) {
    device.SetSynthesisedKeysFireHotKeys(GetParam());
    StartWithHotKey(u'V', false, true, false);
    editor = device.StartEditor();
    Capture({u"a"});
    Choose(IDM_HISTORY_FIRST);
    EXPECT_EQ(device.EditorText(editor), u"a");
    EXPECT_FALSE(device.OpenMenu()) << "the menu reopened";
    EXPECT_TRUE(device.PressHotKey(MOD_CONTROL, 'V')) << "the hot-key is held again";
    EXPECT_TRUE(device.OpenMenu().has_value());
    device.TapOutsideMenu();
}

INSTANTIATE_TEST_SUITE_P(SynthesisedKeysFireHotKeys, OwnHotKeyPasteTest, ::testing::Bool());

// Another program took the combination while the keys went out. The box comes once they
// have gone to the editor: had it caught Ctrl's release, the editor would take the next
// letter typed for Ctrl and that letter.
TEST_F(PasteTest, AHotKeyThatCannotBeTakenBackStopsTheWatcherAndSaysSo) {
    StartWithHotKey(u'V', false, true, false);
    editor = device.StartEditor();
    Capture({u"a", u"b"});
    device.HoldHotKeyElsewhere(MOD_CONTROL, 'V');
    Choose(IDM_HISTORY_FIRST + 1);
    EXPECT_EQ(device.EditorText(editor), u"a");
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, u"ホットキーの設定に失敗しました\n\n他のキーの組み合わせを指定してください");
    device.PressKey(VK_RETURN);
    device.TypeText(u"x");
    EXPECT_EQ(device.EditorText(editor), u"ax");
    device.Advance(1000);
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"b", u"a"})) << "no poll took the pasted text";

    size_t boxes = device.MessageBoxes().size();
    Choose(IDM_HISTORY_FIRST);
    EXPECT_EQ(device.EditorText(editor), u"axb");
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty());
    EXPECT_EQ(PollInterval(), 0u);
    EXPECT_EQ(device.MessageBoxes().size(), boxes) << "the watcher stays stopped, and says so once";
    CloseZarvic();
}

// When the entry cannot be put on the clipboard, Ctrl+V would paste some other text.
TEST_F(PasteTest, NoPasteWhenTheEntryDidNotReachTheClipboard) {
    StartCapturing();
    Capture({u"a", u"b"});
    auto attempt = [&](const char* why) {
        device.ClearCalls();
        Choose(IDM_HISTORY_FIRST + 1);
        EXPECT_TRUE(Keys().empty()) << why;
        EXPECT_EQ(device.EditorText(editor), u"") << why;
        EXPECT_TRUE(Hidden()) << why;
        EXPECT_EQ(device.Foreground(), editor) << why;
        EXPECT_EQ(device.LiveBlocks(zarvic).size(), History().size()) << why << ": the copy was released";
    };
    device.HoldClipboardElsewhere();
    attempt("busy");
    device.ReleaseClipboardElsewhere();
    device.FailNext(sim::FaultPoint::LocalAlloc);
    attempt("no memory");
    device.FailNext(sim::FaultPoint::ClipboardSetData);
    attempt("refused by the clipboard");
    device.ClearCalls();
    Choose(IDM_HISTORY_FIRST + 7);
    EXPECT_TRUE(Keys().empty()) << "empty slot";

    Choose(IDM_HISTORY_FIRST + 1);
    EXPECT_EQ(device.EditorText(editor), u"a");
    CloseZarvic();
    ExpectNoLeaks();
}

}  // namespace
