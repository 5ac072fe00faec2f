// The device's text editor, used as a person would.
#include <gtest/gtest.h>

#include "platform/sim/caret.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/editor.h"

namespace {

class EditorTest : public ::testing::Test {
protected:
    sim::Device device;
    HWND first = device.StartEditor(u"First");
    HWND second = device.StartEditor(u"Second");

    void Ctrl(UINT key) {
        device.HoldKey(VK_CONTROL);
        device.PressKey(key);
        device.ReleaseKey(VK_CONTROL);
    }
    // Where the caret stands on the screen, as a device with a system-wide caret says.
    POINT CaretOnScreen() const {
        sim::Device::Current().SetSystemWideCaret(true);
        POINT p{-1, -1};
        EXPECT_TRUE(GetCaretPos(&p));
        sim::Device::Current().SetSystemWideCaret(false);
        return p;
    }
    POINT ClientOrigin(HWND hwnd) const {
        POINT p{0, 0};
        ClientToScreen(hwnd, &p);
        return p;
    }
};

TEST_F(EditorTest, KeysGoToTheForegroundEditorWhoseCaretFollowsTheText) {
    ASSERT_EQ(device.Foreground(), second);
    device.TypeText(u"Hi there");
    EXPECT_EQ(device.EditorText(second), u"Hi there");
    EXPECT_EQ(device.EditorText(first), u"");
    POINT origin = ClientOrigin(second);
    EXPECT_EQ(CaretOnScreen().x, origin.x + 4 + 8 * 8);
    device.TypeText(u"\rx");
    EXPECT_EQ(device.EditorText(second), u"Hi there\r\nx");
    EXPECT_EQ(CaretOnScreen().x, origin.x + 4 + 8);
    EXPECT_EQ(CaretOnScreen().y, origin.y + 4 + 16);

    SetForegroundWindow(first);
    device.TypeText(u"y");
    EXPECT_EQ(device.EditorText(first), u"y");
    EXPECT_EQ(CaretOnScreen().x, ClientOrigin(first).x + 4 + 8) << "the caret moved to the active editor";
}

TEST_F(EditorTest, CopyCutAndPasteGoThroughTheClipboard) {
    device.TypeText(u"hello world");
    device.SelectEditorText(second, 0, 5);
    Ctrl('C');
    EXPECT_EQ(device.ClipboardText(), u"hello");
    EXPECT_EQ(device.ClipboardOwner(), second);
    device.SelectEditorText(second, 11, 6);
    Ctrl('X');
    EXPECT_EQ(device.EditorText(second), u"hello ");
    EXPECT_EQ(device.ClipboardText(), u"world");
    Ctrl('V');
    device.SelectEditorText(second, 0, 5);
    Ctrl('V');
    EXPECT_EQ(device.EditorText(second), u"world world");
    EXPECT_EQ(device.EditorCaret(second), 5u);

    device.UseDesktopClipboard(true);  // a block whose exact size the editor can ask
    device.SetHeapGranule(1);
    device.EmptyClipboardElsewhere();
    device.AddClipboardBytes(CF_UNICODETEXT, {'a', 0, 'b', 0});  // no NUL
    device.SelectEditorText(second, 0, 5);
    Ctrl('V');
    EXPECT_EQ(device.EditorText(second), u"ab world");

    device.HoldClipboardElsewhere();
    Ctrl('V');
    EXPECT_EQ(device.EditorText(second), u"ab world");
    EXPECT_EQ(device.Calls("MessageBeep").size(), 1u);
    EXPECT_TRUE(device.LiveBlocks(0).empty());
    EXPECT_EQ(device.BadFrees(), 0u);
}

}  // namespace
