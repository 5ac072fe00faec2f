"""With three editors open, a paste goes to the one the person was typing in, and the
keyboard stays there after it: one editor opened before Zarvic, two after it, each chosen
with a click, as a person does."""

from clipboard_steps import copy_in_x
from harness import TARGET_CLASS, WIN_BUILD, ZARVIC_CLASS, data_file_image, settings_record, wait_for, windows_path
from test_history_menu import _open_menu, _visible_menu

TITLES = ("Editor One", "Editor Two", "Editor Three")


def _start_editor(wine, title, x, y):
    out = wine.folder / f"{title.replace(' ', '_').lower()}.txt"
    wine.wine(WIN_BUILD / "zv_target.exe", "--title", title, "--at", x, y, windows_path(out), name=title)
    wait_for(out.exists, what=f"{title} to write its first output")
    return wine.wait_window(TARGET_CLASS, title), out


def _text(out):
    return out.read_bytes().decode("utf-8") if out.exists() else None


def _wait_in_front(wine, title):
    wait_for(lambda: (wine.foreground() or {}).get("title") == title, what=f"{title} in front")


def test_a_paste_goes_to_the_editor_typed_in_among_three(wine):
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True)))
    editors = [_start_editor(wine, TITLES[0], 40, 40)]
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    editors += [_start_editor(wine, TITLES[1], 260, 90), _start_editor(wine, TITLES[2], 480, 140)]
    copy_in_x(wine, "pasted")

    expected = {title: "" for title in TITLES}
    for index in (0, 2, 1):
        window, _ = editors[index]
        title = TITLES[index]
        wine.click_window(window, dy=60)
        _wait_in_front(wine, title)
        wine.type_text("a")
        _open_menu(wine)
        wine.key("1", "Return")
        wait_for(lambda: not _visible_menu(wine), what="the menu to close")
        # The keyboard stays with the editor: the next letter follows the paste.
        wine.type_text("b")
        expected[title] += "apastedb"
        try:
            wait_for(lambda: all(_text(out) == expected[t] for t, (_, out) in zip(TITLES, editors)),
                     what=f"the paste in {title} only")
        except AssertionError:
            wine.screenshot(f"paste_into_{index + 1}_missed")
            raise AssertionError(f"expected {expected}, the editors hold "
                                 f"{[_text(out) for _, out in editors]}; in front: {wine.foreground()}") from None
        _wait_in_front(wine, title)
        wine.screenshot(f"pasted_into_{index + 1}")
    assert wine.close_zarvic(zarvic) == 0
