"""How long each program holds the Windows clipboard open while Zarvic reads copies and
pastes entries back, under Wine: a measurement to run by hand, not a test.

    python3 tests/e2e/clipboard_holds.py [--copies 20] [--pastes 10]

zv_clip samples GetOpenClipboardWindow about every millisecond (so a stretch is known to
about a millisecond) while texts of 10 units to 1 MiB are copied in X and read by Zarvic,
then while entries are pasted into the target by their keys (each paste is Zarvic's set,
then its next poll's read of its own text). Prints one line per phase and window class:
how many stretches, their median and their longest, in milliseconds.
"""

import argparse
import json
import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from clipboard_steps import copy_in_x, wait_clipboard_closed  # noqa: E402
from harness import (TARGET_CLASS, TARGET_CLEAR, WIN_BUILD, ZARVIC_CLASS, Session, data_file_image,  # noqa: E402
                     settings_record, wait_for, windows_path)

MENU_CLASS = "#32768"
SIZES = (10, 1000, 100_000, 1 << 20)


def sample(wine, phase, seconds, act):
    """Runs act() while zv_clip samples the clipboard for `seconds`; returns the stretches."""
    out = wine.folder / f"holds-{phase}.jsonl"
    sampler = wine.wine(WIN_BUILD / "zv_clip.exe", "holds", windows_path(out), seconds, name=f"holds-{phase}")
    act()
    assert sampler.wait_exit(seconds + 60) == 0, f"zv_clip holds ended with {sampler.returncode}"
    return [json.loads(line) for line in out.read_text(encoding="utf-8").splitlines() if line.strip()]


def report(phase, stretches):
    by_class = {}
    for stretch in stretches:
        by_class.setdefault(stretch["class"] or "(no class)", []).append(stretch["us"] / 1000)
    for name, ms in sorted(by_class.items()):
        print(f"{phase:6} {name:28} {len(ms):4} holds, median {statistics.median(ms):7.1f} ms, "
              f"longest {max(ms):7.1f} ms", flush=True)


def measure(wine, copies, pastes):
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True, tooltip=False)))
    zarvic = wine.start_zarvic()
    wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")

    def copy_all():
        for n in range(copies):
            copy_in_x(wine, f"{n} " + "x" * SIZES[n % len(SIZES)])
        wait_clipboard_closed(wine)

    def paste_all():
        for n in range(pastes):
            wine.key("ctrl+alt+c")
            wait_for(lambda: wine.find_window(MENU_CLASS, visible=True), what="the history menu")
            wine.key("3")  # the third entry by its key, as the soak does
            wait_for(lambda: wine.target_text(), what="the paste")
            wine.post(TARGET_CLASS, TARGET_CLEAR)
            wait_for(lambda: not wine.target_text(), what="the target to clear")
            wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")
        wait_clipboard_closed(wine)

    report("copies", sample(wine, "copies", 8 + 3 * copies, copy_all))
    report("pastes", sample(wine, "pastes", 8 + 4 * pastes, paste_all))
    assert wine.close_zarvic(zarvic) == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--copies", type=int, default=20)
    parser.add_argument("--pastes", type=int, default=10)
    args = parser.parse_args()
    with Session("clipboard_holds") as wine:
        measure(wine, args.copies, args.pastes)
        print(f"again: {dict(wine.again) or 'nothing'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
