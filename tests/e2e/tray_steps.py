"""Steps of the tray UI tests: the tray icon on Wine's taskbar, the tray menu, Zarvic's
dialogs and their controls."""

import re

from harness import (IDM_ABOUT, IDM_SETTING, PREFIX, SCREEN_HEIGHT, SCREEN_WIDTH,
                     TASKBAR_CLASS, WIN_BUILD, WM_COMMAND, ZARVIC_CLASS, WaitTimeout, wait_for, windows_path)

MENU_CLASS = "#32768"
DIALOG_CLASS = "#32770"
SETTING_TITLE = "SETTING"
ABOUT_TITLE = "ﾊﾞｰｼﾞｮﾝ情報"
BM_GETCHECK = 0x00F0
BST_CHECKED = 1


def find_tray_icon(wine, screenshot=None):
    """The centre of Zarvic's icon, which Wine paints straight onto the right end of the
    taskbar: the bounding box of whatever differs from the bar's own colour there."""
    shot = screenshot or wine.screenshot("taskbar")
    bar = wine.find_window(TASKBAR_CLASS)["rect"]
    width, height = 60, bar[3] - bar[1]
    left, top = bar[2] - width, bar[1]
    info = wine.x("convert", shot, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                  "-bordercolor", _bar_colour(wine, shot), "-border", "1", "-trim", "info:-", timeout=60)
    # e.g. "png:- PNG 16x16 62x42+43+14 8-bit sRGB ..."
    match = re.search(r" (\d+)x(\d+) \d+x\d+\+(\d+)\+(\d+) ", info)
    assert match, f"nothing but the taskbar in its right end: {info!r}"
    w, h, x, y = map(int, match.groups())
    assert 8 <= w <= 24 and 8 <= h <= 24, f"the painted icon should be about 16x16, not {w}x{h}"
    # the one-pixel border added before trimming shifts the offsets by one
    return left + x - 1 + w // 2, top + y - 1 + h // 2


def _bar_colour(wine, shot):
    """The taskbar's colour, two pixels above the screen's bottom-right corner."""
    out = wine.x("convert", shot, "-crop", f"1x1+{SCREEN_WIDTH - 2}+{SCREEN_HEIGHT - 2}", "+repage", "txt:-")
    match = re.search(r"#[0-9A-Fa-f]{6}", out)
    assert match, out
    return match.group(0)


def open_tray_menu(wine):
    """Clicks Zarvic's tray icon and returns the menu window it opens."""
    x, y = find_tray_icon(wine)
    wine.click(x, y)
    try:
        return wine.wait_window(MENU_CLASS, visible=True)
    except WaitTimeout:
        wine.screenshot("no_tray_menu")
        raise


def choose_in_menu(wine, menu, letter):
    """Types an item's mnemonic letter while the menu is open, wherever the X focus is."""
    wine.key(letter)


def run_tray_command(wine, command):
    """Runs a tray menu command as the menu does: WM_COMMAND posted to the main window."""
    wine.post(ZARVIC_CLASS, WM_COMMAND, command)


def wait_dialog(wine, title):
    return wine.wait_window(DIALOG_CLASS, title, visible=True)


def control(wine, dialog, control_id):
    """The child window of a dialog with that control id."""
    found = [c for c in wine.children(dialog) if c["id"] == control_id]
    assert found, f"no control {control_id} in {dialog['title']!r}"
    return found[0]


def is_checked(wine, dialog, control_id):
    return wine.send(None, BM_GETCHECK, hwnd=control(wine, dialog, control_id)) == BST_CHECKED


def click_control(wine, dialog, control_id):
    wine.click_window(control(wine, dialog, control_id))


def wait_checked(wine, dialog, control_id, checked=True):
    return wait_for(lambda: is_checked(wine, dialog, control_id) == checked, 10,
                    f"box {control_id} to be {'ticked' if checked else 'clear'}")


# ---- the shell: what opens documents, and the shortcuts Zarvic writes -------------------

OPENER_PROGID = "ZvTestHtmlFile"


def register_htm_opener(wine, record):
    """Makes zv_opened.exe the program that opens .htm files, writing what it is asked to
    open into `record`. The prefix has none (Wine would show its own error box instead),
    and Wine's shell reads associations from HKEY_CLASSES_ROOT only, not from the user's
    classes."""
    opener = windows_path(WIN_BUILD / "zv_opened.exe")
    command = f'"{opener}" "{windows_path(record)}" "%1"'
    assert not _reg_exists(wine, r"HKCR\.htm"), "the prefix has an .htm association of its own"
    _reg(wine, "add", r"HKCR\.htm", "/ve", "/d", OPENER_PROGID, "/f")
    _reg(wine, "add", rf"HKCR\{OPENER_PROGID}\shell\open\command", "/ve", "/d", command, "/f")


def unregister_htm_opener(wine):
    _reg(wine, "delete", r"HKCR\.htm", "/f", check=False)
    _reg(wine, "delete", rf"HKCR\{OPENER_PROGID}", "/f", check=False)


def _reg_exists(wine, key):
    return wine.wine("reg", "query", key, name="reg").wait_exit(60) == 0


def _reg(wine, *args, check=True):
    code = wine.wine("reg", *args, name="reg").wait_exit(60)
    if check:
        assert code == 0, f"reg {' '.join(args)} failed with {code}"


def zarvic_links():
    """Every Zravic.lnk in the prefix's user profiles (the desktop and Startup folders)."""
    return sorted((PREFIX / "drive_c" / "users").glob("*/**/Zravic.lnk"))


def remove_zarvic_links():
    for link in zarvic_links():
        link.unlink()


def link_names_target(link, target):
    """Whether a shell link file names `target` (a Windows path), in the ANSI or the UTF-16
    strings a link holds."""
    data = link.read_bytes()
    return target.encode("utf-16-le") in data or target.encode("latin-1", "replace") in data
