// The watcher: what enters the history from the clipboard, tick by tick.
#include <algorithm>

#include "clipboard_road.h"
#include "core/runtime.h"
#include "platform/sim/dialog.h"
#include "platform/sim/faults.h"

using namespace zarvic_test;

namespace {

std::vector<uint8_t> Dword(DWORD v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// On the device each program has its own heap, so the text another program copied has no
// size Zarvic can ask; the desktop backend tells the size of whatever the clipboard holds.
class EachClipboard : public ClipboardRoad, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { device.UseDesktopClipboard(GetParam()); }
};
INSTANTIATE_TEST_SUITE_P(Watcher, EachClipboard, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Desktop" : "Device"; });

TEST_P(EachClipboard, EachTickTakesNewTextOnceAndRearmsItself) {
    StartCapturing();
    CopyInEditor(u"one");
    EXPECT_TRUE(History().empty());
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"one"}));
    device.ClearCalls();
    Tick();
    Tick();
    EXPECT_EQ(History().size(), 1u) << "the same text is taken once";
    EXPECT_TRUE(device.Calls("LocalAlloc", zarvic).empty()) << "an unchanged text is not copied into the history";
    EXPECT_EQ(device.Calls("OpenClipboard", zarvic).size(), GetParam() ? 0u : 2u) << "the device has no sequence number";
    EXPECT_EQ(PollInterval(), static_cast<UINT>(POLL_INTERVAL_MS)) << "each tick arms the next";

    CopyInEditor(u"two");
    CopyInEditor(u"three");  // only what is there at the tick counts
    Tick();
    CopyInEditor(u"one");
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"one", u"three"}));
    EXPECT_FALSE(device.ClipboardIsOpen());
    CloseZarvic();
    ExpectNoLeaks();
}

// Blocks are rounded up (LocalSize answers more than was asked) and their slack is garbage:
// an entry holds the text and its NUL, whether the block was the editor's or Zarvic's own.
TEST_P(EachClipboard, OnlyTheTextIsStoredNeverTheSlack) {
    StartCapturing();
    CopyInEditor(u"one");
    Tick();
    CopyInEditor(u"two");
    Tick();
    Choose(IDM_HISTORY_FIRST + 1);  // Zarvic's own block of "one" goes to the clipboard
    Tick();
    ASSERT_EQ(History(), (std::vector<std::u16string>{u"one", u"two"}));
    for (int i = 0; i < 2; i++) {
        auto blocks = device.LiveBlocks(zarvic);
        auto entry = std::find_if(blocks.begin(), blocks.end(),
                                  [&](const sim::HeapBlock& b) { return b.address == g_historySlots[i]; });
        ASSERT_NE(entry, blocks.end());
        EXPECT_EQ(entry->size, 4 * sizeof(WCHAR)) << "entry " << i;
    }
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(ClipboardRoad, OnlyUnicodeTextIsTakenAndEmptyTextCounts) {
    StartCapturing();
    ASSERT_TRUE(device.EmptyClipboardElsewhere());
    device.AddClipboardHandle(CF_BITMAP, reinterpret_cast<HANDLE>(0x5000));
    device.AddClipboardBytes(CF_TEXT, {'a', 'b', 0});
    Tick();
    EXPECT_TRUE(History().empty()) << "no CF_UNICODETEXT, and none is made from CF_TEXT";
    device.AddClipboardHandle(CF_UNICODETEXT, nullptr);  // offered, never rendered
    Tick();
    EXPECT_TRUE(History().empty());
    device.PutClipboardText(u"");
    Tick();
    device.PutClipboardText(u"x");
    Tick();
    device.PutClipboardText(u"");
    Tick();
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"", u"x", u""}));
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(ClipboardRoad, BusyClipboardOrNoMemorySkipsATickOnly) {
    StartCapturing();
    device.PutClipboardText(u"held");
    device.HoldClipboardElsewhere(500);
    Tick();
    EXPECT_TRUE(History().empty());
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"held"})) << "taken once the other program let go";

    device.PutClipboardText(u"later");
    device.FailNext(sim::FaultPoint::LocalAlloc);
    Tick();
    EXPECT_EQ(History().size(), 1u);
    EXPECT_FALSE(device.ClipboardIsOpen()) << "closed on the failing path too";
    Tick();
    EXPECT_EQ(History()[0], u"later");
    CloseZarvic();
    ExpectNoLeaks();
}

// Where the clipboard keeps a sequence number, a text its owner failed to hand out once
// is there to be read at the next tick, under the same number.
TEST_F(ClipboardRoad, ATextThatWasNotHandedOutIsReadAgain) {
    device.UseDesktopClipboard(true);
    StartCapturing();
    device.PutClipboardText(u"late");
    device.FailAt(sim::FaultPoint::ClipboardData, device.TimesReached(sim::FaultPoint::ClipboardData) + 1);
    Tick();
    EXPECT_TRUE(History().empty());
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"late"}));
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(ClipboardRoad, TextWithoutItsNulIsReadNoFurtherThanItsBlock) {
    device.UseDesktopClipboard(true);  // where the block's size is known: exactly these bytes
    device.SetHeapGranule(1);
    StartCapturing();
    device.EmptyClipboardElsewhere();
    device.AddClipboardBytes(CF_UNICODETEXT, {'a', 0, 'b', 0, 'c', 0, 'd'});  // 3.5 units, no NUL
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"abc"}));
    device.EmptyClipboardElsewhere();
    device.AddClipboardBytes(CF_UNICODETEXT, {'z'});  // not even room for a NUL
    Tick();
    EXPECT_EQ(History().size(), 1u);
    CloseZarvic();
    ExpectNoLeaks();
}

// On the device another program's block has no size Zarvic can ask; a text in it without
// its NUL still ends with its block, for the watcher and for a Shift deletion.
TEST_F(ClipboardRoad, AnotherProgramsTextWithoutItsNulEndsWithItsBlock) {
    StartCapturing();
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 16; i++) bytes.insert(bytes.end(), {'a', 0});  // one whole granule
    device.EmptyClipboardElsewhere();
    device.AddClipboardBytes(CF_UNICODETEXT, bytes);
    Tick();
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{std::u16string(16, u'a')}));
    device.HoldKey(VK_SHIFT);
    Choose(IDM_HISTORY_FIRST);
    device.ReleaseKey(VK_SHIFT);
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(device.ClipboardFormats().empty()) << "the entry's text, emptied";
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_P(EachClipboard, PasswordManagersMarksKeepTheirCopiesOut) {
    StartCapturing();
    struct Mark {
        const char16_t* name;
        std::vector<uint8_t> data;
        bool kept;
    } marks[] = {
        {u"ExcludeClipboardContentFromMonitorProcessing", {'1'}, false},
        {u"Clipboard Viewer Ignore", {}, false},
        {u"CanIncludeInClipboardHistory", Dword(0), false},
        {u"CanIncludeInClipboardHistory", Dword(1), true},
        {u"CanIncludeInClipboardHistory", {0, 0}, true},  // not a 32-bit value: no mark
        {u"CanUploadToCloudClipboard", Dword(0), true},
    };
    char16_t n = u'0';
    for (const Mark& m : marks) {
        // On the device the system's copy spans the block's slack too, and a short value
        // reads as whatever its block holds after it.
        if (!GetParam() && m.data.size() == 2) continue;
        std::u16string text = u"secret " + std::u16string(1, n++);
        device.PutClipboardText(text);
        device.AddClipboardBytes(device.ClipboardFormatNamed(m.name), m.data);
        Tick();
        EXPECT_EQ(!History().empty() && History()[0] == text, m.kept) << sim::ToUtf8(m.name);
    }
    EXPECT_EQ(History().size(), GetParam() ? 3u : 2u);
    CloseZarvic();
    ExpectNoLeaks();
}

// Desktop Windows: the clipboard stays closed while its sequence number is the one last read
// to the end, unless the history has changed by other means since.
TEST_F(ClipboardRoad, TheDesktopGateOpensTheClipboardOnlyWhenSomethingMayHaveChanged) {
    device.UseDesktopClipboard(true);
    StartCapturing();
    auto opened = [&] {
        device.ClearCalls();
        Tick();
        return !device.Calls("OpenClipboard", zarvic).empty();
    };
    CopyInEditor(u"a");
    EXPECT_TRUE(opened());
    EXPECT_FALSE(opened()) << "unchanged";
    CopyInEditor(u"b");
    device.FailNext(sim::FaultPoint::LocalAlloc);
    EXPECT_TRUE(opened());
    EXPECT_TRUE(opened()) << "the copy that failed is tried again";
    EXPECT_FALSE(opened());

    // A deletion or Clear that could not empty the clipboard: its text comes back, as it
    // does on the device.
    device.HoldClipboardElsewhere();
    device.HoldKey(VK_SHIFT);
    Choose(IDM_HISTORY_FIRST);
    device.ReleaseKey(VK_SHIFT);
    device.ReleaseClipboardElsewhere();
    EXPECT_EQ(History(), std::vector<std::u16string>{u"a"});
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"b", u"a"}));
    device.HoldClipboardElsewhere();
    Choose(IDM_CLEAR);
    device.AnswerMessageBox(IDYES);
    device.ReleaseClipboardElsewhere();
    EXPECT_TRUE(History().empty());
    Tick();
    EXPECT_EQ(History(), std::vector<std::u16string>{u"b"});

    Choose(IDM_SETTING);
    device.TapDialogControl(device.OpenDialog(), IDOK);
    EXPECT_TRUE(opened()) << "after the hot-key was registered anew";
    CloseZarvic();
    ExpectNoLeaks();
}

}  // namespace
