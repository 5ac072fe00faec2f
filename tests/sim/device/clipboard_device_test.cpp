// The device's clipboard keeps Win32's rules: one opener at a time, ownership of the data
// handed over, one item per format, no CF_UNICODETEXT made up from CF_TEXT.
#include <gtest/gtest.h>

#include "platform/sim/clipboard.h"
#include "platform/sim/editor.h"

namespace {

WCHAR* NewText(const std::u16string& s) {
    auto* t = static_cast<WCHAR*>(LocalAlloc(LPTR, (s.size() + 1) * sizeof(WCHAR)));
    std::copy(s.begin(), s.end(), t);
    return t;
}

// The test acts as the editor program, whose code runs on the device's own thread.
class DeviceClipboardTest : public ::testing::Test {
protected:
    sim::Device device;
    HWND editor = device.StartEditor();
};

TEST_F(DeviceClipboardTest, OneOpenerAtATimeAndOnlyItMayUseTheClipboard) {
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(device.HoldClipboardElsewhere(100));
    EXPECT_FALSE(OpenClipboard(editor));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(EmptyClipboard()) << "the other program's opening is not ours";
    device.Advance(100);
    ASSERT_TRUE(OpenClipboard(editor));
    EXPECT_FALSE(device.PutClipboardText(u"elsewhere")) << "a program holds it open";
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());

    // Emptied while opened without a window, the clipboard has no owner to hold data.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    WCHAR* text = NewText(u"orphan");
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, text), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(LocalFree(text), nullptr) << "refused data is still the caller's";
    EXPECT_EQ(device.BadFrees(), 0u);
}

TEST_F(DeviceClipboardTest, DataChangesHandsAndIsFreedWhenReplacedOrEmptied) {
    ASSERT_TRUE(OpenClipboard(editor));
    EmptyClipboard();
    EXPECT_EQ(device.ClipboardOwner(), editor);
    WCHAR* one = NewText(u"one");
    WCHAR* two = NewText(u"two");
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, one), one);
    EXPECT_EQ(device.LiveBlocks(sim::kClipboardOwner).size(), 1u);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, two), two);
    EXPECT_EQ(device.LiveBlocks(sim::kClipboardOwner).size(), 1u) << "the replaced text was freed";
    EXPECT_TRUE(device.LiveBlocks(0).empty());
    EXPECT_EQ(SetClipboardData(CF_TEXT, two), nullptr) << "already the clipboard's";
    WCHAR onStack[] = u"stack";
    EXPECT_EQ(SetClipboardData(CF_TEXT, onStack), nullptr) << "not a heap block";

    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), two);
    LocalFree(two);
    EXPECT_EQ(device.BadFrees(), 1u) << "the program must not free the clipboard's data";
    EXPECT_EQ(device.ClipboardText(), u"two");

    auto* ansi = static_cast<char*>(LocalAlloc(LPTR, 4));
    ansi[0] = 'a';
    EmptyClipboard();
    EXPECT_TRUE(device.LiveBlocks(sim::kClipboardOwner).empty());
    EXPECT_EQ(SetClipboardData(CF_TEXT, ansi), ansi);
    EXPECT_NE(SetClipboardData(CF_BITMAP, reinterpret_cast<HANDLE>(0x5000)), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(device.ClipboardText(), std::nullopt);

    UINT mark = RegisterClipboardFormatW(u"Clipboard Viewer Ignore");
    EXPECT_GE(mark, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(u"clipboard viewer ignore"), mark);
    EXPECT_NE(RegisterClipboardFormatW(u"CanIncludeInClipboardHistory"), mark);
    EXPECT_EQ(RegisterClipboardFormatW(u""), 0u);
}

}  // namespace
