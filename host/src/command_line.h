// The command line of ndhost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace ndhost {

struct ScheduledKey {
  int frame = 0;
  uint32_t virtualKey = 0;
  bool shift = false;
  bool ctrl = false;
};

struct ScheduledRoute {
  int frame = 0;
  std::string planPath;
};

struct ScheduledPicture {
  int frame = 0;
  std::string pngPath;
};

struct CommandLine {
  std::string simulatorRoot;
  std::string modulePath;  // default: <sim-root>/Gauges/Lumaro.gau
  uint32_t formatCode = 1;
  int frames = 100;
  double framesPerSecond = 18;
  std::string pngPath;
  std::optional<double> latitudeDeg;
  std::optional<double> longitudeDeg;
  double headingDeg = 0;
  double groundSpeedKt = 0;
  double altitudeFt = 0;
  // Receivers are tuned by identifier or frequency text; --nav1-freq narrows
  // an identifier to the station on that frequency.
  std::string nav1Ident;
  double nav1FrequencyMhz = 0;
  std::optional<double> nav1CourseDeg;
  std::string nav2Ident;
  std::string adfIdent;
  // Fixed values in place of the computed ones.
  std::optional<double> dmeNm;
  std::optional<double> adfBearingDeg;
  std::optional<double> marker;
  double windDirectionDeg = 0;
  double windSpeedKt = 0;
  std::string routePath;
  bool flyRoute = false;
  std::vector<ScheduledRoute> laterRoutes;  // published at their frames, replacing the route
  std::vector<ScheduledKey> keys;
  std::vector<ScheduledPicture> pictures;  // --png-at
  bool report = false;
  int traceEvery = 0;  // --trace N: the flight and radios every N frames
  bool window = false;
  int zoom = 2;          // window and PNG: panel pixels per image pixel
  bool help = false;     // --help: print the usage and run nothing
  bool version = false;  // --version: print the version and run nothing
  // --fgfs-udp PORT: follow FlightGear's packets on 127.0.0.1:PORT (fgfs_feed.h)
  std::optional<uint16_t> fgfsUdpPort;
};

// Parses "FRAME:KEY[,FRAME:KEY...]" with KEY as [shift+][ctrl+]NAME, NAME a
// letter or digit, "tab", "space", "enter", "left", "right", "up", "down",
// "pgup", "pgdn", "f1".."f12", or "#code" (virtual-key code).
platform::Result<std::vector<ScheduledKey>> ParseKeyList(const std::string& keyList);

// Parses argv; fails with the message of a usage error. "--help" (or "-h")
// in the place of an option gives a line with only `help` set, "--version"
// one with only `version` set.
platform::Result<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
// --help: the usage, the options, the keys and the host variables fed.
std::string HelpText();

}  // namespace ndhost
