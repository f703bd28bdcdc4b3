#!/usr/bin/env bash
# Makes the pictures of skat-cli map shown in README.md:
#   bash scripts/map-pictures.sh
# Builds skat-cli and the demo database tool, sets up build/map-pictures with
# the demo database (demo/NavData) and the demo scenery scanned into it, as
# scripts/demo.sh does, makes an ND plan from Paris Orly to Beauvais-Tille,
# and draws the world, Europe and Paris at 40 NM with that plan. The plan
# across the date line, from Nadi (Fiji) to Faleolo (Samoa), needs navaids
# there: a small database of the islands is made the way demo/NavData was
# made, from the real-world data beside the tree (../shared/data/navdata);
# without that data the picture is left as it is. Writes map/pictures/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default
[ -f "$build/build.ninja" ] || cmake --preset default
nice cmake --build "$build" --target skat-cli make_demo_database -j2

work=build/map-pictures
out=map/pictures
rm -rf "$work"
mkdir -p "$work" "$out"
cp -R demo/NavData "$work/NavData"
cli="$build/shell/skat-cli --navdata $work/NavData"
$cli scan demo/Scenery --duplicates=keep-existing >/dev/null

$cli perf save TBM850 --climb-rate 1500 --climb-speed 160 --descent-rate 1000 \
  --descent-speed 180 --cruise-altitude 9000 --cruise-speed 220 >/dev/null
$cli plan create ORYBVA --departure LFPO/02 --arrival LFOB/04 --via vor:PON \
  --perf TBM850 >/dev/null
plan="$work/NavData/FlightPlans/ORYBVA.pln"

$cli map --world --size 1200x600 --out "$out/world.png" --yes
$cli map --center 48.5,6 --range 900 --size 1200x900 --out "$out/europe.png" --yes
$cli map --center 48.85,2.35 --range 40 --size 1200x900 --plan "$plan" \
  --out "$out/paris-40nm.png" --yes

navdata=$(cmake -LA -N "$build" | sed -n 's/^SKAT_SHARED_DATA_DIR:PATH=//p')/navdata
if [ ! -d "$navdata" ]; then
  echo "no real-world data in $navdata: the date line picture is left as it is" >&2
  exit 0
fi
pacific="$work/Pacific/NavData"
"$build/tools/make_demo_database" "$navdata" "$pacific" -22 -10 174 -168
pcli="$build/shell/skat-cli --navdata $pacific"
$pcli perf save B737 --climb-rate 2500 --climb-speed 280 --descent-rate 2000 \
  --descent-speed 290 --cruise-altitude 33000 --cruise-speed 0.78 >/dev/null
$pcli plan create NFFNNSFA --departure NFFN/02 --arrival NSFA/08 \
  --via int:GODAP --via int:PARZO --via int:IDNIP --via int:DAKAM \
  --perf B737 >/dev/null
$pcli map --fit-plan --plan "$pacific/FlightPlans/NFFNNSFA.pln" --size 1200x700 \
  --out "$out/date-line.png" --yes
