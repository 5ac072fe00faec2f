"""The tray icon, its menu, the settings dialog, About, Help, shortcuts, Exit and Uninstall
of the real Zarvic.exe under Wine."""

from harness import (DATA_FILE, HELP_FILE, MESSAGE_BOX_CLASS, WM_TRAY_CALLBACK, ZARVIC_CLASS, ZARVIC_EXE,
                     ZARVIC_TITLE, data_file_image, settings_record, wait_for, windows_path)
from tray_steps import (ABOUT_TITLE, IDM_SETTING, MENU_CLASS, SETTING_TITLE, choose_in_menu,
                        click_control, control, find_tray_icon, is_checked, link_names_target, open_tray_menu,
                        register_htm_opener, remove_zarvic_links, run_tray_command, unregister_htm_opener,
                        wait_checked, wait_dialog, zarvic_links)

MOD_ALT, MOD_CONTROL, MOD_SHIFT = 1, 2, 4
ERROR_HOTKEY_ALREADY_REGISTERED = 1409
CTRL_ALT_C = data_file_image(settings_record("C", alt=True, ctrl=True))
IDYES = 6
NIN_KEYSELECT = 0x401


def _dismiss_hint(wine):
    box = wine.wait_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE, visible=True)
    button = next(c for c in wine.children(box) if c["class"] == "Button")
    wine.click_window(button)
    wine.wait_no_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE)


def _start_running(wine, data=CTRL_ALT_C, help_file=None):
    """Zarvic started with a hot-key set, its main window up."""
    wine.install_zarvic(data=data, help_file=help_file)
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    return zarvic


def test_tray_menu_opens_setting_where_a_new_hot_key_is_set(wine):
    wine.install_zarvic()
    zarvic = wine.start_zarvic()
    wine.wait_zarvic_window()
    _dismiss_hint(wine)

    menu = open_tray_menu(wine)
    wine.screenshot("tray_menu")
    # Anchored at the bottom-right corner of the work area, just above the taskbar.
    left, top, right, bottom = menu["rect"]
    bar_top = wine.find_window("Shell_TrayWnd")["rect"][1]
    assert right == 800 and bottom == bar_top and right - left > 40, (menu, bar_top)
    choose_in_menu(wine, menu, "s")
    dialog = wait_dialog(wine, SETTING_TITLE)
    wine.wait_no_window(MENU_CLASS)
    wine.screenshot("settings_dialog")
    width = dialog["rect"][2] - dialog["rect"][0]
    assert dialog["rect"][0] == (800 - width) // 2, dialog

    # First start: no modifier, the letter C greyed, the tooltip on, no shortcuts.
    assert not is_checked(wine, dialog, 108) and not is_checked(wine, dialog, 109)
    letter = control(wine, dialog, 104)
    assert letter["title"] == "C" and not letter["enabled"], letter
    assert is_checked(wine, dialog, 114)
    assert not is_checked(wine, dialog, 106) and not is_checked(wine, dialog, 107)
    # While the dialog is open the tray menu stays shut.
    x, y = find_tray_icon(wine)
    wine.click(x, y)
    assert wine.find_windows(MENU_CLASS, visible=True) == []

    click_control(wine, dialog, 109)
    wait_checked(wine, dialog, 109)
    click_control(wine, dialog, 108)
    wait_checked(wine, dialog, 108)
    wait_for(lambda: control(wine, dialog, 104)["enabled"], 10, "the letter box to be enabled")
    click_control(wine, dialog, 104)
    wine.key("End", "BackSpace", "BackSpace")
    wine.type_text("k")
    # The box shows at once the key it will set: the letter typed, upper-cased.
    wait_for(lambda: control(wine, dialog, 104)["title"] == "K", 10, "the letter K in its box")
    wine.screenshot("settings_ctrl_alt_k")
    click_control(wine, dialog, 1)
    wine.wait_no_window(None, SETTING_TITLE)

    # The new combination is Zarvic's now, and the data file holds it in upper case.
    record = settings_record("K", alt=True, ctrl=True)
    wait_for(lambda: wine.data_file() == data_file_image(record), 10, "the data file to hold Ctrl+Alt+K")
    assert wine.can_register_hotkey(MOD_ALT | MOD_CONTROL, "K") == (False, ERROR_HOTKEY_ALREADY_REGISTERED)
    assert wine.find_windows(MESSAGE_BOX_CLASS, ZARVIC_TITLE) == [], "no warning for a good combination"

    # The hot-key opens the history menu.
    target, _ = wine.start_target()
    wine.key("ctrl+alt+k")
    history = wine.wait_window(MENU_CLASS, visible=True)
    wine.screenshot("history_menu_from_new_hot_key")
    wine.key("Escape")
    wine.wait_no_window(MENU_CLASS)

    assert wine.close_zarvic(zarvic) == 0
    assert wine.data_file() == data_file_image(record)


def test_either_button_or_a_key_select_opens_the_tray_menu_and_a_second_start_brings_back_a_lost_icon(wine):
    zarvic = _start_running(wine)
    x, y = find_tray_icon(wine)
    for button in (3, 1):
        wine.click(x, y, button)
        wine.wait_window(MENU_CLASS, visible=True)
        wine.screenshot(f"tray_menu_button_{button}")
        wine.key("Escape")
        wine.wait_no_window(MENU_CLASS)
    # Windows' shell reports Win+B, the arrows and Enter as a key-select (icon id in the high
    # word); Wine's taskbar has no keyboard, so the test sends what the shell would.
    wine.post(ZARVIC_CLASS, WM_TRAY_CALLBACK, 0, NIN_KEYSELECT | 1 << 16)
    wine.wait_window(MENU_CLASS, visible=True)
    wine.key("Escape")
    wine.wait_no_window(MENU_CLASS)

    # The shell loses the icon without a word; starting Zarvic again, as a person looking
    # for it would, puts it back, and the second copy still shows nothing of its own.
    main = wine.find_window(ZARVIC_CLASS)
    assert wine.tool("zv_untray", main["hwnd"], 1) == 0
    wait_for(lambda: wine.notification_area_colours() == 1, what="the tray icon to go")
    assert wine.start_zarvic().wait_exit() == 0
    wait_for(lambda: wine.notification_area_colours() > 1, what="the tray icon to come back")
    assert [w["hwnd"] for w in wine.find_windows(ZARVIC_CLASS)] == [main["hwnd"]]
    assert wine.find_windows(MESSAGE_BOX_CLASS, ZARVIC_TITLE) == []
    open_tray_menu(wine)
    wine.key("Escape")
    wine.wait_no_window(MENU_CLASS)
    assert wine.close_zarvic(zarvic) == 0


def test_escape_cancels_every_change(wine):
    zarvic = _start_running(wine)
    run_tray_command(wine, IDM_SETTING)
    dialog = wait_dialog(wine, SETTING_TITLE)
    # The hot-key is given back while the dialog is open.
    assert wine.can_register_hotkey(MOD_ALT | MOD_CONTROL, "C") == (True, 0)
    assert is_checked(wine, dialog, 108) and is_checked(wine, dialog, 109)
    assert control(wine, dialog, 104)["enabled"]

    click_control(wine, dialog, 110)
    wait_checked(wine, dialog, 110)
    click_control(wine, dialog, 104)
    wine.key("End", "BackSpace")
    wine.type_text("z")
    click_control(wine, dialog, 114)
    wait_checked(wine, dialog, 114, False)
    wine.key("Escape")
    wine.wait_no_window(None, SETTING_TITLE)

    # The hot-key is registered again as it was; the Shift ticked in the dialog is not part of it.
    wait_for(lambda: wine.can_register_hotkey(MOD_ALT | MOD_CONTROL, "C") == (False, ERROR_HOTKEY_ALREADY_REGISTERED),
             10, "Ctrl+Alt+C to be Zarvic's again")
    assert wine.can_register_hotkey(MOD_ALT | MOD_CONTROL | MOD_SHIFT, "C") == (True, 0)
    assert wine.data_file() == CTRL_ALT_C
    assert wine.close_zarvic(zarvic) == 0


def test_about_box_shows_the_version(wine):
    zarvic = _start_running(wine)
    menu = open_tray_menu(wine)
    choose_in_menu(wine, menu, "a")
    dialog = wait_dialog(wine, ABOUT_TITLE)
    wine.screenshot("about_box")
    controls = wine.children(dialog)
    version = control(wine, dialog, 100)
    assert version["title"] == "0.30", version
    label = next(c for c in controls if c["title"] == "Zarvic for sigmarionⅢ  Version")
    assert version["rect"][0] >= label["rect"][2], (version, label)
    assert control(wine, dialog, 102)["title"] == "support@zarvic.example"
    # Polling goes on and the hot-key stays Zarvic's while About is open.
    assert wine.can_register_hotkey(MOD_ALT | MOD_CONTROL, "C") == (False, ERROR_HOTKEY_ALREADY_REGISTERED)
    click_control(wine, dialog, 1)
    wine.wait_no_window(None, ABOUT_TITLE)
    assert wine.close_zarvic(zarvic) == 0


def test_help_is_greyed_without_the_file_and_opens_it_when_present(wine):
    record = wine.folder / "opened.txt"
    register_htm_opener(wine, record)
    try:
        zarvic = _start_running(wine)
        # Without Zarvic.htm the item is greyed: its letter closes Wine's menu, nothing opens.
        menu = open_tray_menu(wine)
        wine.screenshot("tray_menu_help_greyed")
        choose_in_menu(wine, menu, "h")
        wine.wait_no_window(MENU_CLASS)
        assert wine.find_windows(MESSAGE_BOX_CLASS) == []
        assert not record.exists()

        # The file is added while Zarvic runs: the next menu offers Help and it opens the file.
        (wine.app_dir / HELP_FILE).write_text("<html><body>help</body></html>", encoding="utf-8")
        menu = open_tray_menu(wine)
        wine.screenshot("tray_menu_help_enabled")
        choose_in_menu(wine, menu, "h")
        wait_for(record.exists, 20, "the shell to start the program for .htm files")
        assert record.read_text(encoding="utf-8").splitlines() == [windows_path(wine.app_dir / HELP_FILE)]
        assert zarvic.running
        assert wine.close_zarvic(zarvic) == 0
    finally:
        unregister_htm_opener(wine)


def test_shortcut_boxes_make_and_remove_real_links(wine):
    remove_zarvic_links()
    zarvic = _start_running(wine)
    exe = windows_path(wine.app_dir / ZARVIC_EXE)
    try:
        run_tray_command(wine, IDM_SETTING)
        dialog = wait_dialog(wine, SETTING_TITLE)
        click_control(wine, dialog, 106)
        wait_checked(wine, dialog, 106)
        click_control(wine, dialog, 107)
        wait_checked(wine, dialog, 107)
        click_control(wine, dialog, 1)
        wine.wait_no_window(None, SETTING_TITLE)

        links = wait_for(lambda: (lambda found: found if len(found) == 2 else None)(zarvic_links()), 10,
                         "a link on the desktop and one in Startup")
        assert {link.parent.name.lower() for link in links} == {"desktop", "startup"}, links
        assert all(link_names_target(link, exe) for link in links), links

        # Read back through the shell, the links count as Zarvic's: both boxes open ticked.
        run_tray_command(wine, IDM_SETTING)
        dialog = wait_dialog(wine, SETTING_TITLE)
        assert is_checked(wine, dialog, 106) and is_checked(wine, dialog, 107)
        click_control(wine, dialog, 106)
        wait_checked(wine, dialog, 106, False)
        click_control(wine, dialog, 107)
        wait_checked(wine, dialog, 107, False)
        click_control(wine, dialog, 1)
        wine.wait_no_window(None, SETTING_TITLE)
        wait_for(lambda: zarvic_links() == [], 10, "both links to be removed")
        assert wine.close_zarvic(zarvic) == 0
    finally:
        remove_zarvic_links()


def test_exit_ends_zarvic_and_writes_the_data_file(wine):
    zarvic = _start_running(wine)
    (wine.app_dir / DATA_FILE).unlink()
    menu = open_tray_menu(wine)
    choose_in_menu(wine, menu, "x")
    assert zarvic.wait_exit() == 0
    assert wine.data_file() == CTRL_ALT_C
    wait_for(lambda: wine.notification_area_colours() == 1, what="the tray icon to go")


def test_uninstall_of_a_loose_copy_keeps_the_persons_document(wine):
    remove_zarvic_links()
    zarvic = _start_running(wine, help_file="<html><body>help</body></html>")
    (wine.app_dir / "Letter.txt").write_text("Dear friend", encoding="utf-8")
    try:
        # A desktop link to remove as well.
        run_tray_command(wine, IDM_SETTING)
        dialog = wait_dialog(wine, SETTING_TITLE)
        click_control(wine, dialog, 106)
        wait_checked(wine, dialog, 106)
        click_control(wine, dialog, 1)
        wine.wait_no_window(None, SETTING_TITLE)
        wait_for(lambda: len(zarvic_links()) == 1, 10, "the desktop link")

        menu = open_tray_menu(wine)
        choose_in_menu(wine, menu, "u")
        box = wine.wait_window(MESSAGE_BOX_CLASS, ZARVIC_TITLE, visible=True)
        wine.screenshot("uninstall_question")
        texts = [c["title"] for c in wine.children(box) if c["class"] == "Static"]
        assert any(t.startswith("Zarvic をアンインストールします") and "フォルダを開きます" in t for t in texts), texts
        wine.click_window(next(c for c in wine.children(box) if c["id"] == IDYES))

        # The folder opens in Wine's explorer, Zarvic ends and writes nothing again.
        folder = wine.wait_window(None, wine.app_dir.name, visible=True)
        wine.screenshot("uninstall_folder")
        assert zarvic.wait_exit() == 0
        assert folder["pid"] != zarvic.popen.pid
        assert sorted(p.name for p in wine.app_dir.iterdir()) == ["Letter.txt", ZARVIC_EXE]
        assert (wine.app_dir / "Letter.txt").read_text(encoding="utf-8") == "Dear friend"
        assert zarvic_links() == []
        assert wine.data_file() is None
    finally:
        remove_zarvic_links()
