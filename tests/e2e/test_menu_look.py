"""How the history menu looks with the real Zarvic.exe under Wine: owner-drawn entries in
the desktop's menu font, the highlight, and the preview tooltip that follows it beside
the menu and parks once "Clear Clipboard" is highlighted or the menu has closed."""

import re

from harness import TARGET_CLASS, ZARVIC_CLASS, data_file_image, settings_record, wait_for

MENU_CLASS = "#32768"
TIP_CLASS = "Zarvic_MenuTip"
PARKED = 21000


def _visible_menu(wine):
    return wine.find_window(MENU_CLASS, visible=True)


def _open_menu(wine):
    """Presses the hot-key over the target and returns the menu window. The X focus stays
    on the target; the keys typed next reach the menu all the same."""
    wine.key("ctrl+alt+c")
    return wait_for(lambda: _visible_menu(wine), what="the history menu")


def _close_menu(wine, menu):
    wine.key("Escape")
    wait_for(lambda: not _visible_menu(wine), what="the menu to close")
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front again")


def _menu_height(wine):
    menu = _open_menu(wine)
    height = menu["rect"][3] - menu["rect"][1]
    _close_menu(wine, menu)
    return height


def _capture(wine, text):
    """Puts text on the clipboard and waits until the history menu has grown by it."""
    before = _menu_height(wine)
    wine.set_clipboard(text)
    wait_for(lambda: _menu_height(wine) > before, 30, f"{text!r} to enter the history")


def _tip(wine):
    return wine.find_window(TIP_CLASS)


def _tip_moved(wine, test):
    tip = _tip(wine)
    return tip if tip and test(tip["rect"]) else None


def _dominant(wine, shot, left, top, right, bottom):
    """The colour that covers most of a region of a screenshot, as "#RRGGBB"."""
    out = wine.x("convert", shot, "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                 "-format", "%c", "histogram:info:-")
    counts = [(int(m.group(1)), m.group(2)) for m in re.finditer(r"^\s*(\d+):.*?(#[0-9A-F]{6})", out, re.M)]
    return max(counts)[1]


def test_entries_highlight_and_preview(wine):
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True, tooltip=True)))
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")

    _capture(wine, "older entry & more")
    _capture(wine, "first line\twith a tab\r\nsecond line of the preview")

    menu = _open_menu(wine)
    tip = _tip(wine)
    assert tip is not None, "the tooltip exists while the menu is open"
    assert tip["rect"][:2] == [PARKED, PARKED], tip
    assert tip["visible"] and tip["exstyle"] & 0x88 == 0x88 and not tip["enabled"], tip
    m_left, m_top, m_right, m_bottom = menu["rect"]
    unlit = wine.screenshot("menu_open")

    # The first entry highlighted: the preview comes up beside the menu, level with it,
    # two lines high, with text on it.
    wine.key("Down")
    shown = wait_for(lambda: _tip_moved(wine, lambda r: r[0] != PARKED), what="the preview beside the menu")
    left, top, right, bottom = shown["rect"]
    assert m_right - 4 <= left <= m_right + 4, (shown, menu)
    assert m_top < top < m_bottom, (shown, menu)
    lit = wine.screenshot("first_entry_previewed")
    first_item = (m_left + 3, top + 2, m_right - 3, top + 8)
    menu_colour = _dominant(wine, unlit, *first_item)
    highlight = _dominant(wine, lit, *first_item)
    assert highlight != menu_colour, "the highlighted entry is filled in another colour"
    assert wine.region_colours(left + 2, top + 2, right - left - 4, bottom - top - 4, lit) > 1, "text on the preview"

    # The second entry: the preview follows, one item lower; the first entry is unlit.
    wine.key("Down")
    lower = wait_for(lambda: _tip_moved(wine, lambda r: r[1] > top), what="the preview to follow the highlight")
    assert m_right - 4 <= lower["rect"][0] <= m_right + 4, lower
    second = wine.screenshot("second_entry_previewed")
    assert _dominant(wine, second, *first_item) == menu_colour
    item_height = lower["rect"][1] - top
    assert _dominant(wine, second, m_left + 3, top + item_height + 2, m_right - 3, top + item_height + 8) == highlight

    # Past the separator to "Clear Clipboard": no preview for it.
    wine.key("Down")
    wait_for(lambda: _tip_moved(wine, lambda r: r[0] == PARKED), what="the preview to park")
    wine.screenshot("clear_highlighted")

    # Closing the menu destroys the tooltip and gives the foreground back.
    _close_menu(wine, menu)
    wait_for(lambda: _tip(wine) is None, what="the tooltip window to go")
    assert wine.close_zarvic(zarvic) == 0
