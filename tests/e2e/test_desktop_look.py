"""Zarvic's dialogs, history menu and tray icon as a desktop shows them, with the real
Zarvic.exe under Wine: every dialog caption whole in the desktop's message font, at 96 and at
144 DPI, the history menu scaled to the screen's DPI, and the tray icon drawn from its own
image at 144 DPI."""

import json
import re
import sys

from harness import REPO, TARGET_CLASS, ZARVIC_CLASS, data_file_image, settings_record, wait_for, windows_path
from tray_steps import ABOUT_TITLE, IDM_ABOUT, IDM_SETTING, SETTING_TITLE, run_tray_command, wait_dialog

sys.path.insert(0, str(REPO / "scripts"))
import make_icon  # noqa: E402  the icon's drawing, to compare the painted tray icon with

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



def _box(points):
    xs, ys = [x for x, _ in points], [y for _, y in points]
    return min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)


def test_tray_icon_is_its_own_image_at_144_dpi(wine):
    """At 144 DPI the notification area shows 24-pixel icons: Zarvic's must be its own
    24-pixel image, pixel for pixel, not the 16-pixel one scaled up."""
    wine.set_dpi(144)
    try:
        zarvic = _start(wine)
        bar = wine.find_window("Shell_TrayWnd")["rect"]
        shot = wine.screenshot("tray_icon_144dpi")
        crop = wine.x("convert", shot, "-crop", f"60x{bar[3] - bar[1]}+{bar[2] - 60}+{bar[1]}", "+repage",
                      "-depth", "8", "txt:-", timeout=60)
        painted = {(int(x), int(y)): tuple(map(int, rgb))
                   for x, y, *rgb in re.findall(r"^(\d+),(\d+): \((\d+),(\d+),(\d+)", crop, re.M)}
        background = painted[max(painted)]
        x0, y0, w, h = _box([p for p, colour in painted.items() if colour != background])
        image = make_icon.pixels_rgba(24)
        opaque = {(x, y): px[:3] for y, row in enumerate(image) for x, px in enumerate(row) if px[3]}
        ex, ey, ew, eh = _box(opaque)
        assert (w, h) == (ew, eh), f"painted {w + 1}x{h + 1}, the 24-pixel image is {ew + 1}x{eh + 1}"
        wrong = [p for p, colour in opaque.items() if painted.get((x0 + p[0] - ex, y0 + p[1] - ey)) != colour]
        assert len(wrong) <= len(opaque) // 50, f"{len(wrong)} of {len(opaque)} pixels differ"
        assert wine.close_zarvic(zarvic) == 0
    finally:
        wine.set_dpi(96)
