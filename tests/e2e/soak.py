"""A long soak of the real Zarvic.exe under Wine: texts copied in X, the history menu opened
over the target and an entry pasted by its key, again and again for MINUTES, while Zarvic's
working set, kernel handles, GDI objects and windows are sampled. Fails when they grow
between the first sample after the history filled up and the last one, or a paste is lost.
The e2e run has two minutes of it (test_soak.py); run the full 20 minutes by hand.

    python3 tests/e2e/soak.py [--minutes 20] [--every 60]

Prints one line a sample and ends with "1 passed, 0 failed" or "0 passed, 1 failed"; the
samples are also in build/e2e/runs/soak/samples.jsonl.
"""

import argparse
import json
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from clipboard_steps import copy_in_x  # noqa: E402
from harness import (TARGET_CLASS, TARGET_CLEAR, ZARVIC_CLASS, Session, WaitTimeout, data_file_image,  # noqa: E402
                     settings_record, wait_for, windows_path)

MENU_CLASS = "#32768"
# Memory a long-running Zarvic may gain from allocator slack between two samples; its
# history of short texts is bounded far below this.
MEMORY_SLACK = 1 << 20
HANDLE_SLACK = 4
COUNTS = ("handles", "gdi", "windows")


def usage(wine, pid):
    out = wine.folder / f".usage.{time.monotonic_ns()}.out"
    code = wine.tool("zv_usage", "--out", windows_path(out), pid)
    if code != 0:
        raise RuntimeError(f"zv_usage failed with exit code {code}")
    record = json.loads(out.read_text(encoding="utf-8"))
    out.unlink()
    return record


def paste_by_key(wine, shot=None):
    """Opens the history menu over the target and picks entry 2 by its key, typed into the
    X focus as a person would; returns whether the paste arrived. Now and then (once in
    about 550 menus so far) the key is lost before the menu acts on it, and neither the menu
    nor the target gets it; why is not known yet. A person types it again, and so does the
    soak, with a screenshot, counted as "key typed again"; the lossless key path is what
    history_menu.twenty_pastes_in_a_row_lose_nothing holds to. `shot` names a screenshot of
    the open menu."""
    wine.key("ctrl+alt+c")
    wait_for(lambda: wine.find_window(MENU_CLASS, visible=True), what="the history menu")
    if shot:
        wine.screenshot(shot)
    wine.key("2")
    try:
        wait_for(lambda: not wine.find_window(MENU_CLASS, visible=True), 5, "the menu to close")
    except WaitTimeout:
        lost = f"key_lost_{time.monotonic_ns()}"
        wine.screenshot(lost)
        wine.count_again("key typed again", f"the menu stayed open after its key; see {lost}.png")
        wine.key("2")
        wait_for(lambda: not wine.find_window(MENU_CLASS, visible=True), what="the menu to close")
    try:
        wait_for(lambda: wine.target_text(), 10, "the paste")
        pasted = True
    except WaitTimeout:
        pasted = False
    wine.post(TARGET_CLASS, TARGET_CLEAR)  # so that the target stays small
    wait_for(lambda: not wine.target_text(), what="the target to clear")
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")
    return pasted


def soak(wine, minutes, every):
    wine.install_zarvic(data=data_file_image(settings_record("C", alt=True, ctrl=True, tooltip=False)))
    zarvic = wine.start_zarvic()
    main = wine.wait_window(ZARVIC_CLASS, visible=True)
    wine.start_target()
    wait_for(lambda: (wine.foreground() or {}).get("class") == TARGET_CLASS, what="the target in front")
    target = wine.find_window(TARGET_CLASS)
    samples = []
    log = (wine.folder / "samples.jsonl").open("w")
    start = time.monotonic()
    next_sample = start
    copies = pastes = missed = 0
    while time.monotonic() - start < minutes * 60:
        copies += 1
        copy_in_x(wine, f"soak text {copies} " + "x" * (copies % 300))
        if copies % 5 == 0:
            pastes += 1
            pasted = paste_by_key(wine, shot="full-history-menu" if copies == 50 else None)
            missed += 0 if pasted else 1
        if time.monotonic() >= next_sample:
            record = usage(wine, main["pid"])
            for count in COUNTS:
                assert record[count] >= 0, f"zv_usage could not read Zarvic's {count}: {record}"
            record["target"] = usage(wine, target["pid"])
            record.update(minute=round((time.monotonic() - start) / 60, 1), copies=copies, pastes=pastes,
                          missed=missed, retyped=wine.again["key typed again"],
                          copied_again=wine.again["copied again"])
            samples.append(record)
            log.write(json.dumps(record) + "\n")
            log.flush()
            print("sample", json.dumps(record), flush=True)
            next_sample += every
    assert wine.close_zarvic(zarvic) == 0
    # The history holds at most 40 entries: from the first sample after 40 copies on,
    # nothing should grow.
    settled = [s for s in samples if s["copies"] > 45]
    assert len(settled) >= 2, f"too few samples after the history filled: {samples}"
    first, last = settled[0], settled[-1]
    # Wine reports no private bytes for another process; the working set stands in.
    memory = "private" if first["private"] else "working_set"
    assert last[memory] <= first[memory] + MEMORY_SLACK, f"memory grew: {first} -> {last}"
    assert missed == 0, f"{missed} of {pastes} pastes never arrived"
    for count in COUNTS:
        assert last[count] <= first[count] + HANDLE_SLACK, f"{count} grew: {first} -> {last}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--minutes", type=float, default=20)
    parser.add_argument("--every", type=float, default=60, help="seconds between samples")
    args = parser.parse_args()
    wine = Session("soak")
    try:
        with wine:
            soak(wine, args.minutes, args.every)
    except Exception as error:  # noqa: BLE001 - report any failure as the soak's result
        print(f"FAIL soak: {error!r}; again: {dict(wine.again) or 'nothing'}")
        print("0 passed, 1 failed")
        return 1
    print(f"PASS soak; again: {dict(wine.again) or 'nothing'}")
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
