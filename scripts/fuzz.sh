#!/usr/bin/env bash
# Builds the fuzz targets in fuzz/ with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, runs each for the given time and prints how
# many inputs each tried and what it found:
#   scripts/fuzz.sh [SECONDS-PER-TARGET] [TARGET...]   (60 s, every target by default)
# The build folder is SKELVO_FUZZ_BUILD (build-fuzz under the repository by
# default); it holds each target's corpus, which grows from run to run, and
# the full output of the last run. An input that crashes a target is kept
# in fuzz/crashes/TARGET/ and tried again by every later run.
# SKELVO_PARADOX_SAMPLES names a folder of Paradox tables from other
# programs to start the table reader's corpus with (../shared/paradox-samples
# beside the repository by default); SKELVO_FUZZ_OPTIONS adds
# libFuzzer options (e.g. "-ignore_crashes=1 -fork=1" to go on past a crash).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
build=${SKELVO_FUZZ_BUILD:-$root/build-fuzz}
samples=${SKELVO_PARADOX_SAMPLES:-$root/../shared/paradox-samples}
all_targets=(time_text settings_file csv_format grid_layout sql_parser paradox_table journal)
targets=("$@")
((${#targets[@]})) || targets=("${all_targets[@]}")

"$root/scripts/install-deps.sh"
"$root/scripts/install-deps.sh" "$root/scripts/fuzz-packages.txt"

# Every library gets coverage and the sanitizers; only the targets link
# libFuzzer's main.
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DSKELVO_FUZZ=ON \
    -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-g -O1 -fsanitize=fuzzer-no-link $sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" --target "${targets[@]/%/_fuzz}" paradox_table_seeds journal_seeds

# The first inputs of each target, made afresh each run beside its corpus.
# Where a target splits its input into texts, a backslash and a ";" end each.
make_seeds() {
    local target=$1 seeds=$2
    case $target in
    time_text)
        printf '09:30\\;10:05\\;\x00\x00\x00\x32' >"$seeds/clock"
        printf -- '-0:30\\;1234:05\\;' >"$seeds/negative"
        ;;
    settings_file)
        printf 'New\\;Height\\;480\\;Other\\;x\\;[Main]\nHeight = 600\n; note\n[Other]\nx="  y "\r' \
            >"$seeds/ini"
        ;;
    csv_format)
        printf '1,2,"JA2345","a ""b"", c",,\r\n3,4\r\n' >"$seeds/cp932"
        printf '\xef\xbb\xbf1,"\xe6\xbb\x91\xe7\xa9\xba"\n' >"$seeds/utf8"
        ;;
    grid_layout)
        printf '36;\x94\x4e;yyyy;0\r\n-1;\x8c\x8e\x93\xfa;mmdd;0\r\n120;crew;crew;6\r\n' >"$seeds/layout"
        ;;
    sql_parser)
        cp "$root"/commands/*.PRDX "$seeds/"
        printf 'SELECT * FROM "JA2345.DB" WHERE ct >= 1 AND NOT (crew IS NULL OR sb <> -2.5) ORDER BY ct, sb DESC' \
            >"$seeds/select"
        printf "INSERT INTO t (a, b) VALUES ('x''y', NULL);" >"$seeds/insert"
        printf "UPDATE t SET a = TRUE, b = 1e3 WHERE c = 'z'" >"$seeds/update"
        printf 'DELETE FROM t WHERE a != 1' >"$seeds/delete"
        printf 'SAVEPOINT s1' >"$seeds/savepoint"
        printf 'ROLLBACK TO SAVEPOINT s1' >"$seeds/rollback"
        printf 'SELECT COUNT(*) FROM t' >"$seeds/count"
        printf 'DROP TABLE t' >"$seeds/drop"
        ;;
    paradox_table)
        local sample_folders=()
        [[ -d $samples ]] && sample_folders=("$samples")
        "$build/fuzz/paradox_table_seeds" "$seeds" "${sample_folders[@]}"
        ;;
    journal)
        "$build/fuzz/journal_seeds" "$seeds" >/dev/null
        ;;
    esac
}

# libFuzzer prints its counters at the end, also after a crash.
executions() {
    sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -n 1
}

export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1
read -r -a extra_options <<<"${SKELVO_FUZZ_OPTIONS:-}"
summary=()
status=0
for target in "${targets[@]}"; do
    corpus=$build/fuzz-corpus/$target
    seeds=$build/fuzz-seeds/$target
    crashes=$root/fuzz/crashes/$target
    log=$build/fuzz-logs/$target.log
    rm -rf "$seeds"
    mkdir -p "$corpus" "$seeds" "$crashes" "$(dirname "$log")"
    make_seeds "$target" "$seeds"
    known=$(find "$crashes" -type f | wc -l)
    echo "== $target: ${seconds} s"
    failed=0
    "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashes/" "${extra_options[@]}" \
        "$corpus" "$seeds" "$crashes" >"$log" 2>&1 || failed=1
    # With -fork the exit status is only the last child's: new inputs in
    # the crash folder count as a finding whatever it says.
    found=$(($(find "$crashes" -type f | wc -l) - known))
    result=ok
    if ((failed || found > 0)); then
        result="CRASH ($found new in fuzz/crashes/$target)"
        status=1
    fi
    runs=$(executions "$log")
    echo "   ${runs:-?} executions, $result (output: $log)"
    summary+=("| $target | $seconds | ${runs:-?} | $result |")
done

echo
echo '| target | seconds | executions | result |'
echo '|---|---:|---:|---|'
printf '%s\n' "${summary[@]}"
exit $status
