#!/usr/bin/env bash
# Builds the whole program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own, then runs the fast
# tests and the store tests there; any finding stops the test that made it:
#   scripts/sanitize.sh [BUILD-FOLDER [CTEST-ARGS...]]   (build-asan under the repository by default)
# The store tests' MariaDB server listens on SKELVO_SANITIZE_MARIADB_PORT
# (33947 by default), so that it can run beside the normal build's tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=${1:-$root/build-asan}
shift $(($# > 0 ? 1 : 0))
port=${SKELVO_SANITIZE_MARIADB_PORT:-33947}

"$root/scripts/install-deps.sh"

# Qt and fontconfig keep some of their allocations until the process ends;
# the suppressions name only those, so a leak in the program's own code
# still fails its test.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 $sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
    -DSKELVO_TEST_MARIADB_PORT="$port"
cmake --build "$build"
cd "$build"
ctest --output-on-failure --timeout 1200 -L 'unit|store' "$@"
