#!/usr/bin/env python3
"""Checks the platform names the program's logic uses against platform/ce_api.tsv.

The logic (app/, core/, history/, menu/, ui/) must build for Windows CE 4.10. The names it may
use are those the simulated device declares (platform/sim/sim_api.h and sim_types.h): any other
name would not build there. Each such name the logic uses must be on the list, with the CE 4.10
module that exports it (or the header that defines it) and where that is documented. A listed
name marked "absent" is one CE 4.10 lacks: the logic must not use it (desktop-only needs stay in
platform/win32). A listed name the logic no longer uses is reported too, so the list stays exact.
The device backend (platform/wince) counts as a user of the names it calls, and a "runtime" entry
(a C function the compiler's own code calls, such as memmove) is kept whether or not source names
it: the device's import libraries are made from this list (cmake/wince.cmake).

    check_platform_api.py [--logic DIR ...] [--skeleton]
Exit code 0 when the logic and the list agree, 1 otherwise.
"""
import argparse
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LOGIC_DIRS = ["app", "core", "history", "menu", "ui"]
# The device backend: its own folder and the operations it shares with the simulated device.
DEVICE_BACKEND = [ROOT / "platform" / "wince", ROOT / "platform" / "device_operations.cpp"]
DEVICE_HEADERS = ["platform/sim/sim_api.h", "platform/sim/sim_types.h", "platform/platform_screens.h",
                  "platform/platform_paths.h", "platform/platform_clipboard.h", "platform/platform_shell.h",
                  "platform/platform_tray.h", "platform/platform_menus.h", "platform/platform_foreground.h",
                  "platform/platform_windows.h", "platform/ce_shell_types.h"]
LIST = ROOT / "platform" / "ce_api.tsv"
NOT_NAMES = {"const", "struct", "unsigned", "void", "int", "char", "name", "DECLARE_HANDLE", "sizeof",
             "static_assert", "return", "if"}
KINDS = {"function", "runtime", "message", "constant", "type", "macro"}


def strip_comments_and_strings(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    text = re.sub(r"u?8?R?\"(\\.|[^\"\\])*\"", " ", text)
    return re.sub(r"'(\\.|[^'\\])*'", " ", text)


def device_vocabulary():
    """Every name the device declares, with a guess at its kind for the skeleton."""
    names = {}
    for header in DEVICE_HEADERS:
        text = strip_comments_and_strings((ROOT / header).read_text(encoding="utf-8"))
        for match in re.finditer(r"#define\s+(\w+)(\()?", text):
            name, is_macro = match.group(1), match.group(2)
            kind = "macro" if is_macro else ("message" if re.match(r"(WM|EM|BM|LB|CB|STM)_", name) else "constant")
            names.setdefault(name, kind)
        body = re.sub(r"#[^\n]*", " ", text)
        for pattern in (r"DECLARE_HANDLE\((\w+)\)", r"typedef[^;{}]*?\b(\w+)\s*;", r"\bstruct\s+(\w+)",
                        r"\}\s*(\w+(?:\s*,\s*\*?\s*\w+)*)\s*;", r"\benum\s*\w*\s*\{([^}]*)\}",
                        r"\busing\s+(\w+)\s*="):
            for match in re.finditer(pattern, body):
                for name in re.findall(r"\w+", match.group(1)):
                    if name not in NOT_NAMES:
                        names.setdefault(name, "type")
        for match in re.finditer(r"\b(\w+)\s*\([^;{}()]*\)\s*;", body):
            if match.group(1) not in NOT_NAMES:
                names.setdefault(match.group(1), "function")
        for match in re.finditer(r"\b(?:constexpr|const)\s+\w+\s+(\w+)\s*=", body):
            names.setdefault(match.group(1), "constant")
    return names


def used_names(folders, vocabulary):
    used = {}
    for folder in folders:
        folder = pathlib.Path(folder)
        for path in sorted(folder.rglob("*")) if folder.is_dir() else [folder]:
            if path.suffix not in (".cpp", ".h"):
                continue
            text = strip_comments_and_strings(path.read_text(encoding="utf-8"))
            for token in set(re.findall(r"\b[A-Za-z_]\w*\b", text)):
                if token in vocabulary:
                    used.setdefault(token, f"{path.parent.name}/{path.name}")
    return used


def read_list():
    entries, problems = {}, []
    for number, line in enumerate(LIST.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 4 or fields[1] not in KINDS or not fields[2].strip() or not fields[3].strip():
            problems.append(f"{LIST.name}:{number}: want name, kind ({'/'.join(sorted(KINDS))}), module, documentation")
            continue
        if fields[0] in entries:
            problems.append(f"{LIST.name}:{number}: {fields[0]} is listed twice")
        entries[fields[0]] = fields
    return entries, problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--logic", nargs="+", type=str, default=[str(ROOT / d) for d in LOGIC_DIRS])
    parser.add_argument("--skeleton", action="store_true", help="print list lines for unlisted names")
    args = parser.parse_args()

    vocabulary = device_vocabulary()
    logic = [d for arg in args.logic for d in arg.split()]
    entries, problems = read_list()
    used = used_names(logic, vocabulary)
    for name, where in used_names(DEVICE_BACKEND, set(entries)).items():
        used.setdefault(name, f"platform/{where}")
    for name in sorted(used):
        if name not in entries:
            problems.append(f"{name} (used in {used[name]}) is not on the list")
            if args.skeleton:
                print(f"{name}\t{vocabulary[name]}\t?\t?")
        elif entries[name][2].startswith("absent"):
            problems.append(f"{name} (used in {used[name]}) does not exist on Windows CE 4.10: keep it in platform/win32")
    for name, fields in sorted(entries.items()):
        if name not in used and not fields[2].startswith("absent") and fields[1] != "runtime":
            problems.append(f"{name} is listed but the logic does not use it")
    for problem in problems:
        print("api:", problem)
    print(f"api: {len(used)} platform names used by the logic, {len(entries)} listed, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
