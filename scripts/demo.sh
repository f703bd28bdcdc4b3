#!/usr/bin/env bash
# Installs what is missing, builds, copies the demo database to
# build/demo/NavData and scans the bundled real-world scenery into it, then
# opens skat on it when a display is present; without one it prints the
# summary and the counts and says how to open the window. The committed
# files stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" default
cli="$root/build/default/shell/skat-cli"
skat="$root/build/default/shell/skat/skat"
simulator="$root/build/demo"
navdata="$simulator/NavData"
rm -rf "$navdata"
mkdir -p "$simulator"
cp -R "$root/demo/NavData" "$navdata"
"$cli" --navdata "$navdata" scan "$root/demo/Scenery" --duplicates=keep-existing
if [[ -z "${CI:-}" && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
  echo "Opening skat on $simulator"
  exec "$skat" "$simulator"
fi
"$cli" --navdata "$navdata" check
echo
echo "No display here. To open the window on this database:"
echo "    $skat $simulator"
echo "(or, without a display: xvfb-run -a $skat $simulator)"
