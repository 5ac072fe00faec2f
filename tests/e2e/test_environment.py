"""What the other end-to-end tests build on: keys reach the focused Wine window, text travels
between the X clipboard and the Windows clipboard, and the target application reports what
was typed or pasted into it. When one of these fails, Zarvic's own tests cannot be trusted."""

from clipboard_steps import copy_in_x
from harness import TARGET_CLASS, TARGET_CLEAR, TARGET_TITLE, wait_for


def test_keys_and_clipboard_reach_the_target_application(wine):
    target, _ = wine.start_target()
    window = wine.wait_window(TARGET_CLASS, TARGET_TITLE, visible=True)
    foreground = wait_for(lambda: (lambda f: f if f and f["hwnd"] == window["hwnd"] else None)(wine.foreground()),
                          what="the target to be the foreground window")
    assert foreground["focus_class"].lower() == "edit", foreground
    assert wine.target_text() == ""

    # Typed keys arrive in the focused edit control; Return makes CR LF.
    wine.type_text("Zarvic 1")
    wine.key("Return")
    wine.type_text("two")
    wine.wait_target_text("Zarvic 1\r\ntwo")

    # X clipboard -> Windows clipboard: line feeds become CR LF, Japanese survives.
    copy_in_x(wine, "first line\nクリップボード", until=lambda offer: wine.clipboard_text() == "first line\r\nクリップボード")

    # Ctrl+V pastes it into the target.
    wine.send(TARGET_CLASS, TARGET_CLEAR)
    wine.wait_target_text("")
    wine.key("ctrl+v")
    wine.wait_target_text("first line\r\nクリップボード")
    wine.screenshot("pasted")

    # Windows clipboard -> X clipboard: CR LF becomes a line feed again.
    wine.set_clipboard("from Wine\r\nテキスト")
    assert wine.clipboard_text() == "from Wine\r\nテキスト"
    x_text = wait_for(lambda: (lambda t: t if t and "from Wine" in t else None)(wine.x_clipboard()),
                      what="the Windows text on the X clipboard")
    assert x_text == "from Wine\nテキスト", repr(x_text)
    assert target.running
