"""Steps of the clipboard tests that tell exactly when Zarvic has read the clipboard.

Wine hands X text to Windows programs with delayed rendering: the X owner (xclip) is asked
for the text only when a Windows program reads it. xclip -verbose reports each request it
serves, so a test that lets Zarvic be the only reader knows when a poll has taken the text.
zv_offer does the same for text put on the Windows clipboard, format by format.
"""

import json
import re
import subprocess

from harness import IDM_CLEAR, IDM_HISTORY_FIRST, WIN_BUILD, WM_COMMAND, WaitTimeout, WineProcess, ZARVIC_CLASS, \
    data_file_image, settings_record, wait_for, windows_path

MOD_ALT, MOD_CONTROL = 1, 2


def start_capturing(wine):
    """Zarvic with Ctrl+Alt+C set (so it polls from the start) and the target application
    in the foreground. Returns Zarvic's process."""
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True)))
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    wait_for(lambda: (wine.foreground() or {}).get("class") == "ZvTarget", what="the target in the foreground")
    return zarvic


def choose(wine, command):
    """Posts the command to Zarvic's main window as its history menu does."""
    wine.post(ZARVIC_CLASS, WM_COMMAND, command)


class XOffer:
    """Text that xclip holds as the X CLIPBOARD selection."""

    def __init__(self, wine, text, target=None):
        self.wine = wine
        self.text = text
        wine._calls += 1
        self.log = wine.folder / f"xclip.{wine._calls}.log"
        args = ["xclip", "-quiet", "-verbose", "-selection", "clipboard", "-i"] + (["-t", target] if target else [])
        with open(self.log, "wb") as out:
            popen = subprocess.Popen(args, env=wine.env, stdin=subprocess.PIPE, stdout=out,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.process = WineProcess(popen, "xclip", self.log)
        wine._processes.append(self.process)
        popen.stdin.write(text.encode("utf-8"))
        popen.stdin.close()
        wait_for(lambda: self.served() >= 0, 10, "xclip to own the clipboard")

    def served(self):
        """How many requests for the text xclip has answered (-1 until it waits for any)."""
        numbers = re.findall(r"selection request number (\d+)", self.log.read_text(errors="replace"))
        return int(numbers[-1]) - 1 if numbers else -1


# A person who pastes and still sees the old text copies again after about this long.
COPY_AGAIN_AFTER = 2.0
COPIES_BEFORE_GIVING_UP = 4


def clipboard_state(wine):
    """Who holds the Windows clipboard open ("open": its window, "0x0" when nobody does or
    a program opened it without one) and its sequence number; opens nothing itself."""
    out = wine._out_path("clipstate")
    code = wine.tool("zv_clip", "state", windows_path(out))
    if code != 0 or not out.exists():
        raise RuntimeError(f"zv_clip state failed with exit code {code}")
    state = json.loads(out.read_text(encoding="utf-8"))
    out.unlink()
    return state


def wait_clipboard_closed(wine, timeout=10):
    """Waits until no program holds the Windows clipboard open; returns the state then."""
    return wait_for(lambda: (lambda state: state if state["open"] == "0x0" else None)(clipboard_state(wine)),
                    timeout, "no program to hold the Windows clipboard open")


def copy_in_x(wine, text, target=None, until=None, timeout=30):
    """Copies text in X (as `target`, UTF8_STRING by default) as a person copies, and waits
    until(offer) holds, by default until a Windows program has read the text.

    Wine imports an X copy only if its clipboard manager can open the Windows clipboard at
    that moment; when another program holds it open the copy is dropped and nothing tries
    again. So the copy waits until nobody holds the clipboard open, and when the Windows
    clipboard has not changed about two seconds later it copies again, as a person does who
    pastes and sees the old text; each such copy is counted (Session.again). A copy that
    still does not arrive fails. A moment after a Windows program changed the clipboard,
    Wine takes the X selection for it; when that comes after xclip took the selection, xclip
    loses it and the text is copied again too."""
    until = until or (lambda offer: offer.served() >= 1)
    for copy in range(COPIES_BEFORE_GIVING_UP):
        if copy:
            wine.count_again("copied again", f"the X copy of {text[:40]!r} did not reach the Windows clipboard")
        before = wait_clipboard_closed(wine)["sequence"]
        offer = XOffer(wine, text, target)
        try:
            # Only what opens nothing: a reader that opened the clipboard now could make
            # Wine drop the very copy it waits for.
            wait_for(lambda: offer.served() >= 1 or not offer.process.running
                     or clipboard_state(wine)["sequence"] != before, COPY_AGAIN_AFTER, "the copy to arrive")
        except WaitTimeout:
            continue
        wait_for(lambda: until(offer) or not offer.process.running, timeout, f"the X copy of {text!r} to take effect")
        if until(offer):
            return offer
    raise AssertionError(f"Wine dropped the X copy of {text[:80]!r} {COPIES_BEFORE_GIVING_UP} times (its clipboard "
                         f"manager imports a copy only if it can open the clipboard); the Windows clipboard held "
                         f"{(wine.clipboard_text() or '')[:80]!r}")


class WindowsOffer:
    """Text (and registered formats) on the Windows clipboard, rendered only when read."""

    def __init__(self, wine, text, *marks):
        self.log = wine.folder / f"offer-render.{wine._calls + 1}.txt"
        self.process = wine.wine(WIN_BUILD / "zv_offer.exe", windows_path(self.log), text, *marks, name="offer")
        wait_for(lambda: "offered" in self.lines(), what="zv_offer to own the clipboard")

    def lines(self):
        return self.log.read_text(encoding="utf-8").splitlines() if self.log.exists() else []

    def rendered(self):
        return [line[len("render "):] for line in self.lines() if line.startswith("render ")]

    def wait_rendered(self, name, timeout=20):
        wait_for(lambda: name in self.rendered(), timeout, f"a reader to ask for {name}")


def clipboard_format_names(wine):
    """The names of the formats on the Windows clipboard ("" for the predefined ones)."""
    out = wine.folder / f".formats.{wine._calls + 1}.out"
    wine.tool("zv_clip", "formats", windows_path(out))
    names = [json.loads(line)["name"] for line in out.read_text(encoding="utf-8").splitlines()] if out.exists() else []
    out.unlink(missing_ok=True)
    return names


VK_SHIFT = 0x10


def hold_key(wine, name, vk, down=True):
    """Presses (or releases) a key in X and waits until Windows programs see it so."""
    (wine.key_down if down else wine.key_up)(name)
    out = wine.folder / f".keys.{wine._calls + 1}.out"

    def seen():
        wine.tool("zv_keys", windows_path(out), vk)
        return out.exists() and out.read_text().split() == [str(vk), "down" if down else "up"]
    wait_for(seen, what=f"{name} to be {'down' if down else 'up'} for Windows programs")


def wait_pasted(wine, expected):
    """Waits for the target's text; on timeout says where the keys and the clipboard were."""
    try:
        wine.wait_target_text(expected)
    except WaitTimeout as timeout:
        raise AssertionError(f"{timeout}; foreground {wine.foreground()}, clipboard {wine.clipboard_text()!r}") from None
