"""Start-up, the single-instance guard and shutdown of the real Zarvic.exe under Wine."""

import re
import shutil

from harness import (DATA_FILE, DEFAULT_RECORD, MESSAGE_BOX_CLASS, PREFIX, TARGET_CLASS, WIN_BUILD, WM_CLOSE,
                     ZARVIC_CLASS, ZARVIC_EXE, ZARVIC_TITLE, data_file_image, settings_record, wait_for)

HINT_TEXT = "タスクトレイの Zarvic アイコンをクリックし\nSetting からホットキーを設定してください"
TEMPORARY_FOLDER_TEXT = ("Zarvic が一時フォルダから起動されたため\n設定は保存されても失われます\n\n"
                         "ZIP ファイルを展開したフォルダに Zarvic.exe を\n置いてから起動してください")
MOD_ALT, MOD_CONTROL = 1, 2
ERROR_HOTKEY_ALREADY_REGISTERED = 1409


def _hint_box(wine, zarvic_window):
    """The message box owned by Zarvic's main window, or None."""
    return next((w for w in wine.find_windows(MESSAGE_BOX_CLASS, ZARVIC_TITLE)
                 if w["owner"] == zarvic_window["hwnd"]), None)


def test_first_start_hints_refuses_a_second_copy_and_saves_defaults(wine):
    app = wine.install_zarvic()
    assert sorted(p.name for p in app.iterdir()) == [ZARVIC_EXE]
    x_maps = wine.watch_x_maps()
    before_first = x_maps.fence()

    # First start in a fresh folder: no hot-key modifier yet, so the hint box comes up,
    # owned by the hidden main window, with the hint text and an OK button.
    zarvic = wine.start_zarvic()
    main = wine.wait_zarvic_window()
    box = wine.wait_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE, visible=True)
    assert box["owner"] == main["hwnd"], (box, main)
    assert box["pid"] == main["pid"]
    assert main["title"] == ZARVIC_TITLE
    controls = wine.children(box)
    assert [c["title"] for c in controls if c["class"] == "Static" and c["title"]] == [HINT_TEXT], controls
    assert [c["title"] for c in controls if c["class"] == "Button"] == ["OK"], controls
    shot = wine.screenshot("hint_box")
    # The tray icon is added before the box comes up.
    assert wine.notification_area_colours(shot) > 1
    # The watcher saw the box being mapped: it would see a second copy's window too.
    assert box["xwin"] in x_maps.maps_since(before_first)
    # Nothing is written while the program runs.
    assert wine.data_file() is None

    # A second copy exits at once with code 0 and shows nothing; the first is undisturbed.
    windows_before = {w["hwnd"]: (w["class"], w["title"], w["visible"]) for w in wine.windows()}
    before_second = x_maps.fence()
    second = wine.start_zarvic()
    assert second.wait_exit() == 0, second.output()
    assert x_maps.maps_since(before_second) == []
    windows_after = {w["hwnd"]: (w["class"], w["title"], w["visible"]) for w in wine.windows()}
    assert windows_after == windows_before
    assert zarvic.running
    assert wine.data_file() is None

    # The user clicks OK; the program keeps running without a hot-key.
    button = next(c for c in controls if c["class"] == "Button")
    wine.click_window(button)
    wine.wait_no_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE)
    assert zarvic.running
    assert wine.find_window(ZARVIC_CLASS)["hwnd"] == main["hwnd"]

    # WM_CLOSE ends it with exit code 0; the data file then holds the defaults.
    assert wine.close_zarvic(zarvic) == 0, zarvic.output()
    assert wine.find_windows(ZARVIC_CLASS) == []
    wait_for(lambda: wine.notification_area_colours() == 1, what="the tray icon to go")
    saved = wine.data_file()
    assert saved is not None, f"no {DATA_FILE} in {app}"
    assert len(saved) == 104
    assert saved == bytes(4) + DEFAULT_RECORD, saved.hex()
    assert shot.stat().st_size > 0


def test_start_with_a_hot_key_set_shows_no_hint_and_holds_the_hot_key(wine):
    record = settings_record("C", alt=True, ctrl=True)
    # A nonzero leading word is read past and written back as 0.
    wine.install_zarvic(data=data_file_image(record, leading_word=0x12345678))
    assert wine.can_register_hotkey(MOD_CONTROL | MOD_ALT, "C") == (True, 0)

    zarvic = wine.start_zarvic()
    # The main window is shown only after its creation has finished, and the hint box
    # would have come up during creation: once it is visible, there was no box.
    main = wine.wait_window(ZARVIC_CLASS, visible=True)
    assert main["rect"][:2] == [20000, 20000]
    assert [w for w in wine.find_windows(MESSAGE_BOX_CLASS) if w["pid"] == main["pid"]] == []
    assert wine.can_register_hotkey(MOD_CONTROL | MOD_ALT, "C") == (False, ERROR_HOTKEY_ALREADY_REGISTERED)
    assert wine.can_register_hotkey(MOD_CONTROL | MOD_ALT, "D") == (True, 0)
    # The hidden main window has no taskbar button; an ordinary window beside it has one.
    wine.start_target()
    target = wine.find_window(TARGET_CLASS)
    buttons = wait_for(lambda: (lambda b: b if int(target["hwnd"], 16) in b else None)(wine.taskbar_buttons()),
                       what="the target's taskbar button")
    assert int(main["hwnd"], 16) not in buttons, (main, buttons)
    wine.screenshot("running")

    assert wine.close_zarvic(zarvic) == 0, zarvic.output()
    # Closing gave the hot-key back and rewrote the file.
    assert wine.can_register_hotkey(MOD_CONTROL | MOD_ALT, "C") == (True, 0)
    assert wine.data_file() == data_file_image(record)


def _temporary_folder(wine):
    """Wine's %TEMP%, as a Linux path inside the prefix."""
    echo = wine.wine("cmd", "/c", "echo", "%TEMP%", name="temp")
    assert echo.wait_exit(60) == 0, echo.output()
    found = re.findall(r"^[Cc]:\\(.*?)\s*$", echo.output(), re.M)
    assert found, echo.output()
    return PREFIX / "drive_c" / found[-1].replace("\\", "/")


def test_a_copy_run_from_inside_its_zip_says_once_that_its_settings_will_be_lost(wine):
    # Explorer runs a program from a zip that was opened, not extracted, in the temporary folder.
    folder = _temporary_folder(wine) / "Temp1_Zarvic-0.30-win64.zip" / "Zarvic"
    folder.mkdir(parents=True, exist_ok=True)
    try:
        shutil.copy2(WIN_BUILD / ZARVIC_EXE, folder / ZARVIC_EXE)
        (folder / DATA_FILE).write_bytes(data_file_image(settings_record("C", alt=True, ctrl=True)))
        zarvic = wine.wine(folder / ZARVIC_EXE, cwd=folder, name="zarvic")
        main = wine.wait_zarvic_window()
        box = wine.wait_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE, visible=True)
        assert box["owner"] == main["hwnd"], (box, main)
        controls = wine.children(box)
        assert [c["title"] for c in controls if c["class"] == "Static" and c["title"]] == [TEMPORARY_FOLDER_TEXT]
        wine.screenshot("temporary_folder_box")
        wine.click_window(next(c for c in controls if c["class"] == "Button"))
        wine.wait_no_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE)
        assert zarvic.running
        wine.post(ZARVIC_CLASS, WM_CLOSE)
        assert zarvic.wait_exit() == 0
        assert wine.find_windows(MESSAGE_BOX_CLASS, ZARVIC_TITLE) == [], "said once"
    finally:
        shutil.rmtree(folder.parent, ignore_errors=True)
