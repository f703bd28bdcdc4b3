// The command line of ndhost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
  std::string nav1Ident;
  double nav1FrequencyMhz = 0;
  double dmeNm = 0;
  std::string adfIdent;
  double adfBearingDeg = 0;
  double windDirectionDeg = 0;
  double windSpeedKt = 0;
  double marker = 0;
  std::string routePath;
  bool flyRoute = false;
  std::vector<ScheduledRoute> laterRoutes;  // published at their frames, replacing the route
  std::vector<ScheduledKey> keys;
  bool report = false;
  bool window = false;
  int zoom = 2;       // window and PNG: panel pixels per image pixel
  bool help = false;  // --help: print the usage and run nothing
  // --fgfs-udp PORT: follow FlightGear's packets on 127.0.0.1:PORT (fgfs_feed.h)
  std::optional<uint16_t> fgfsUdpPort;
};

// Parses "FRAME:KEY[,FRAME:KEY...]" with KEY as [shift+][ctrl+]NAME, NAME a
// letter or digit, "tab", "space", "f1".."f12", or "#code" (virtual-key code).
std::optional<std::vector<ScheduledKey>> ParseKeyList(const std::string& keyList,
                                                      std::string& error);

// Parses argv; nothing and a message on a usage error. "--help" (or "-h")
// in the place of an option gives a line with only `help` set.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string& error);

std::string UsageText();

}  // namespace ndhost
