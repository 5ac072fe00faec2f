#!/usr/bin/env bash
# Prepares a Wine prefix for running Zarvic, once; later calls find it ready and return at
# once. Used by scripts/run.sh and by the end-to-end harness (tests/e2e/harness.py).
#
#   scripts/wine-prefix.sh PREFIX
#
# Every Wine command on that prefix must then run with the environment printed by
#   scripts/wine-prefix.sh --env PREFIX
# (WINEPREFIX; TMPDIR inside the prefix: Debian's wineserver keeps its socket folder in
# $TMPDIR and records its name in the prefix, so all users of a prefix share one TMPDIR).
#
# What the prefix gets beyond `wineboot`:
# - a virtual desktop "shell" of 800x480 (a taskbar with a notification area) as the default
#   desktop, so every program joins the desktop that `explorer /desktop=shell,800x480` shows;
# - the IPA Gothic font linked behind the UI fonts, so Japanese text has glyphs;
# - real Desktop, Documents, ... folders instead of links into the Linux home;
# - no crash dialog (a crashing program ends instead of waiting for a click).
set -euo pipefail

print_env=0
if [ "${1:-}" = "--env" ]; then
    print_env=1
    shift
fi
[ $# -eq 1 ] || { echo "usage: $0 [--env] PREFIX" >&2; exit 2; }
mkdir -p "$1"
prefix=$(cd "$1" && pwd)

# The wineserver's socket ends up at $TMPDIR/wine-XXXXXX/server-DEV-INODE/socket, and a Unix
# socket path holds at most 107 bytes: a prefix deep in the file system gets a short TMPDIR.
tmpdir="$prefix/tmp"
if [ ${#tmpdir} -gt 55 ]; then
    tmpdir="/tmp/zarvic-wine-$(printf '%s' "$prefix" | md5sum | cut -c1-12)"
fi
mkdir -p "$tmpdir"

if [ $print_env -eq 1 ]; then
    printf 'WINEPREFIX=%s\nTMPDIR=%s\nWINEDLLOVERRIDES=%s\nWINEDEBUG=%s\n' \
        "$prefix" "$tmpdir" "winemenubuilder.exe=d" "${WINEDEBUG:--all}"
    exit 0
fi

# Bump this when the steps below change: prefixes made by an older version are rebuilt.
layout="zarvic-prefix 1; $(WINEDEBUG=-all wine --version 2>/dev/null)"
stamp="$prefix/.zarvic-prefix"

# One boot at a time per prefix (two runs on one machine share build/).
exec 8>"$prefix.boot-lock"
flock 8

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$layout" ]; then
    exit 0
fi

echo "wine-prefix: booting $prefix (about 10 s, once)"
trap 'echo "wine-prefix: \"$BASH_COMMAND\" failed with $? (line $LINENO); see $prefix.boot.log"' ERR
export WINEPREFIX="$prefix" TMPDIR="$tmpdir" WINEDEBUG=-all WINEARCH=win64
# No Mono/Gecko installer prompts during the boot, no menu entries in the Linux home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineserver -k >/dev/null 2>&1 || true
find "$prefix" -mindepth 1 -maxdepth 1 ! -name '*.boot-lock' -exec rm -rf {} +
mkdir -p "$TMPDIR"

wineboot --init >"$prefix.boot.log" 2>&1

# The profile's shell folders are links to $HOME in a fresh prefix: make them real folders.
for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
    fi
done

reg() { wine reg add "$@" /f >>"$prefix.boot.log" 2>&1; }
reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell
reg 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 800x480
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
for font in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" \
            "Lucida Sans Unicode"; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$font" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic"
done

wineserver -w
echo "$layout" >"$stamp"
echo "wine-prefix: ready"
