#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, ASan, UBSan on the simulated
# device) and runs each one for SECONDS (default 60), one after the other, starting from
# its corpus in tests/fuzz/corpus/<name>/ (new inputs it finds stay in build/fuzz/corpus/).
# A target passes when it finds nothing; a crash leaves its input in build/fuzz/artifacts/.
# The last line is "N passed, M failed". Naming targets runs only those (so that two long
# runs can share a two-core machine).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail

seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
only=" $* "
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
for name in "$@"; do
    if [ ! -d "tests/fuzz/corpus/$name" ]; then
        echo "fuzz: no target called $name (tests/fuzz/corpus/ names them)"
        echo "0 passed, 1 failed"
        exit 1
    fi
done
out="$repo/build/fuzz"
mkdir -p "$repo/build"
bash scripts/setup.sh >/dev/null || { echo "fuzz: installing the tools failed"; echo "0 passed, 1 failed"; exit 1; }

if ! { cmake --preset fuzz >"$out.configure.log" 2>&1 && cmake --build --preset fuzz -j2 >"$out.build.log" 2>&1; }; then
    echo "fuzz: the build failed ($out.configure.log, $out.build.log):"
    grep -E 'error|Error' "$out.configure.log" "$out.build.log" | head -n 20 | sed 's/^/   /'
    echo "0 passed, 1 failed"
    exit 1
fi

passed=0
failed=0
mkdir -p "$out/artifacts" "$out/logs"
for seeds in tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    if [ "$only" != "  " ] && [[ "$only" != *" $name "* ]]; then
        continue
    fi
    target="$out/${name}_fuzz"
    corpus="$out/corpus/$name"
    log="$out/logs/$name.log"
    mkdir -p "$corpus"
    # The device's own leak accounting checks Zarvic; LeakSanitizer would also report the
    # host memory of the many short-lived devices a run makes.
    ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=1024 \
        -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" "$corpus" "$seeds" >"$log" 2>&1
    status=$?
    stats=$(grep -E '^stat::(number_of_executed_units|new_units_added)' "$log" | sed -E 's/^stat::([a-z_]+): *([0-9]+)/\1=\2/' | tr '\n' ' ')
    coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
    if [ $status -eq 0 ]; then
        passed=$((passed + 1))
        echo "PASS $name ($coverage; $stats)"
    else
        failed=$((failed + 1))
        echo "FAIL $name (exit $status, $log):"
        grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -n 5 | sed 's/^/   /'
    fi
done
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
