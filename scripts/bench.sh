#!/usr/bin/env bash
# Measures Zarvic's costs as instruction counts on the simulated device (callgrind), so that
# the figures do not depend on how busy the machine is.
#
#   scripts/bench.sh [AREA...]     (default: every tests/bench/bench_AREA.cpp)
#   scripts/bench.sh wine          latency under Wine, beside bare programs (tests/e2e/bench_wine.py)
#
# Builds the sim preset, asks each program build/sim/zarvic_bench_AREA for its items
# (--list), and prints
#   bench CASE INSTRUCTIONS     for every case, counted under callgrind,
#   ratio NAME VALUE            for every ratio of two cases and every count,
# a ratio or count above its goal followed by "OVER GOAL <goal>". The exit code is 0 only
# when every program ran and every figure is within its goal. Callgrind's files and the
# programs' output are kept in build/bench/.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
out="$repo/build/bench"

bash scripts/setup.sh >/dev/null || { echo "bench: installing the tools failed" >&2; exit 1; }
mkdir -p "$out"

# Under Wine only times felt by a person count, as ratios to bare programs in the same run.
if [ "${1:-}" = wine ]; then
    if ! { cmake --preset win64 && cmake --build --preset win64 -j2; } >"$out/build-win64.log" 2>&1; then
        echo "bench: the win64 build failed ($out/build-win64.log)" >&2
        exit 1
    fi
    shift
    exec python3 tests/e2e/bench_wine.py "$@"
fi

if ! { cmake --preset sim && cmake --build --preset sim -j2; } >"$out/build.log" 2>&1; then
    echo "bench: the sim build failed ($out/build.log):" >&2
    grep -E 'error|Error' "$out/build.log" | head -n 20 >&2
    exit 1
fi

programs=()
if [ $# -gt 0 ]; then
    for area in "$@"; do programs+=("build/sim/zarvic_bench_$area"); done
else
    for source in tests/bench/bench_*.cpp; do
        [ -e "$source" ] || continue
        area=$(basename "$source" .cpp)
        programs+=("build/sim/zarvic_${area}")
    done
fi
[ ${#programs[@]} -gt 0 ] || { echo "bench: no bench programs" >&2; exit 1; }

failed=0
declare -A counted     # "program case" -> instructions
items=()               # "program ratio NAME NUMERATOR DENOMINATOR GOAL" or "program count NAME GOAL"

for program in "${programs[@]}"; do
    name=$(basename "$program")
    if ! list=$("$program" --list); then
        echo "bench: $program --list failed" >&2
        failed=1
        continue
    fi
    while read -r kind item rest; do
        case "$kind" in
        case)
            file="$out/$name.$item.callgrind"
            rm -f "$file"
            if valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$file" \
                "$program" case "$item" </dev/null >"$out/$name.$item.log" 2>&1; then
                instructions=$(awk '/^(summary|totals):/ { n = $2 } END { print n }' "$file")
                counted["$name $item"]=$instructions
                echo "bench $item $instructions"
            else
                echo "bench $item FAILED ($out/$name.$item.log)"
                failed=1
            fi
            ;;
        ratio | count) items+=("$program $kind $item $rest") ;;
        "") ;;
        *) echo "bench: $program lists an unknown item: $kind $item $rest" >&2; failed=1 ;;
        esac
    done <<<"$list"
done

# ratio NAME VALUE GOAL: prints the line and returns 1 when VALUE is above GOAL
report() {
    awk -v name="$1" -v value="$2" -v goal="$3" 'BEGIN {
        over = value + 0 > goal + 0
        printf "ratio %s %#.4g%s\n", name, value, over ? " OVER GOAL " goal : ""
        exit over
    }'
}

for entry in "${items[@]}"; do
    read -r program kind item a b c <<<"$entry"
    name=$(basename "$program")
    if [ "$kind" = ratio ]; then
        numerator=${counted["$name $a"]:-}
        denominator=${counted["$name $b"]:-}
        if [ -z "$numerator" ] || [ -z "$denominator" ] || [ "$denominator" -eq 0 ]; then
            echo "ratio $item FAILED (no count for $a or $b)"
            failed=1
            continue
        fi
        report "$item" "$(awk -v n="$numerator" -v d="$denominator" 'BEGIN { printf "%.10g", n / d }')" "$c" || failed=1
    else
        value=$("$program" count "$item" </dev/null 2>"$out/$name.$item.log" | awk -v name="$item" '$1 == name { print $2 }')
        if [ -z "$value" ]; then
            echo "ratio $item FAILED ($out/$name.$item.log)"
            failed=1
            continue
        fi
        report "$item" "$value" "$a" || failed=1
    fi
done

exit $failed
