#!/usr/bin/env bash
# Builds the Debian package of the program into build-package/:
#   scripts/package.sh           the .deb, and what it holds
#   scripts/package.sh --check   also installs its files into a staging root
#                                and has the installed program, started from
#                                an empty home folder under Xvfb, create a
#                                folder-store table and save a flight
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=$root/build-package
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    >/dev/null
cmake --build "$build" --target skelvo skelvodriver
rm -f "$build"/skelvo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/skelvo_*.deb)
echo "== $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends
dpkg-deb -c "$deb" | awk '{print $6}'

[[ ${1:-} == --check ]] || exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/stage"
mkdir -p "$work/home"
cd "$work/home"
status=0
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    QT_PLUGIN_PATH=$build/tests/installed/plugins \
    xvfb-run -a "$work/stage/usr/bin/skelvo" \
    -plugin "skelvodriver:$work/home/logbooks,$work/result" || status=$?
echo "== the installed program, started from an empty home folder: $(cat "$work/result" 2>/dev/null || echo 'no result')"
settings=$work/home/.config/Skelvo/skelvo.INI
if [[ $status -ne 0 || ! -f $settings ]] || ! grep -q 'TableName=JA4321' "$settings"; then
    echo "package check failed (exit $status; settings: $settings)" >&2
    exit 1
fi
echo "== settings kept in ~/.config/Skelvo/skelvo.INI; check passed"
