#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests and benchmarks need,
# or those of another list of the same form (one package a line, # comments):
#   scripts/install-deps.sh [LIST-FILE]
# Safe to run again: when every package is present it changes nothing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list=${1:-$here/debian-packages.txt}
mapfile -t packages < <(grep -v -E '^\s*(#|$)' "$list")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
