"""The clipboard's road with the real Zarvic.exe under Wine: text copied in X enters the
history, chosen entries are pasted into the application in the foreground, Shift deletes,
"Clear Clipboard" empties, and password managers' marked copies stay out."""

from clipboard_steps import (IDM_CLEAR, IDM_HISTORY_FIRST, VK_SHIFT, WindowsOffer, choose, clipboard_format_names,
                             copy_in_x, hold_key, start_capturing, wait_pasted)
from harness import MESSAGE_BOX_CLASS, TARGET_CLASS, WM_COMMAND, ZARVIC_CLASS, ZARVIC_TITLE, wait_for

CLEAR_QUESTION = "クリップボード履歴をクリアします\n\n    よろしいでしょうか？"


def _capture(wine, *texts):
    """Copies each text in X and waits until Zarvic's poll has read it."""
    for text in texts:
        copy_in_x(wine, text)


def _answer_clear_box(wine, button):
    box = wine.wait_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE, visible=True)
    controls = wine.children(box)
    assert CLEAR_QUESTION in [c["title"] for c in controls if c["class"] == "Static"], controls
    wine.screenshot(f"clear_box_{button.lower()}")
    wine.click_window(next(c for c in controls if c["class"] == "Button" and c["title"].replace("&", "") == button))
    wine.wait_no_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE)


def test_text_copied_in_x_is_pasted_back_into_the_foreground_application(wine):
    zarvic = start_capturing(wine)
    _capture(wine, "alpha")
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "alpha")
    _capture(wine, "日本語 beta")
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "alpha日本語 beta")
    choose(wine, IDM_HISTORY_FIRST + 1)
    wait_pasted(wine, "alpha日本語 betaalpha")
    wine.screenshot("pasted")

    # The chosen entry is what the clipboard holds now, on both sides; the target kept
    # the foreground and Zarvic's window is hidden again.
    assert wine.clipboard_text() == "alpha"
    wait_for(lambda: wine.x_clipboard() == "alpha", what="Wine to offer the pasted text to X")
    assert wine.foreground()["class"] == TARGET_CLASS
    assert not wine.find_window(ZARVIC_CLASS)["visible"]
    assert wine.close_zarvic(zarvic) == 0


def test_shift_deletes_entries_and_clear_empties_clipboard_and_history(wine):
    zarvic = start_capturing(wine)
    _capture(wine, "one", "two", "three")

    # Shift+entry 1 removes "two" and leaves the clipboard alone.
    hold_key(wine, "shift", VK_SHIFT)
    wine.send(ZARVIC_CLASS, WM_COMMAND, 201)  # sent: it has been handled when this returns
    assert wine.clipboard_text() == "three"
    # Shift+entry 0 removes "three" and empties the clipboard, so it does not come back.
    choose(wine, IDM_HISTORY_FIRST)
    wait_for(lambda: wine.clipboard_text() is None, what="Zarvic to empty the clipboard")
    hold_key(wine, "shift", VK_SHIFT, down=False)
    choose(wine, IDM_HISTORY_FIRST + 1)  # no entry 1 any more: nothing is pasted
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "one")

    # "Clear Clipboard" answered No changes nothing; Yes empties clipboard and history.
    choose(wine, IDM_CLEAR)
    _answer_clear_box(wine, "No")
    assert wine.clipboard_text() == "one"
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "oneone")
    choose(wine, IDM_CLEAR)
    _answer_clear_box(wine, "Yes")
    wait_for(lambda: wine.clipboard_text() is None, what="the clipboard to be empty")
    choose(wine, IDM_HISTORY_FIRST)
    _capture(wine, "four")  # the next copy becomes entry 0 of an empty history
    choose(wine, IDM_HISTORY_FIRST + 1)
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "oneonefour")
    wine.screenshot("after_clear")
    assert wine.foreground()["class"] == TARGET_CLASS
    assert wine.close_zarvic(zarvic) == 0


def test_copies_marked_by_password_managers_stay_out_of_the_history(wine):
    zarvic = start_capturing(wine)
    _capture(wine, "public")
    # Zarvic reads the history mark first; once it has, that poll has decided on the text.
    for marks in (["CanIncludeInClipboardHistory=0"],
                  ["CanIncludeInClipboardHistory=1", "ExcludeClipboardContentFromMonitorProcessing=1"],
                  ["CanIncludeInClipboardHistory=1", "Clipboard Viewer Ignore=1"]):
        offer = WindowsOffer(wine, "secret", *marks)
        offer.wait_rendered("CanIncludeInClipboardHistory")
        choose(wine, IDM_HISTORY_FIRST)
        offer.process.wait_exit()
        assert offer.rendered() == ["CanIncludeInClipboardHistory"], (marks, offer.lines())
    wait_pasted(wine, "public" * 3)

    allowed = WindowsOffer(wine, "allowed", "CanIncludeInClipboardHistory=1")
    allowed.wait_rendered("CF_UNICODETEXT")
    choose(wine, IDM_HISTORY_FIRST)
    wait_pasted(wine, "public" * 3 + "allowed")

    # An X program can offer the mark as a target of that name: Wine turns it into the
    # registered format (xclip offers one target, so there is no text beside it).
    mark = "ExcludeClipboardContentFromMonitorProcessing"
    copy_in_x(wine, "1", target=mark, until=lambda offer: clipboard_format_names(wine) == [mark])
    assert wine.clipboard_text() is None
    assert wine.close_zarvic(zarvic) == 0
