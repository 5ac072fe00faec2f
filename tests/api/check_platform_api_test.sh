#!/usr/bin/env bash
# The platform-name check must refuse logic that reaches a name CE 4.10 lacks, or one nobody
# has looked up; and it must pass the tree as it is.
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
check="$repo/scripts/check_platform_api.py"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

expect() {  # want-status label logic-dirs [words the report must hold]
    python3 "$check" --logic "$3" >"$scratch/out" 2>&1
    local status=$?
    if [ "$status" -ne "$1" ] || ! grep -q -- "${4:-problems}" "$scratch/out"; then
        echo "FAIL $2 (exit $status):"; sed 's/^/    /' "$scratch/out"; failed=1
    else
        echo "ok   $2"
    fi
}

expect 0 "the program's logic uses only listed CE names" \
    "$repo/app $repo/core $repo/history $repo/menu $repo/ui"

cp -r "$repo/app" "$repo/core" "$repo/history" "$repo/menu" "$repo/ui" "$scratch/"
logic="$scratch/app $scratch/core $scratch/history $scratch/menu $scratch/ui"
printf 'static DWORD Probe() { return INVALID_FILE_ATTRIBUTES; }\n' >"$scratch/core/probe.cpp"
expect 1 "a name CE 4.10 lacks is refused" "$logic" "INVALID_FILE_ATTRIBUTES (used in core/probe.cpp) does not exist"
printf 'static SHORT Probe() { return GetKeyState(VK_SHIFT); }\n' >"$scratch/core/probe.cpp"
expect 1 "a name not on the list is refused" "$logic" "GetKeyState (used in core/probe.cpp) is not on the list"
rm "$scratch/core/probe.cpp"
expect 0 "the copy without the probe passes again" "$logic"
exit $failed
