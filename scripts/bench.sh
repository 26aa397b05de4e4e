#!/usr/bin/env bash
# Runs the store benchmarks against a private MariaDB server (and its ODBC
# data source) that it starts and stops itself:
#   scripts/bench.sh [BUILD-FOLDER] [ROWS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rows=${2:-10000}
dir=$build/mariadb-bench
port=${SKELVO_BENCH_MARIADB_PORT:-33957}
cmake --build "$build" --target csv_benchmark recalc_benchmark journey_log_benchmark >/dev/null
bash "$root/tests/fixtures/mariadb.sh" start "$dir" "$port" >/dev/null
trap 'bash "$root/tests/fixtures/mariadb.sh" stop "$dir" >/dev/null' EXIT
export SKELVO_TEST_MYSQL_HOST=127.0.0.1 SKELVO_TEST_MYSQL_PORT=$port \
    SKELVO_TEST_MYSQL_DATABASE=skelvo_test SKELVO_TEST_MYSQL_USER=skelvo \
    SKELVO_TEST_MYSQL_PASSWORD=skelvo-pw SKELVO_TEST_ODBC_DSN=skelvo_test \
    ODBCSYSINI=$dir ODBCINI=$dir/odbc.ini
"$build/bench/recalc_benchmark" "$rows"
"$build/bench/csv_benchmark" "$rows"
"$build/bench/journey_log_benchmark" "$rows"
