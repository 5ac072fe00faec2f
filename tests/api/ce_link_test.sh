#!/usr/bin/env bash
# The device image (preset wince-x86, built first) must be a Windows CE 4.10 program for x86
# that imports from CE's modules only, and its link must refuse a call CE 4.10 does not export.
#   tests/api/ce_link_test.sh [build directory, default build/wince-x86]
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$repo/build/wince-x86}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

check() {  # label command... ; the command's output is shown on failure
    local label=$1; shift
    if "$@" >"$scratch/out" 2>&1; then
        echo "ok   $label"
    else
        echo "FAIL $label:"; sed 's/^/    /' "$scratch/out" | tail -n 20; failed=1
    fi
}

headers_are_ce() {
    local exe=$build/Zarvic.exe headers
    headers=$(i686-w64-mingw32-objdump -p "$exe") || return 1
    grep -q 'file format pei-i386' <<<"$headers" || { echo "not an i386 PE image"; return 1; }
    grep -Eq '^Subsystem\s+00000009' <<<"$headers" || { grep '^Subsystem' <<<"$headers"; return 1; }
    grep -Eq '^MajorSubsystemVersion\s+4$' <<<"$headers" && grep -Eq '^MinorSubsystemVersion\s+10$' <<<"$headers" ||
        { grep 'SubsystemVersion' <<<"$headers"; return 1; }
    grep -Eq '^ImageBase\s+0*10000$' <<<"$headers" || { grep '^ImageBase' <<<"$headers"; return 1; }
    local modules others
    modules=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
    others=$(grep -Ev '^(coredll|ceshell|ole32)\.dll$' <<<"$modules")
    [ -n "$modules" ] && [ -z "$others" ] || { echo "imports from: $modules"; return 1; }
    i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.rsrc ' || { echo "no resources"; return 1; }
}

links() { cmake --build "$build" --target "$1"; }
refused() {  # target function: the link fails and names the function
    ! links "$1" >"$scratch/link" 2>&1 && grep -q "undefined reference to .*$2" "$scratch/link" ||
        { cat "$scratch/link"; return 1; }
}

check "the image is a CE 4.10 x86 GUI program importing only coredll, ceshell and ole32" headers_are_ce
check "one more call CE 4.10 exports links" links ce_link_probe_ce
check "a desktop-only call (GetGUIThreadInfo) fails the link" refused ce_link_probe_desktop GetGUIThreadInfo
exit $failed
