#!/usr/bin/env bash
# Installs what is needed, builds, prepares a demo logbook in a local folder
# store (once; nothing of the user's is overwritten) and starts the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target skelvo skelvo-demo

demo="$root/demo"
"$root/build/app/skelvo-demo" "$demo" "$root/commands"

# The settings file beside the program points at the demo folder, with the
# sample aircraft's maintenance limits, unless the user has one already.
ini="$root/build/app/skelvo.INI"
if [[ ! -e $ini ]]; then
    printf '[Database]\nDatabaseKind=2\nDatabaseName=%s\nTableName=JA2401\n' "$demo" >"$ini"
    "$root/build/app/skelvo-demo" "$demo" "$root/commands" "$ini"
fi

# The command files that create tables are read from the current folder.
cd "$demo"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    exec xvfb-run -a "$root/build/app/skelvo"
fi
exec "$root/build/app/skelvo"
