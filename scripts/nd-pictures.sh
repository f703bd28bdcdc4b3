#!/usr/bin/env bash
# Makes the pictures of the navigation display shown in host/README.md:
#   bash scripts/nd-pictures.sh
# Builds the module, ndhost and skat-cli, sets up a simulator folder under
# build/nd-pictures with the real-world demo database around Paris
# (demo/NavData) and an ND plan from Paris Orly to Beauvais-Tille, and runs
# ndhost once per picture, writing host/pictures/*.png at zoom 2.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default
[ -f "$build/build.ninja" ] || cmake --preset default
nice cmake --build "$build" --target Lumaro ndhost skat-cli -j2

sim=build/nd-pictures/sim
out=host/pictures
rm -rf build/nd-pictures
mkdir -p "$sim/Gauges" "$sim/NavData" "$out"
cp "$build/gauge/Lumaro.gau" "$sim/Gauges/"
cp demo/NavData/{ndb,vor,apt,int,idx}.dat "$sim/NavData/"

cli="$build/shell/skat-cli --navdata $sim/NavData"
$cli perf save TBM850 --climb-rate 1500 --climb-speed 160 --descent-rate 1000 \
  --descent-speed 180 --cruise-altitude 9000 --cruise-speed 220 >/dev/null
$cli plan create ORYBVA --departure LFPO/02 --arrival LFOB/04 --via vor:PON \
  --perf TBM850 --no-sid-star >/dev/null
plan="$sim/NavData/FlightPlans/ORYBVA.pln"

# Each picture starts from its own modes: NDMode, MapMode, Item, Range.
modes() { printf '%s\r\n' "$@" >"$sim/Gauges/NDmode.tmp"; }
ndhost() { "$build/host/ndhost" --sim-root "$sim" --zoom 2 "$@"; }
# The radios are computed from the database as the aircraft flies.
radios=(--nav1 PGS --adf OYE --wind 250/18)

modes 1 0 30 40
ndhost --frames 120 --lat 48.65 --lon 2.30 --heading 20 --speed 160 "${radios[@]}" \
  --png "$out/vor-arc.png"

modes 0 0 30 40
ndhost --frames 120 --lat 48.65 --lon 2.30 --heading 20 --speed 160 "${radios[@]}" \
  --marker 2 --png "$out/vor-full-compass.png"

# Flown from Orly for a while, so the trail has a few points behind the aircraft.
modes 1 1 31 40
ndhost --frames 1400 --fps 18 --speed 400 --route "$plan" --fly "${radios[@]}" \
  --png "$out/map-range-40.png"

modes 0 2 21 40
ndhost --frames 120 --lat 48.85 --lon 2.25 --heading 317 --speed 160 --route "$plan" \
  "${radios[@]}" --png "$out/plan.png"

# A simulator folder without the database files.
mkdir -p build/nd-pictures/empty/Gauges
cp "$build/gauge/Lumaro.gau" build/nd-pictures/empty/Gauges/
printf '1\r\n1\r\n31\r\n40\r\n' >build/nd-pictures/empty/Gauges/NDmode.tmp
"$build/host/ndhost" --sim-root build/nd-pictures/empty --zoom 2 --frames 120 \
  --lat 48.73 --lon 2.37 --heading 20 --png "$out/database-error.png"

ls -l "$out"
