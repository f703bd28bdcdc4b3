#!/usr/bin/env bash
# Installs what is missing, builds, copies the demo database to
# build/demo/NavData and scans the bundled real-world scenery into it,
# then prints the summary and the counts. The committed files stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" default
cli="$root/build/default/shell/skat-cli"
navdata="$root/build/demo/NavData"
rm -rf "$navdata"
mkdir -p "$(dirname "$navdata")"
cp -R "$root/demo/NavData" "$navdata"
"$cli" --navdata "$navdata" scan "$root/demo/Scenery" --duplicates=keep-existing
"$cli" --navdata "$navdata" check
