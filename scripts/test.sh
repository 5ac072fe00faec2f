#!/usr/bin/env bash
# Runs every test of Zarvic:
#   1. the simulated Handheld PC's tests (preset sim, GoogleTest through ctest);
#   2. the same tests under AddressSanitizer and UndefinedBehaviorSanitizer (sim-sanitize);
#   2b. the fuzz targets (preset fuzz), a few seconds each, so that they keep building and running;
#   2c. the same tests built for the device's CPU family, armel, run under qemu-arm-static (sim-armel);
#   3. the Windows builds, 64-bit (win64) and 32-bit (win32), each counted as one check;
#   4. the end-to-end tests of the 64-bit Zarvic.exe under Wine (tests/e2e);
#   5. the check that the logic uses only Windows CE 4.10 names (platform/ce_api.tsv);
#   6. the device image (preset wince-x86): its headers, and that its link refuses a call
#      CE 4.10 does not export (tests/api/ce_link_test.sh).
# Every step runs even when an earlier one failed. Logs go to build/test-logs/. The last line
# is "N passed, M failed", summed over all steps; the exit code is 0 only when nothing failed.
#
#   scripts/test.sh
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
started=$(date +%s)
logs="$repo/build/test-logs"

bash scripts/setup.sh || { echo "test: installing the tools failed"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$logs"

total_passed=0
total_failed=0
summary=()

record() {  # step passed failed note
    total_passed=$((total_passed + $2))
    total_failed=$((total_failed + $3))
    summary+=("$(printf '%-14s %5d passed %5d failed  %s' "$1" "$2" "$3" "$4")")
}

elapsed() { echo "$(( $(date +%s) - $1 ))s"; }

# configure and build one preset; on failure show the end of its log
build_preset() {  # preset
    local preset=$1 log="$logs/$1.build.log" t
    t=$(date +%s)
    echo "== build $preset"
    if cmake --preset "$preset" >"$log" 2>&1 && cmake --build --preset "$preset" -j2 >>"$log" 2>&1; then
        echo "   built in $(elapsed "$t")"
        return 0
    fi
    echo "   BUILD FAILED ($log):"
    grep -E 'error|Error' "$log" | head -n 20 | sed 's/^/   /'
    return 1
}

ctest_suite() {  # preset
    local preset=$1 log="$logs/$1.ctest.log" t line passed failed total
    if ! build_preset "$preset"; then
        record "$preset" 0 1 "build failed"
        return
    fi
    t=$(date +%s)
    echo "== ctest $preset"
    ctest --test-dir "build/$preset" -j2 --output-on-failure --no-tests=error >"$log" 2>&1
    local status=$?
    # "100% tests passed, 0 tests failed out of 57"
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        echo "   ctest gave no result ($log):"
        tail -n 20 "$log" | sed 's/^/   /'
        record "$preset" 0 1 "ctest gave no result"
        return
    fi
    failed=$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((total - failed))
    if [ "$failed" -eq 0 ] && [ $status -ne 0 ]; then
        failed=1  # ctest itself failed after the tests
    fi
    echo "   $line ($(elapsed "$t"))"
    if [ "$failed" -ne 0 ]; then
        sed -n '/The following tests FAILED/,$p' "$log" | sed 's/^/   /'
    fi
    record "$preset" "$passed" "$failed" "ctest, $log"
}

build_check() {  # preset; returns the build's status
    if build_preset "$1"; then
        record "$1" 1 0 "build"
        return 0
    fi
    record "$1" 0 1 "build failed, $logs/$1.build.log"
    return 1
}

ctest_suite sim
ctest_suite sim-sanitize
ctest_suite sim-armel

log="$logs/fuzz.log"
t=$(date +%s)
echo "== fuzz (${ZARVIC_FUZZ_SECONDS:=5}s per target)"
bash scripts/fuzz.sh "$ZARVIC_FUZZ_SECONDS" >"$log" 2>&1
grep -E '^(PASS|FAIL) ' "$log" | sed 's/^/   /'
line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
if [ -z "$line" ]; then
    tail -n 20 "$log" | sed 's/^/   /'
    record fuzz 0 1 "no result, $log"
else
    read -r passed _ failed _ <<<"$line"
    echo "   $line ($(elapsed "$t"))"
    record fuzz "$passed" "$failed" "libFuzzer, $log; crashes in build/fuzz/artifacts"
fi
win64_built=0
build_check win64 && win64_built=1
build_check win32
wince_built=0
build_check wince-x86 && wince_built=1

if [ $win64_built -eq 1 ]; then
    log="$logs/e2e.log"
    t=$(date +%s)
    echo "== e2e under Wine"
    python3 tests/e2e/run_e2e.py 2>&1 | tee "$log" | grep -E '^(PASS|FAIL) |^e2e: done again'
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        echo "   the e2e runner gave no result ($log):"
        tail -n 20 "$log" | sed 's/^/   /'
        record e2e 0 1 "no result"
    else
        read -r passed _ failed _ <<<"$line"
        echo "   $line ($(elapsed "$t"))"
        if [ "$failed" -ne 0 ]; then
            sed -n '/^FAIL /,/^     files:/p' "$log" | sed 's/^/   /'
        fi
        record e2e "$passed" "$failed" "Wine, $log; screenshots in build/e2e/screenshots"
    fi
else
    record e2e 0 1 "not run: the win64 build failed"
fi

echo "== platform names the logic uses"
log="$logs/api.log"
bash tests/api/check_platform_api_test.sh >"$log" 2>&1
api_passed=$(grep -c '^ok ' "$log")
api_failed=$(grep -c '^FAIL ' "$log")
[ $((api_passed + api_failed)) -gt 0 ] || api_failed=1
grep -E '^(ok|FAIL) ' "$log" | sed 's/^/   /'
record api "$api_passed" "$api_failed" "CE 4.10 names, $log"

echo "== the device image links against CE's exports only"
log="$logs/ce-link.log"
if [ $wince_built -eq 1 ]; then
    bash tests/api/ce_link_test.sh >"$log" 2>&1
    link_passed=$(grep -c '^ok ' "$log")
    link_failed=$(grep -c '^FAIL ' "$log")
    [ $((link_passed + link_failed)) -gt 0 ] || link_failed=1
    grep -E '^(ok|FAIL) ' "$log" | sed 's/^/   /'
    record ce-link "$link_passed" "$link_failed" "build/wince-x86/Zarvic.exe, $log"
else
    record ce-link 0 1 "not run: the wince-x86 build failed"
fi

echo
echo "== summary ($(elapsed "$started"))"
printf '   %s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && [ "$total_passed" -gt 0 ]
