// The text of ndhost --help: usage, options, keys and the host variables.
#include "command_line.h"
#include "window_controls.h"

namespace ndhost {

namespace {

// The synopsis in the form man-page tools read; errors print UsageText().
constexpr const char* kSynopsis =
    "Usage: ndhost --sim-root DIR [OPTION]...\n"
    "  or:  ndhost --help | --version\n"
    "\n"
    "Stands in for the flight simulator: loads the Lumaro display module, feeds\n"
    "it an aircraft, its radios from the database in DIR/NavData, keys and a\n"
    "route, and shows its panel in a window or saves it as PNG pictures.\n"
    "\n";

constexpr const char* kOptions =
    "Options:\n"
    "  --sim-root DIR          the simulator folder (NavData/*.dat, Gauges/Lumaro.gau;\n"
    "                          without the module there, the one installed with ndhost)\n"
    "  --module FILE           another module file\n"
    "  --format 1|2            element images as 8-bit palette indices or 1-5-5-5\n"
    "  --frames N, --fps N     headless: frames to run, simulated frames a second\n"
    "  --png OUT.png           save the panel at the end; --png-at FRAME:OUT.png at a frame\n"
    "  --zoom N                the window and the pictures at N times the panel (1 to 8)\n"
    "  --lat DEG --lon DEG     start position; --heading DEG (magnetic), --speed KT\n"
    "                          (airspeed), --alt FT\n"
    "  --wind DIR/SPEED        wind from DIR (true) at SPEED knots; the aircraft drifts\n"
    "  --nav1 IDENT|MHZ        tune NAV 1 to a VOR, ILS or DME of NavData/vor.dat;\n"
    "                          --nav1-freq MHZ picks the station of that identifier on\n"
    "                          that frequency; --course DEG sets its course (default: an\n"
    "                          ILS's localizer, else the course to the station)\n"
    "  --nav2 IDENT|MHZ        tune NAV 2 (bearing needle and DME 2)\n"
    "  --adf IDENT|KHZ         tune the ADF to an NDB of NavData/ndb.dat\n"
    "  --dme NM, --adf-bearing DEG, --marker 0-3\n"
    "                          fixed values in place of the computed ones\n"
    "  --route PLAN.pln        publish an ND plan as the route block; --fly follows it\n"
    "  --route-at FRAME:PLAN.pln  publish another plan at that frame\n"
    "  --keys FRAME:KEY,...    key presses: [shift+][ctrl+]NAME, NAME a letter, digit,\n"
    "                          tab, space, enter, left, right, up, down, pgup, pgdn,\n"
    "                          f1..f12 or #code\n"
    "  --report                print the module's state, the flight and the radios at the end\n"
    "  --trace N               print the flight and the radios every N frames\n"
    "  --window                fly in a window (Qt 6 and a display)\n"
    "  --fgfs-udp PORT         follow FlightGear's packets (protocol skyatlas-nd) sent to\n"
    "                          127.0.0.1:PORT instead of flying; not with --fly\n"
    "  --version               print the version\n"
    "An unknown station identifier or frequency stops ndhost with exit status 2.\n";

constexpr const char* kVariables =
    "host variables fed to the display every frame (token: value):\n"
    "  81 heading (magnetic: true heading - NAV 1 station's variation)\n"
    "  24 NAV 1 frequency (BCD)   47 NAV 1 identifier     45 NAV 1 selected course\n"
    "  46 NAV 1 flags: 0x80 ILS, 0x01 DME received, 0x08 no signal\n"
    "  40 course deviation (+-127 at 10 deg of a VOR radial, 2.5 deg of a localizer)\n"
    "  42 to/from flags: 0x04 from     49 deviation range: 0 received, 99999 not\n"
    "  41 glide-slope deviation (+-119 at 0.7 deg off a 3 deg path, + above)\n"
    "  44 glide-slope scale: 1 while the glide slope is received\n"
    "  31 DME 1 slant distance (NM)   32 ground speed (kt)   107 selected heading\n"
    "  55 NAV 2 flags (0x01 DME, 0x08 no signal)   56 NAV 2 identifier\n"
    "  59 NAV 2 relative bearing      35 DME 2 slant distance (NM)\n"
    "  19 ADF identifier   20 ADF receiving (1/0)   39 ADF relative bearing\n"
    "  354 marker: 1 outer, 2 middle, 3 inner, over the tuned ILS's approach\n"
    "  343 wind speed (kt)   344 wind direction (magnetic)\n"
    "  71 latitude, 72 longitude (host units)\n"
    "  82 course offset (NAV 1 station's variation)   86 map heading (true heading)\n"
    "Out of a station's range (its database range, slant distance) its receiver\n"
    "shows no signal.\n";

}  // namespace

std::string HelpText() {
  return kSynopsis + std::string(kOptions) + FlightKeyLegend() + kVariables;
}

}  // namespace ndhost
