#!/usr/bin/env bash
# Pictures of the desktop program's windows on the demo database, made
# without a display: bash scripts/skat-screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/default}")"
out="$(realpath -m "${2:-$root/docs/screenshots}")"
sim="$(mktemp -d)"
trap 'rm -rf "$sim"' EXIT
mkdir -p "$sim/NavData" "$out"
cp -r "$root/demo/NavData/." "$sim/NavData/"
cd "$sim/NavData"
SKAT_SCREENSHOTS="$out" QT_QPA_PLATFORM=offscreen "$build/shell/skat/skat"
echo "pictures in $out"
