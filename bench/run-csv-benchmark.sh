#!/usr/bin/env bash
# Runs the CSV benchmark against a private MariaDB server (and its ODBC data
# source) that it starts and stops itself: bench/run-csv-benchmark.sh [BUILD] [ROWS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rows=${2:-10000}
dir=$build/mariadb-bench
port=${SKELVO_BENCH_MARIADB_PORT:-33957}
bash "$root/tests/fixtures/mariadb.sh" start "$dir" "$port" >/dev/null
trap 'bash "$root/tests/fixtures/mariadb.sh" stop "$dir" >/dev/null' EXIT
SKELVO_TEST_MYSQL_HOST=127.0.0.1 SKELVO_TEST_MYSQL_PORT=$port \
SKELVO_TEST_MYSQL_DATABASE=skelvo_test SKELVO_TEST_MYSQL_USER=skelvo \
SKELVO_TEST_MYSQL_PASSWORD=skelvo-pw SKELVO_TEST_ODBC_DSN=skelvo_test \
ODBCSYSINI=$dir ODBCINI=$dir/odbc.ini \
    "$build/bench/csv_benchmark" "$rows"
