#include "shell/skat/command_line.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "platform/installation.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: skat [SIMULATOR_FOLDER]\n"
    "  or:  skat --help | --version\n"
    "\n"
    "The desktop program of Skyatlas: the navaid database of a flight simulator\n"
    "in four lists (NDBs, VOR/ILS/DME stations, airport runways, intersections)\n"
    "with their entry editors, the scan of the simulator's scenery files into\n"
    "the database, the geographic index and the flight planner.\n"
    "\n"
    "SIMULATOR_FOLDER is the simulator's folder or its NavData folder. Without\n"
    "it, skat started inside a NavData folder takes the folder above it as the\n"
    "simulator's; anywhere else it warns that the simulator was not found and\n"
    "uses the current directory as the database folder.\n"
    "\n"
    "skat holds the database lock (skat.lock in the NavData folder) from its\n"
    "load until it ends, so that no other program changes the database in the\n"
    "meantime. A second skat brings the running window to the front. Qt's own\n"
    "options (-platform, -style, ...) are taken as well.\n"
    "\n"
    "Exit status: 0 when the window was closed (or another skat brought to the\n"
    "front), 1 when another program holds the database lock or saving\n"
    "screenshots failed.\n";

}  // namespace

std::optional<int> AnswerHelpOrVersion(const std::vector<std::string>& arguments,
                                       std::ostream& out) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << kHelp;
      return 0;
    }
    if (argument == "--version") {
      out << "skat (Skyatlas) " << platform::SkyatlasVersion() << '\n';
      return 0;
    }
  }
  return std::nullopt;
}
