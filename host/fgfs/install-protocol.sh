#!/usr/bin/env bash
# Installs skyatlas-nd.xml into a FlightGear data folder's Protocol/, so that
# fgfs --generic=socket,out,RATE,127.0.0.1,PORT,udp,skyatlas-nd finds it.
# Usage: install-protocol.sh [FG_ROOT]
# The data folder is the argument, else $FG_ROOT, else Debian's
# /usr/share/games/flightgear. A protocol file of that name that differs is
# kept beside the new one as skyatlas-nd.xml.bak.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_file="$here/skyatlas-nd.xml"
fg_root=${1:-${FG_ROOT:-/usr/share/games/flightgear}}
protocol_dir="$fg_root/Protocol"
target="$protocol_dir/skyatlas-nd.xml"

if [ ! -d "$fg_root" ]; then
  echo "install-protocol.sh: no FlightGear data folder at $fg_root" >&2
  exit 1
fi
if [ ! -d "$protocol_dir" ]; then
  echo "install-protocol.sh: $fg_root has no Protocol folder; is it FlightGear's data folder?" >&2
  exit 1
fi
if [ -f "$target" ] && cmp -s "$source_file" "$target"; then
  echo "$target is up to date"
  exit 0
fi
if [ -f "$target" ]; then
  cp -p "$target" "$target.bak" || { echo "install-protocol.sh: cannot keep $target as $target.bak" >&2; exit 1; }
fi
# Copy beside the target, then rename, so FlightGear never reads half a file.
temporary="$protocol_dir/.skyatlas-nd.xml.$$"
if ! cp "$source_file" "$temporary" || ! chmod 644 "$temporary" || ! mv -f "$temporary" "$target"; then
  rm -f "$temporary"
  echo "install-protocol.sh: cannot write $target (run it as a user who may write there)" >&2
  exit 1
fi
echo "installed $target"
