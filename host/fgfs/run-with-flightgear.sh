#!/usr/bin/env bash
# Runs ndhost against a real FlightGear (Debian's flightgear package) on this
# machine, headless: fgfs under Xvfb sends host/fgfs/skyatlas-nd.xml packets
# to ndhost on the loopback address, and ndhost saves the panel it shows.
# Not part of the tests: FlightGear's data is 1.8 GB and its start takes a
# minute on two cores.
#
#   bash host/fgfs/run-with-flightgear.sh OUT.png [MODES]
#
# MODES is the display's mode file as four numbers "NDMode MapMode Item Range"
# (default "1 0 30 40": arc, VOR mode, range 40). The aircraft is FlightGear's
# ufo on an 8 nm final to runway 27R of Paris-Charles de Gaulle at 2500 ft,
# NAV 1 on the runway's ILS (PNW 110.35), NAV 2 on the PGS VOR (117.05), the
# ADF on the CGO NDB (343 kHz). The navaids come from demo/NavData.
# Environment: PORT (default 5500), SECONDS_TO_RUN (default 150), FGFS
# (default /usr/games/fgfs), FGFS_OPTIONS (more fgfs options, split at spaces).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:?usage: run-with-flightgear.sh OUT.png [MODES]}")
read -r nd_mode map_mode item range <<<"${2:-1 0 30 40}"
port=${PORT:-5500}
seconds=${SECONDS_TO_RUN:-150}
fgfs=${FGFS:-/usr/games/fgfs}
build="$root/build/default"

[ -x "$fgfs" ] || { echo "run-with-flightgear.sh: no FlightGear at $fgfs" >&2; exit 1; }
[ -x "$build/host/ndhost" ] || { echo "run-with-flightgear.sh: build ndhost and Lumaro first" >&2; exit 1; }
bash "$root/host/fgfs/install-protocol.sh"

work=$(mktemp -d)
sim="$work/sim"
mkdir -p "$sim/Gauges" "$sim/NavData"
cp "$build/gauge/Lumaro.gau" "$sim/Gauges/"
cp "$root"/demo/NavData/{ndb,vor,apt,int,idx}.dat "$sim/NavData/"
printf '%s\r\n' "$nd_mode" "$map_mode" "$item" "$range" >"$sim/Gauges/NDmode.tmp"

# FlightGear 2020.3 aborts without a D-Bus session bus, and shows a modal box
# (which nobody can close under Xvfb) for an unknown option.
# Its own session, so that FlightGear, Xvfb and the bus end together.
setsid dbus-run-session -- xvfb-run -a "$fgfs" --aircraft=ufo --airport=LFPG --runway=27R \
  --offset-distance=8 --altitude=2500 --heading=265 --vc=160 --timeofday=noon \
  --disable-sound --disable-splash-screen --disable-ai-traffic --disable-random-objects \
  --nav1=265:110.35 --nav2=117.05 --adf1=343 --prop:/autopilot/settings/heading-bug-deg=270 \
  --generic=socket,out,5,127.0.0.1,"$port",udp,skyatlas-nd ${FGFS_OPTIONS:-} >"$work/fgfs.log" 2>&1 &
fgfs_group=$!
stop_fgfs() {
  kill -TERM -- "-$fgfs_group" 2>/dev/null || true
  wait "$fgfs_group" 2>/dev/null || true
}
trap stop_fgfs EXIT

SKAT_SHM_PREFIX="fgfs-run-$$-" "$build/host/ndhost" --sim-root "$sim" --fps 18 \
  --frames $((seconds * 18)) --fgfs-udp "$port" --zoom 2 --png "$out" --report
echo "FlightGear's log: $work/fgfs.log"
