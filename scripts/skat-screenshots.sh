#!/usr/bin/env bash
# Pictures of skat on the demo data for the README: the main window with
# each tab and with its Database menu open, the Index window, the double-
# entry dialog, the entry editor of each kind, the About box, the help
# window, the Flight Plan dialog with its route picture, a printed page,
# the loading window and the map window (round Paris with a line selected,
# and with the plan), saved as PNG files (default folder:
# shell/skat/pictures).
# Runs skat under xvfb-run with SKAT_SCREENSHOTS set, which makes it save
# the pictures once the database is loaded and end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/shell/skat/pictures}")
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target skat skat-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/FS2002"
cp -R demo/NavData "$work/FS2002/NavData"
build/default/shell/skat-cli --navdata "$work/FS2002/NavData" scan demo/Scenery \
  --duplicates=keep-existing >/dev/null
mkdir -p "$out"
SKAT_SCREENSHOTS="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  build/default/shell/skat/skat "$work/FS2002"
ls "$out"
