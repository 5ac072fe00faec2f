"""The road through the history menu with the real Zarvic.exe under Wine: texts copied in X
become entries; the hot-key opens the menu at the target application's caret with the
entries, the separator, "Clear Clipboard" and "CANCEL"; an entry picked by its mnemonic,
by the arrow keys and Enter, or by a click is pasted into the target, and Shift held
while choosing removes it instead.

Every key is typed as a person types it: XTEST events into the X focus, which stays on
the target application all along."""

import re

from clipboard_steps import VK_SHIFT, copy_in_x, hold_key
from harness import TARGET_CLASS, ZARVIC_CLASS, data_file_image, settings_record, wait_for

MENU_CLASS = "#32768"
TIP_CLASS = "Zarvic_MenuTip"
PARKED = 21000
# Copied in this order: slot 0 is "gamma", slot 2 "alpha". Wine brings X text in with CR LF.
TEXTS = ["alpha", "beta\nsecond line of beta", "gamma"]
BETA = "beta\r\nsecond line of beta"


def _start(wine, tooltip):
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True, tooltip=tooltip)))
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    _wait_target_in_front(wine)
    return zarvic


def _wait_target_in_front(wine):
    return wait_for(lambda: (lambda f: f if (f or {}).get("class") == TARGET_CLASS else None)(wine.foreground()),
                    what="the target in front")


def _visible_menu(wine):
    return wine.find_window(MENU_CLASS, visible=True)


def _open_menu(wine):
    """The hot-key over the target (Wine's hot-keys come from X); returns the menu."""
    wine.key("ctrl+alt+c")
    return wait_for(lambda: _visible_menu(wine), what="the history menu")


def _press(wine, *keys):
    """Types keys into the X focus, the target's window, while the menu is open."""
    wine.key(*keys)


def _escape(wine):
    _press(wine, "Escape")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close")
    # A dismissed menu gives the foreground back to the application it was opened over.
    _wait_target_in_front(wine)


def _height(menu):
    return menu["rect"][3] - menu["rect"][1]


def _tip(wine):
    return wine.find_window(TIP_CLASS)


def _tip_top(wine):
    tip = _tip(wine)
    return tip["rect"][1] if tip and tip["rect"][0] != PARKED else None


def test_menu_opens_at_the_caret_and_a_mnemonic_pastes(wine):
    zarvic = _start(wine, tooltip=False)
    caret = _wait_target_in_front(wine)["caret"]

    # Empty history: one item. Then one entry adds itself, the separator and "Clear
    # Clipboard"; two more entries add two items of the same height.
    menu = _open_menu(wine)
    assert [menu["rect"][0], menu["rect"][1]] == caret, (menu, caret)
    assert _tip(wine) is None, "no tooltip with the setting off"
    empty = _height(menu)
    # A letter: "C" chooses "CANCEL", the only item; nothing reaches the target.
    _press(wine, "c")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close on its letter")
    _wait_target_in_front(wine)
    assert wine.target_text() == ""
    heights = []
    for text in TEXTS:
        copy_in_x(wine, text)
        menu = _open_menu(wine)
        heights.append(_height(menu))
        if text != TEXTS[-1]:
            _escape(wine)
    item = heights[2] - heights[1]
    assert item > 0 and heights[1] - heights[0] == item, (empty, heights)
    borders = empty - item
    separator = heights[0] - borders - 3 * item
    assert 0 < separator < item and borders >= 0, (empty, heights)
    wine.screenshot("three_entries")

    # "2" picks slot 1 at once (MNC_EXECUTE) and the target receives it at its caret.
    _press(wine, "2")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close on its mnemonic")
    wine.wait_target_text(BETA)
    _wait_target_in_front(wine)
    wine.screenshot("pasted_by_mnemonic")
    assert wine.clipboard_text() == BETA

    # Shift held while choosing "alpha" (the third entry whether or not Zarvic has polled
    # beta back to the top yet) removes it: the menu is an item shorter, nothing is pasted
    # and the clipboard keeps beta.
    _open_menu(wine)
    _press(wine, "Down", "Down", "Down")
    hold_key(wine, "shift", VK_SHIFT)
    wine.x("xdotool", "key", "Return")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close on Shift+Enter")
    _wait_target_in_front(wine)
    hold_key(wine, "shift", VK_SHIFT, down=False)
    assert _height(_open_menu(wine)) == heights[1]
    _escape(wine)
    assert wine.target_text() == BETA and wine.clipboard_text() == BETA
    assert wine.close_zarvic(zarvic) == 0


def test_arrows_enter_and_a_click_paste_with_the_preview_beside(wine):
    zarvic = _start(wine, tooltip=True)
    for text in TEXTS:
        copy_in_x(wine, text)

    _open_menu(wine)
    assert _tip(wine) is not None, "the tooltip exists while the menu is open"
    _press(wine, "Down")
    first = wait_for(lambda: _tip_top(wine), what="the preview of the first entry")
    _press(wine, "Down")
    second = wait_for(lambda: (lambda t: t if t and t > first else None)(_tip_top(wine)),
                      what="the preview to follow the highlight")
    item = second - first
    tip = _tip(wine)
    menu = _visible_menu(wine)
    first_offset = first - menu["rect"][1]  # the first entry's top, from the menu's top
    assert menu["rect"][2] <= tip["rect"][0] <= menu["rect"][2] + 4, (tip, menu)
    wine.screenshot("second_entry_previewed")

    # With the tooltip on, a mnemonic only highlights its entry, and its preview follows.
    _press(wine, "3")
    assert _visible_menu(wine), "the menu stays open"
    third = wait_for(lambda: (lambda t: t if t != second else None)(_tip_top(wine) or PARKED),
                     what="the highlight to move to the third entry")
    assert third == second + item, (first, second, third)
    _press(wine, "Up")
    wait_for(lambda: _tip_top(wine) == second, what="the highlight back on the second entry")

    _press(wine, "Return")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close on Enter")
    wine.wait_target_text(BETA)
    wait_for(lambda: _tip(wine) is None, what="the tooltip window to go")

    # A click on the third entry ("alpha", the oldest) pastes it after beta's lines. The
    # menu opens at the caret, which the paste has moved.
    menu = _open_menu(wine)
    left, top, right, _ = menu["rect"]
    wine.click((left + right) // 2, top + first_offset + 2 * item + item // 2)
    wait_for(lambda: not _visible_menu(wine), what="the menu to close on the click")
    wine.wait_target_text(BETA + "alpha")
    wine.screenshot("pasted_by_click")
    assert wine.close_zarvic(zarvic) == 0


PASTE_TEXTS = ["[alpha]", "[beta]"]


def test_twenty_pastes_in_a_row_lose_nothing(wine):
    """Hot-key, "2", paste, twenty times as fast as the menu comes up. Which text "2"
    names depends on whether Zarvic has polled the last paste back to the top yet, so
    each paste must be one of the two texts: a digit that missed the menu would land in
    the target, and a paste that lost its Ctrl would type a bare "v"."""
    zarvic = _start(wine, tooltip=False)
    for text in PASTE_TEXTS:
        copy_in_x(wine, text)
    token = "|".join(re.escape(t) for t in PASTE_TEXTS)
    for n in range(1, 21):
        _open_menu(wine)
        _press(wine, "2")
        try:
            wait_for(lambda: re.fullmatch(f"(?:{token}){{{n}}}", wine.target_text() or ""), what=f"paste {n}")
        except AssertionError:
            wine.screenshot(f"paste_{n:02}_missing")
            raise AssertionError(f"paste {n}: the target holds {wine.target_text()!r}, menu {_visible_menu(wine)}, "
                                 f"foreground {wine.foreground()}, clipboard {wine.clipboard_text()!r}") from None
        _wait_target_in_front(wine)
        wine.screenshot(f"paste_{n:02}")
    assert wine.close_zarvic(zarvic) == 0
