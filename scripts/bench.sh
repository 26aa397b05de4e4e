#!/usr/bin/env bash
# Runs the store benchmarks at each row count against a private MariaDB
# server (and its ODBC data source) that it starts and stops itself, and
# writes their lines as one table to stdout and BUILD-FOLDER/bench-results.md:
#   scripts/bench.sh [BUILD-FOLDER] [ROWS...]   (rows 1000 10000 100000 by default)
# Anything else the benchmarks print goes to stderr.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift $(($# > 0 ? 1 : 0))
sizes=("$@")
((${#sizes[@]})) || sizes=(1000 10000 100000)
dir=$build/mariadb-bench
port=${SKELVO_BENCH_MARIADB_PORT:-33957}
results=$build/bench-results.md

benchmarks=(open_read_benchmark recalc_benchmark append_recalc_benchmark csv_benchmark
    statistics_benchmark)
if ! built=$(cmake --build "$build" --target "${benchmarks[@]}" 2>&1); then
    echo "$built" >&2
    exit 1
fi

bash "$root/tests/fixtures/mariadb.sh" start "$dir" "$port" >/dev/null
trap 'bash "$root/tests/fixtures/mariadb.sh" stop "$dir" >/dev/null' EXIT
export SKELVO_TEST_MYSQL_HOST=127.0.0.1 SKELVO_TEST_MYSQL_PORT=$port \
    SKELVO_TEST_MYSQL_DATABASE=skelvo_test SKELVO_TEST_MYSQL_USER=skelvo \
    SKELVO_TEST_MYSQL_PASSWORD=skelvo-pw SKELVO_TEST_ODBC_DSN=skelvo_test \
    ODBCSYSINI=$dir ODBCINI=$dir/odbc.ini

# A benchmark that fails stops where it is; the others still run and the
# script then fails.
table_lines() {
    local status=0
    echo '| work | store | rows | project ms | baseline ms | ratio | peak MiB |'
    echo '|---|---|---:|---:|---:|---:|---:|'
    for benchmark in "${benchmarks[@]}"; do
        for rows in "${sizes[@]}"; do
            "$build/bench/$benchmark" "$rows" | while IFS= read -r line; do
                if [[ $line == '| '* ]]; then echo "$line"; else echo "$line" >&2; fi
            done || status=1
        done
    done
    return $status
}
table_lines | tee "$results"
