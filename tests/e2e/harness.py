"""Drives Zarvic.exe under Wine for the end-to-end tests.

A test gets a `Session`: its own Xvfb display, the shared Wine prefix (booted once, reused),
Wine's "shell" virtual desktop of 800x480 with a taskbar, and a fresh folder holding
Zarvic.exe. Everything the session starts is ended when it closes. See README.md beside this
file for how to write a test.

Standard library only.
"""

import collections
import contextlib
import fcntl
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
# The Windows build whose Zarvic.exe and helper programs the tests run (Wine runs 64-bit only).
WIN_BUILD = BUILD / os.environ.get("ZV_E2E_PRESET", "win64")
E2E_DIR = BUILD / "e2e"
PREFIX = E2E_DIR / "wineprefix"
RUNS_DIR = E2E_DIR / "runs"
SCREENSHOTS_DIR = E2E_DIR / "screenshots"
PREFIX_SCRIPT = REPO / "scripts" / "wine-prefix.sh"

SCREEN_WIDTH, SCREEN_HEIGHT = 800, 480

ZARVIC_EXE = "Zarvic.exe"
ZARVIC_CLASS = "ZarvicEx"
ZARVIC_TITLE = "クリップボード拡張"
DATA_FILE = "ZarvicDat.bin"
HELP_FILE = "Zarvic.htm"
MESSAGE_BOX_CLASS = "#32770"
TASKBAR_CLASS = "Shell_TrayWnd"

WM_NULL = 0x0000
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_TIMER = 0x0113
WM_HOTKEY = 0x0312
WM_USER = 0x0400
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONUP = 0x0202

# The program's own ids, read from core/runtime.h, which defines them: no test copies a number.
_IDS = {name: int(number) + (WM_USER if base else 0) for name, base, number in re.findall(
    r"^#define (\w+) \(?(WM_USER \+ )?(\d+)\)?$", (REPO / "core/runtime.h").read_text(encoding="utf-8"), re.M)}
WM_TRAY_CALLBACK = _IDS["WM_TRAY_CALLBACK"]
IDM_ABOUT, IDM_SETTING, IDM_CLEAR, IDM_HISTORY_FIRST = (_IDS[n] for n in ("IDM_ABOUT", "IDM_SETTING", "IDM_CLEAR",
                                                                          "IDM_HISTORY_FIRST"))

# zv_target.exe: its window class and the messages it answers.
TARGET_CLASS = "ZvTarget"
TARGET_TITLE = "Zarvic Target"
TARGET_SAVE = WM_USER
TARGET_CLEAR = WM_USER + 1
TARGET_FOCUS = WM_USER + 2

DEFAULT_TIMEOUT = 20.0


class WaitTimeout(AssertionError):
    """A condition a test waited for did not come true before its deadline."""


def wait_for(condition, timeout=DEFAULT_TIMEOUT, what="the condition", interval=0.1):
    """Calls condition() until it returns something truthy and returns that value.

    Raises WaitTimeout naming `what` when the deadline passes. The interval is only the
    polling period; no test result depends on it."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"gave up after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def windows_path(path):
    """The path under which a Wine program sees a Linux path (drive Z: is the root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def settings_record(key="C", alt=False, ctrl=False, shift=False, tooltip=True):
    """The 100-byte settings record: hot-key letter and modifiers of definition 0, the
    tooltip flag, and the defaults everywhere else."""
    record = bytearray(100)
    struct.pack_into("<H", record, 0, ord(key) if key else 0)
    struct.pack_into("<H", record, 4, ord("T"))
    struct.pack_into("<i", record, 16, int(alt))
    struct.pack_into("<i", record, 32, int(ctrl))
    struct.pack_into("<i", record, 48, int(shift))
    struct.pack_into("<iii", record, 64, int(tooltip), 1, 1)
    return bytes(record)


DEFAULT_RECORD = settings_record()


def data_file_image(record=DEFAULT_RECORD, leading_word=0):
    """The 104 bytes of ZarvicDat.bin: the leading word, then the settings record."""
    return struct.pack("<I", leading_word) + record


def _environment(display):
    env = {key: value for key, value in os.environ.items() if not key.startswith(("WINE", "LC_"))}
    lines = subprocess.run(["bash", str(PREFIX_SCRIPT), "--env", str(PREFIX)], check=True,
                           capture_output=True, text=True).stdout.splitlines()
    env.update(line.split("=", 1) for line in lines if "=" in line)
    env["WINEDEBUG"] = os.environ.get("ZV_WINEDEBUG", "-all")
    env["DISPLAY"] = display
    env["LANG"] = "C.UTF-8"
    return env


class WineProcess:
    """A Windows program started by a session; its output goes to a log file."""

    def __init__(self, popen, name, log):
        self.popen = popen
        self.name = name
        self.log = log

    @property
    def running(self):
        return self.popen.poll() is None

    @property
    def returncode(self):
        return self.popen.poll()

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the program to end and returns its exit code."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout(f"{self.name} still running after {timeout:g} s") from None

    def output(self):
        return self.log.read_text(errors="replace") if self.log.exists() else ""


class Session:
    """One end-to-end test's world. Use it as a context manager:

        with Session("startup") as wine:
            zarvic = wine.start_zarvic()
            ...
    """

    def __init__(self, name):
        self.name = name
        self.folder = RUNS_DIR / name            # everything of this test
        self.app_dir = self.folder / "app"       # Zarvic.exe and its data file
        self.shots_dir = SCREENSHOTS_DIR / name
        self.display = None
        self.desktop = None                      # the WineProcess of explorer /desktop
        self.env = None
        self._xvfb = None
        self._lock = None
        self._processes = []
        self._calls = 0
        self._tool_log = self.folder / "tools.log"
        # What the session did again that a person would do again too (copy once more, type
        # a lost key again, start a program Wine ended before it ran): counted, reported by
        # the runner beside the test's result, never hidden.
        self.again = collections.Counter()

    # ---- life cycle -------------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self):
        missing = [p for p in (WIN_BUILD / ZARVIC_EXE, WIN_BUILD / "zv_winfo.exe") if not p.exists()]
        if missing:
            raise RuntimeError(f"{missing[0]} is missing: build the {WIN_BUILD.name} preset first")
        E2E_DIR.mkdir(parents=True, exist_ok=True)
        # Tests on one machine share the prefix: one session at a time.
        self._lock = open(E2E_DIR / "prefix.lock", "w")
        fcntl.flock(self._lock, fcntl.LOCK_EX)
        for folder in (self.folder, self.shots_dir):
            shutil.rmtree(folder, ignore_errors=True)
            folder.mkdir(parents=True)
        self.app_dir.mkdir()
        self._start_xvfb()
        self.env = _environment(self.display)
        self._prepare_prefix()
        # Nothing from an earlier run may still hold the prefix.
        self._wineserver("-k")
        self._wineserver("-w")
        self._start_desktop()

    def _prepare_prefix(self):
        """Boots the shared prefix when it is not ready yet. A boot that fails is run once
        more, as a person runs a failed set-up again, and counted; each failed boot's log is
        kept in the test's folder."""
        boot_log = Path(f"{PREFIX}.boot.log")
        for attempt in (1, 2):
            with open(self.folder / "prefix.log", "ab") as log:
                code = subprocess.run(["bash", str(PREFIX_SCRIPT), str(PREFIX)], env=self.env,
                                      stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT).returncode
            if code == 0:
                return
            kept = self.folder / f"prefix-boot-{attempt}.log"
            if boot_log.exists():
                shutil.copyfile(boot_log, kept)
            if attempt == 1:
                self.count_again("prefix booted again", f"wine-prefix.sh ended with {code}; its boot log: {kept.name}")
        raise RuntimeError(f"the Wine prefix could not be booted, twice; see {self.folder / 'prefix.log'}")

    def close(self):
        """Ends every process the session started: Wine's (all of this prefix), then the
        display. Safe to call twice."""
        if self.env is not None:
            self._wineserver("-k")
            with contextlib.suppress(WaitTimeout):
                self._wineserver("-w", timeout=30)
        # Leaders first, then one look at /proc for what they left: a long session starts
        # thousands of programs.
        for process in self._processes:
            _end_leader(process.popen)
        groups = _process_groups()
        for process in self._processes:
            _kill_leftovers(process.popen, groups)
        self._processes.clear()
        if self._xvfb is not None:
            _end_process_group(self._xvfb)
            self._xvfb = None
        if self._lock is not None:
            self._lock.close()
            self._lock = None
        self.env = None

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            with open(self.folder / "xvfb.log", "wb") as log:
                self._xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24",
                     "-nolisten", "tcp", "-noreset"],
                    pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                    start_new_session=True)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 30
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
                chunk = os.read(read_end, 16) if ready else b""
                if not chunk:
                    raise RuntimeError("Xvfb did not start; see " + str(self.folder / "xvfb.log"))
                number += chunk
            self.display = ":" + number.decode().strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)

    def _wineserver(self, flag, timeout=30):
        try:
            subprocess.run(["wineserver", flag], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout(f"wineserver {flag} did not return within {timeout} s") from None

    def _start_desktop(self):
        # The desktop first, alone: two Wine processes starting together in a fresh prefix
        # race to start the wineserver.
        self.desktop = self.wine("explorer", f"/desktop=shell,{SCREEN_WIDTH}x{SCREEN_HEIGHT}", name="desktop")
        wait_for(lambda: self.x_search("--name", " - Wine desktop$"), 60, "Wine's desktop window on the display")
        wait_for(lambda: self.find_window(TASKBAR_CLASS), 60, "the taskbar")

    def restart_wine(self):
        """Ends every Wine program of the prefix and starts the desktop again, so that a
        setting Wine reads only at its start (the screen's DPI) takes effect."""
        self._wineserver("-k")
        self._wineserver("-w")
        self._start_desktop()

    def set_dpi(self, dpi):
        """Sets the DPI Wine gives its screen (HKCU\\Control Panel\\Desktop LogPixels) and
        restarts Wine with it."""
        code = self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                         "/d", str(dpi), "/f", name="reg").wait_exit(60)
        assert code == 0, f"reg add LogPixels {dpi} failed with {code}"
        self.restart_wine()

    # ---- programs -----------------------------------------------------------------------

    def wine(self, program, *args, cwd=None, name=None):
        """Starts a Windows program (a Linux path or a name Wine knows) and returns its
        WineProcess. Its output goes to <name>.log in the test folder."""
        name = name or Path(str(program)).stem
        self._calls += 1
        log = self.folder / f"{name}.{self._calls}.log"
        with open(log, "wb") as out:
            popen = subprocess.Popen(["wine", str(program), *map(str, args)], cwd=cwd or self.folder,
                                     env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        process = WineProcess(popen, name, log)
        self._processes.append(process)
        return process

    def tool(self, tool, *args, timeout=60):
        """Runs one helper program (zv_send, zv_winfo, zv_clip, ...) to its end; returns
        its exit code."""
        exe = WIN_BUILD / f"{tool}.exe"
        # Under load, Wine now and then ends a helper with 1 before it has run a line of its
        # own (it prints nothing; the helpers' own failures print or use other codes): such
        # a start is tried once more, and counted.
        for attempt in range(2):
            with open(self._tool_log, "ab") as out:
                out.write(f"$ {tool} {' '.join(map(str, args))}\n".encode())
                out.flush()
                logged = out.tell()
                process = subprocess.Popen(["wine", str(exe), *map(str, args)], cwd=self.folder, env=self.env,
                                           stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                           start_new_session=True)
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                _end_process_group(process)
                raise WaitTimeout(f"{tool} {' '.join(map(str, args))} did not finish within {timeout} s") from None
            if code != 1 or self._tool_log.stat().st_size != logged or attempt == 1:
                return code
            self.count_again("helper started again", f"{tool} ended with 1 before it ran")

    def count_again(self, what, detail):
        """Counts a step done again as a person would, and notes it in tools.log."""
        self.again[what] += 1
        with open(self._tool_log, "ab") as out:
            out.write(f"# again: {what}: {detail}\n".encode())

    def _out_path(self, stem):
        self._calls += 1
        return self.folder / f".{stem}.{self._calls}.out"

    def _tool_json(self, *args):
        out = self._out_path("winfo")
        code = self.tool("zv_winfo", "--out", windows_path(out), *args)
        records = []
        if out.exists():
            records = [json.loads(line) for line in out.read_text(encoding="utf-8").splitlines() if line.strip()]
            out.unlink()
        if code not in (0, 2):
            raise RuntimeError(f"zv_winfo {' '.join(args)} failed with exit code {code}")
        return records

    # ---- Zarvic -------------------------------------------------------------------------

    def install_zarvic(self, data=None, help_file=None):
        """Copies Zarvic.exe into the test's app folder, with ZarvicDat.bin holding `data`
        (bytes) and Zarvic.htm holding `help_file` (text) when given. Returns the folder."""
        shutil.copy2(WIN_BUILD / ZARVIC_EXE, self.app_dir / ZARVIC_EXE)
        if data is not None:
            (self.app_dir / DATA_FILE).write_bytes(data)
        if help_file is not None:
            (self.app_dir / HELP_FILE).write_text(help_file, encoding="utf-8")
        return self.app_dir

    def start_zarvic(self, data=None):
        """Starts Zarvic.exe from the app folder (installing it first when needed)."""
        if not (self.app_dir / ZARVIC_EXE).exists():
            self.install_zarvic(data)
        elif data is not None:
            (self.app_dir / DATA_FILE).write_bytes(data)
        return self.wine(self.app_dir / ZARVIC_EXE, cwd=self.app_dir, name="zarvic")

    def wait_zarvic_window(self, timeout=DEFAULT_TIMEOUT):
        """Waits for Zarvic's hidden main window and returns its record."""
        return self.wait_window(ZARVIC_CLASS, timeout=timeout)

    def close_zarvic(self, process, timeout=DEFAULT_TIMEOUT):
        """Sends WM_CLOSE to the ZarvicEx window and waits for the program to end; returns
        its exit code."""
        self.post(ZARVIC_CLASS, WM_CLOSE)
        return process.wait_exit(timeout)

    def data_file(self):
        """The bytes of the app folder's ZarvicDat.bin, or None when there is none."""
        path = self.app_dir / DATA_FILE
        return path.read_bytes() if path.exists() else None

    def start_target(self, x=60, y=60, title=TARGET_TITLE):
        """Starts zv_target.exe (a window with a focused multi-line edit control) and waits
        until it is up. Returns (process, output path); read the edit text with
        target_text()."""
        out = self.folder / "target.txt"
        with contextlib.suppress(FileNotFoundError):
            out.unlink()
        process = self.wine(WIN_BUILD / "zv_target.exe", "--title", title, "--at", x, y, windows_path(out),
                            name="target")
        wait_for(out.exists, what="zv_target to write its first output")
        self.wait_window(TARGET_CLASS, title)
        return process, out

    def target_text(self):
        """The text of zv_target's edit control as last written (CR LF kept)."""
        path = self.folder / "target.txt"
        return path.read_bytes().decode("utf-8") if path.exists() else None

    def wait_target_text(self, expected, timeout=DEFAULT_TIMEOUT):
        return wait_for(lambda: self.target_text() == expected, timeout,
                        f"the target's text to become {expected!r} (it is {self.target_text()!r})")

    # ---- windows ------------------------------------------------------------------------

    def windows(self):
        """Every top-level window: dicts with hwnd, class, title, pid, visible, enabled,
        rect [l, t, r, b], owner, style, exstyle, xwin (the X window id, 0 if none)."""
        return self._tool_json("list")

    def find_windows(self, cls=None, title=None, visible=None, records=None):
        records = self.windows() if records is None else records
        return [w for w in records
                if (cls is None or w["class"] == cls) and (title is None or w["title"] == title)
                and (visible is None or w["visible"] == visible)]

    def find_window(self, cls=None, title=None, visible=None):
        """The first matching top-level window, or None."""
        found = self.find_windows(cls, title, visible)
        return found[0] if found else None

    def wait_window(self, cls=None, title=None, visible=None, timeout=DEFAULT_TIMEOUT):
        what = f"a window of class {cls!r} titled {title!r}" + ("" if visible is None else f" visible={visible}")
        return wait_for(lambda: self.find_window(cls, title, visible), timeout, what, interval=0.2)

    def wait_no_window(self, cls=None, title=None, timeout=DEFAULT_TIMEOUT):
        return wait_for(lambda: not self.find_windows(cls, title), timeout,
                        f"no window of class {cls!r} titled {title!r}", interval=0.2)

    def children(self, window):
        """The child windows of a window (record or hwnd), each with the text it answers
        to WM_GETTEXT in 'title'."""
        hwnd = window["hwnd"] if isinstance(window, dict) else window
        return self._tool_json("children", hwnd)

    def foreground(self):
        """The foreground window: hwnd, class, title, focus, focus_class, caret [x, y] on
        the screen, in_menu, menu_owner."""
        records = self._tool_json("foreground")
        return records[0] if records else None

    def post(self, cls, message, wparam=0, lparam=0, title=None, hwnd=None):
        """Posts a message to the top-level window of class `cls` (or `hwnd`). Raises when
        there is no such window."""
        self._message("--post", cls, message, wparam, lparam, title, hwnd)

    def send(self, cls, message, wparam=0, lparam=0, title=None, hwnd=None):
        """Sends a message and returns the window's answer."""
        return self._message("--send", cls, message, wparam, lparam, title, hwnd)

    def _message(self, mode, cls, message, wparam, lparam, title, hwnd):
        out = self._out_path("send")
        args = [mode, "--out", windows_path(out)]
        if title is not None:
            args += ["--title", title]
        if hwnd is not None:
            args += ["--hwnd", hwnd["hwnd"] if isinstance(hwnd, dict) else hwnd]
        code = self.tool("zv_send", *args, cls or "-", message, wparam, lparam)
        if code == 2:
            raise AssertionError(f"no window of class {cls!r} (title {title!r}, hwnd {hwnd}) to send to")
        if code != 0:
            raise RuntimeError(f"zv_send {mode} {cls} {message} failed with exit code {code}")
        if mode == "--send":
            result = json.loads(out.read_text(encoding="utf-8"))["result"]
            out.unlink()
            return result
        return None

    # ---- X: windows, keys, mouse, clipboard, screenshots ---------------------------------

    def x(self, *args, timeout=30, check=True):
        """Runs an X client (xdotool, xclip, xwininfo, ...) on the session's display."""
        result = subprocess.run(list(map(str, args)), env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{' '.join(map(str, args))} failed: {result.stderr.strip()}")
        return result.stdout

    def x_search(self, *args):
        """X window ids from `xdotool search ARGS` (empty when none match)."""
        out = self.x("xdotool", "search", *args, check=False)
        return [int(line) for line in out.split()]

    def x_focus(self, window):
        """Gives the X keyboard focus to a Wine window (record with 'xwin', or an X id) and
        waits until X reports it. No person can do this; Zarvic's menus take the keys typed
        into whatever has the X focus."""
        xwin = window["xwin"] if isinstance(window, dict) else int(window)
        if not xwin:
            raise AssertionError(f"{window} has no X window")
        self.x("xdotool", "windowfocus", xwin)
        wait_for(lambda: self.x("xdotool", "getwindowfocus", check=False).strip() == str(xwin), 10,
                 f"X focus on window {xwin}")

    def key(self, *keys):
        """Presses key combinations with plain XTEST events ("ctrl+alt+c", "Down",
        "Return"), then releases Ctrl, Alt and Shift: a modifier Wine still believes down
        turns the next letter into a control character."""
        self.x("xdotool", "key", "--delay", "40", *keys)
        self.x("xdotool", "keyup", "ctrl", "alt", "shift")

    def key_down(self, key):
        self.x("xdotool", "keydown", key)

    def key_up(self, key):
        self.x("xdotool", "keyup", key)

    def type_text(self, text):
        """Types text with XTEST events (letters, digits, punctuation)."""
        self.x("xdotool", "type", "--delay", "40", text)
        self.x("xdotool", "keyup", "ctrl", "alt", "shift")

    def click(self, x, y, button=1):
        """Clicks at desktop coordinates (the desktop fills the display)."""
        self.x("xdotool", "mousemove", int(x), int(y), "click", button)

    def click_window(self, window, dx=None, dy=None, button=1):
        """Clicks a window record: at its centre, or at (dx, dy) from its top-left corner."""
        left, top, right, bottom = window["rect"]
        self.click(left + (dx if dx is not None else (right - left) // 2),
                   top + (dy if dy is not None else (bottom - top) // 2), button)

    def x_clipboard(self):
        """The X CLIPBOARD selection as text, or None."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=10)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def clipboard_text(self):
        """CF_UNICODETEXT on the Windows clipboard, as Wine programs see it; None if none."""
        out = self._out_path("clip")
        code = self.tool("zv_clip", "get", windows_path(out))
        if code == 0:
            text = out.read_bytes().decode("utf-8")
            out.unlink()
            return text
        return None

    def set_clipboard(self, text, **marks):
        """Puts text on the Windows clipboard from a Wine program, plus registered formats
        given as NAME=DWORD (e.g. **{"CanIncludeInClipboardHistory": 0})."""
        source = self._out_path("clipin")
        source.write_text(text, encoding="utf-8", newline="")
        code = self.tool("zv_clip", "set", windows_path(source), *(f"{k}={v}" for k, v in marks.items()))
        source.unlink()
        if code != 0:
            raise RuntimeError(f"zv_clip set failed with exit code {code}")

    def region_colours(self, x, y, width, height, screenshot=None):
        """How many distinct colours a region of the screen holds (of `screenshot`, or of
        a fresh one). A plain background gives 1."""
        if screenshot is None:
            self._calls += 1
            screenshot = self.folder / f".screen.{self._calls}.png"
            self.x("import", "-window", "root", screenshot, timeout=60)
        out = self.x("convert", screenshot, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-unique-colors",
                     "txt:-", timeout=60)
        return sum(1 for line in out.splitlines() if line and not line.startswith("#"))

    def notification_area_colours(self, screenshot=None):
        """Distinct colours at the right end of the taskbar, where Wine paints tray icons
        straight onto the bar (there are no icon windows): 1 means no icon is shown."""
        return self.region_colours(SCREEN_WIDTH - 40, SCREEN_HEIGHT - 20, 40, 20, screenshot)

    def taskbar_buttons(self):
        """The windows that have a button shown on Wine's taskbar, as hwnd numbers. Each
        button is a child of the taskbar whose control id is the window it stands for (0
        for the Start button)."""
        bar = self.find_window(TASKBAR_CLASS)
        return {c["id"] for c in self.children(bar) if c["class"] == "Button" and c["visible"] and c["id"]}

    def can_register_hotkey(self, modifiers, key):
        """Whether another program could register the hot-key (MOD_ALT 1, MOD_CONTROL 2,
        MOD_SHIFT 4; key a virtual-key code or a letter) right now. Returns
        (registered, error); error 1409 means a program already holds it."""
        vk = ord(key.upper()) if isinstance(key, str) else key
        records = self._tool_json("hotkey", modifiers, vk)
        return records[0]["registered"], records[0]["error"]

    def watch_x_maps(self):
        """Starts recording the X windows mapped on Wine's desktop (every window a Wine
        program shows); see XMapWatch."""
        desktop = wait_for(lambda: self.x_search("--name", " - Wine desktop$"), 30, "the desktop window")[0]
        log = self.folder / f"xev.{desktop}.log"
        with open(log, "wb") as out:
            popen = subprocess.Popen(["stdbuf", "-oL", "xev", "-id", str(desktop), "-event", "substructure",
                                      "-event", "property"], env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        self._processes.append(WineProcess(popen, "xev", log))
        watch = XMapWatch(self, desktop, log)
        watch.fence()
        return watch

    def screenshot(self, name):
        """Saves the whole display as build/e2e/screenshots/<test>/<name>.png; returns the
        path."""
        path = self.shots_dir / f"{name}.png"
        self.x("import", "-window", "root", path, timeout=60)
        return path


class XMapWatch:
    """Records MapNotify events of the desktop's X children. fence() returns a mark after
    every event the X server had delivered until then (it sets a property on the desktop
    window and waits for xev to report it); maps_since(mark) lists the X windows mapped
    between that mark and a new fence. A program that shows any window, even briefly,
    leaves a MapNotify here."""

    def __init__(self, session, desktop, log):
        self._session = session
        self._desktop = desktop
        self._log = log
        self._fences = 0

    def _lines(self):
        return self._log.read_text(errors="replace").splitlines() if self._log.exists() else []

    def fence(self):
        self._fences += 1
        name = f"ZV_FENCE_{self._fences}"
        tag = f"({name})"
        deadline = time.monotonic() + 30
        attempt = 0
        # xev may not have selected its events yet when the first property is set: set it
        # again until xev reports it.
        while True:
            attempt += 1
            self._session.x("xprop", "-id", self._desktop, "-f", name, "8s", "-set", name, str(attempt))
            try:
                lines = wait_for(lambda: (lambda ls: ls if any(tag in line for line in ls) else None)(self._lines()),
                                 min(2.0, max(0.1, deadline - time.monotonic())), f"xev to report {name}")
            except WaitTimeout:
                if time.monotonic() >= deadline:
                    raise
                continue
            return next(i for i, line in enumerate(lines) if tag in line)

    def maps_since(self, mark):
        end = self.fence()
        mapped = []
        lines = self._lines()
        for i in range(mark + 1, end):
            # MapNotify event, serial 18, synthetic NO, window 0x400008,
            #     event 0x400008, window 0xa00003, override NO
            if lines[i].startswith("MapNotify event") and i + 1 < len(lines):
                fields = dict(f.strip().split(" ", 1) for f in lines[i + 1].split(",") if " " in f.strip())
                if "window" in fields:
                    mapped.append(int(fields["window"], 16))
        return mapped


def _process_groups():
    """Every process group from /proc: {pgid: [pids]}."""
    groups = {}
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        with contextlib.suppress(OSError, ValueError, IndexError):
            stat = (entry / "stat").read_text()
            fields = stat[stat.rindex(")") + 2:].split()
            groups.setdefault(int(fields[2]), []).append(int(entry.name))
    return groups


def _end_leader(popen, grace=5):
    """Ends a process started in a session of its own (and, by signal, its group)."""
    if popen.poll() is None:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(popen.pid, signal.SIGTERM)
        try:
            popen.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            with contextlib.suppress(ProcessLookupError):
                os.killpg(popen.pid, signal.SIGKILL)
            popen.wait()


def _kill_leftovers(popen, groups):
    """Kills what an ended leader left in its group. A group whose number now belongs to a
    new, living leader is someone else's."""
    members = groups.get(popen.pid, [])
    if popen.pid not in members:
        for pid in members:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)


def _end_process_group(popen, grace=5):
    """Ends a process started in a session of its own, and whatever it left in its group."""
    _end_leader(popen, grace)
    _kill_leftovers(popen, _process_groups())
