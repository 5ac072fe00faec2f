"""Keys typed as a person types them, around the history menu under Wine, with the default
settings (the preview on): keys typed at once after the hot-key, the hot-key pressed
again, Alt and F10, mnemonics that highlight their entry, and typing on right after a
paste."""

import re

from clipboard_steps import copy_in_x
from harness import MESSAGE_BOX_CLASS, ZARVIC_CLASS, data_file_image, settings_record, wait_for
from test_history_menu import BETA, TEXTS, _escape, _open_menu, _start, _tip_top, _visible_menu, \
    _wait_target_in_front

# TEXTS copied in order: entry 1 is "gamma", entry 3 "alpha".
ALPHA, GAMMA = "alpha", "gamma"


def _start_with_entries(wine):
    zarvic = _start(wine, tooltip=True)
    for text in TEXTS:
        copy_in_x(wine, text)
    return zarvic


def _tip_offset(wine, menu):
    """The top of the previewed entry, from the top of the menu (None while parked)."""
    top = _tip_top(wine)
    return None if top is None else top - menu["rect"][1]


def _wait_closed(wine, what):
    wait_for(lambda: not _visible_menu(wine), what=f"the menu to close on {what}")
    _wait_target_in_front(wine)


def test_keys_typed_at_once_after_the_hot_key_choose_in_its_menu(wine):
    """A quick hand: the hot-key, "3" and Enter in one go, none waiting for the menu."""
    zarvic = _start_with_entries(wine)
    wine.x("xdotool", "key", "--delay", "20", "ctrl+alt+c", "3", "Return")
    wine.wait_target_text(ALPHA)
    wine.screenshot("pasted_at_once")
    assert not _visible_menu(wine)
    assert wine.close_zarvic(zarvic) == 0


def test_the_hot_key_again_stays_out_of_its_menu_and_alt_or_f10_close_it(wine):
    """Shift+C as the hot-key: its key is a letter the menu would take as the mnemonic C."""
    wine.install_zarvic(data=data_file_image(settings_record("C", shift=True)))
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    _wait_target_in_front(wine)
    for text in TEXTS:
        copy_in_x(wine, text)

    def open_menu():
        wine.key("shift+c")
        return wait_for(lambda: _visible_menu(wine), what="the history menu")

    open_menu()
    # Its "C" would highlight "Clear Clipboard", from where Down goes on to "CANCEL".
    wine.key("shift+c")
    wine.key("Down")
    wait_for(lambda: _tip_top(wine), what="the preview of the first entry")
    assert _visible_menu(wine), "the hot-key again leaves its menu open"
    wine.key("Return")
    _wait_closed(wine, "Enter")
    wine.wait_target_text(GAMMA)

    for key in ("alt", "F10"):
        open_menu()
        wine.key(key)
        _wait_closed(wine, key)
        wine.screenshot(f"closed_by_{key}")
    assert wine.target_text() == GAMMA
    assert wine.close_zarvic(zarvic) == 0


def test_a_mnemonic_highlights_its_entry_and_enter_pastes_it(wine):
    zarvic = _start_with_entries(wine)
    menu = _open_menu(wine)
    offsets = []
    for digit in "123":
        wine.key(digit)
        offsets.append(wait_for(lambda: (lambda o: o if o is not None and o not in offsets else None)(
            _tip_offset(wine, menu)), what=f"the preview of entry {digit}"))
    item = offsets[1] - offsets[0]
    assert item > 0 and offsets[2] - offsets[1] == item, offsets
    wine.screenshot("third_entry_by_its_digit")
    wine.key("Return")
    _wait_closed(wine, "Enter")
    wine.wait_target_text(ALPHA)

    # "c" is "Clear Clipboard" (Up from there is the third entry), then "CANCEL": Enter
    # on it closes the menu and asks nothing.
    menu = _open_menu(wine)
    wine.key("c", "Up")
    wait_for(lambda: _tip_offset(wine, menu) == offsets[2], what="Up from Clear Clipboard to the third entry")
    wine.key("c", "Return")
    _wait_closed(wine, "CANCEL")
    assert wine.find_window(MESSAGE_BOX_CLASS) is None, "CANCEL asks nothing"
    assert wine.target_text() == ALPHA
    assert wine.close_zarvic(zarvic) == 0


def _pastes_and_rest(text):
    """How many history texts the target's text holds, and what is left around them."""
    pattern = "|".join(re.escape(t) for t in (ALPHA, BETA, GAMMA))
    return len(re.findall(pattern, text or "")), re.sub(pattern, "", text or "")


def test_keys_typed_right_after_a_paste_arrive_as_typed(wine):
    """The paste's Ctrl is never held while the person types on: "xyz" typed straight
    after Enter arrives as letters, before or after the pasted text, never as Ctrl+X,
    Ctrl+Y, Ctrl+Z. Which text entry 3 is depends on whether Zarvic has polled the last
    paste back to the top yet."""
    zarvic = _start_with_entries(wine)
    for n in range(1, 4):
        _open_menu(wine)
        wine.x("xdotool", "key", "--delay", "150", "3", "Return", "x", "y", "z")
        wine.x("xdotool", "keyup", "ctrl", "alt", "shift")
        try:
            wait_for(lambda: _pastes_and_rest(wine.target_text()) == (n, "xyz" * n), what=f"paste {n} and xyz")
        except AssertionError:
            wine.screenshot(f"round_{n}_lost")
            raise AssertionError(f"round {n}: the target holds {wine.target_text()!r}") from None
        _wait_target_in_front(wine)
    wine.screenshot("typed_after_pastes")
    assert wine.close_zarvic(zarvic) == 0
