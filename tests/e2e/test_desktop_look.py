"""Zarvic's dialogs and history menu as a desktop shows them, with the real Zarvic.exe under
Wine: every dialog caption whole in the desktop's message font, at 96 and at 144 DPI, and
the history menu scaled to the screen's DPI."""

import json

from harness import TARGET_CLASS, ZARVIC_CLASS, data_file_image, settings_record, wait_for, windows_path
from tray_steps import ABOUT_TITLE, IDM_ABOUT, IDM_SETTING, SETTING_TITLE, run_tray_command, wait_dialog

MENU_CLASS = "#32768"
WM_CLOSE = 0x0010
CTRL_ALT_C = data_file_image(settings_record("C", alt=True, ctrl=True, tooltip=False))

BUTTON_TYPES_WITH_BOX = {2, 3, 4, 5, 6, 9}      # check boxes and radio buttons
PUSH_BUTTON_TYPES = {0, 1}
STATIC_TEXT_TYPES = {0, 1, 2, 0xB, 0xC}         # left, centre, right, simple, left without wrap


def _captions(wine, dialog):
    """The dialog's controls with their room and their captions' sizes (zv_captions)."""
    out = wine.folder / "captions.json"
    assert wine.tool("zv_captions", "--out", windows_path(out), dialog["hwnd"]) == 0
    lines = [json.loads(line) for line in out.read_text(encoding="utf-8").splitlines() if line.strip()]
    return lines[0], lines[1:]


def _clipped(font, controls):
    """The captions that do not fit their controls: a check box's caption also needs the
    box (13 pixels at 96 DPI) and a gap beside it, a push button's a little frame."""
    dpi = font["dpi"]
    clipped = []
    for c in controls:
        if not c["text"]:
            continue
        need_width, need_height = c["text_size"]
        if c["class"].lower() == "button":
            kind = c["style"] & 0xF
            if kind in BUTTON_TYPES_WITH_BOX:
                need_width += (13 + 3) * dpi // 96
            elif kind in PUSH_BUTTON_TYPES:
                need_width += 4
            else:
                continue
        elif c["class"].lower() != "static" or c["style"] & 0x1F not in STATIC_TEXT_TYPES:
            continue
        width, height = c["client"]
        if need_width > width or need_height > height:
            clipped.append((c["text"], [need_width, need_height], c["client"]))
    return clipped


def _check_dialogs(wine, label):
    for command, title, name in ((IDM_SETTING, SETTING_TITLE, "settings"), (IDM_ABOUT, ABOUT_TITLE, "about")):
        run_tray_command(wine, command)
        dialog = wait_dialog(wine, title)
        wine.screenshot(f"{name}_{label}")
        font, controls = _captions(wine, dialog)
        assert len(controls) >= 10, controls
        assert _clipped(font, controls) == [], (title, font, _clipped(font, controls))
        wine.post(None, WM_CLOSE, hwnd=dialog["hwnd"])
        wine.wait_no_window(None, title)


def _start(wine):
    wine.install_zarvic(data=CTRL_ALT_C)
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    return zarvic


def _open_menu(wine):
    wine.key("ctrl+alt+c")
    return wait_for(lambda: wine.find_window(MENU_CLASS, visible=True), what="the history menu")


def _close_menu(wine, menu):
    wine.x_focus(menu)
    wine.key("Escape")
    wait_for(lambda: not wine.find_window(MENU_CLASS, visible=True), what="the menu to close")
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front again")


def _menu_height(wine):
    menu = _open_menu(wine)
    _close_menu(wine, menu)
    return menu["rect"][3] - menu["rect"][1]


def _open_menu_with_an_entry(wine):
    """Captures one text over the target, then opens the history menu and returns its window."""
    wine.start_target()
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")
    before = _menu_height(wine)
    wine.set_clipboard("an entry of the history")
    wait_for(lambda: _menu_height(wine) > before, 30, "the text to enter the history")
    return _open_menu(wine)


def test_dialog_captions_are_whole_at_96_and_144_dpi(wine):
    zarvic = _start(wine)
    _check_dialogs(wine, "96dpi")
    assert wine.close_zarvic(zarvic) == 0

    try:
        wine.set_dpi(144)
        zarvic = _start(wine)
        _check_dialogs(wine, "144dpi")
        assert wine.close_zarvic(zarvic) == 0
    finally:
        wine.set_dpi(96)


def test_history_menu_follows_the_screen_dpi(wine):
    sizes = {}
    try:
        for dpi in (96, 144):
            wine.set_dpi(dpi)
            zarvic = _start(wine)
            menu = _open_menu_with_an_entry(wine)
            wine.screenshot(f"history_menu_{dpi}dpi")
            left, top, right, bottom = menu["rect"]
            assert 0 <= left < right <= 800 and 0 <= top < bottom <= 480, menu
            sizes[dpi] = (right - left, bottom - top)
            _close_menu(wine, menu)
            assert wine.close_zarvic(zarvic) == 0
    finally:
        wine.set_dpi(96)
    # The entry is longer than the widest label, sixteen "A" in the menu font: the menu is
    # as wide as that font at the screen's DPI, half as wide again at 144 as at 96.
    assert 1.3 <= sizes[144][0] / sizes[96][0] <= 1.7, sizes
    assert sizes[144][1] > sizes[96][1], sizes
