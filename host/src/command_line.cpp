#include "command_line.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "platform/numbers.h"

namespace ndhost {

namespace {

constexpr double kMaxFrames = 1e9;
constexpr double kMaxZoom = 8;

// Not strtod: the window's Qt sets the locale of the environment, and a
// decimal comma there would read "7.4" as 7 and refuse it.
std::optional<double> ToNumber(const std::string& text) {
  std::optional<double> value = platform::ReadWholeDouble(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

// A frame number: a whole number from 0 to a billion.
std::optional<int> ToFrame(const std::string& text) {
  std::optional<double> value = ToNumber(text);
  if (!value || *value < 0 || *value > kMaxFrames || *value != std::floor(*value))
    return std::nullopt;
  return static_cast<int>(*value);
}

std::string Lower(std::string text) {
  for (char& character : text)
    character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  return text;
}

std::optional<uint32_t> VirtualKeyOf(const std::string& name) {
  std::string lower = Lower(name);
  if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0]))) {
    return static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(lower[0])));
  }
  if (lower == "tab") return 0x09;
  if (lower == "space") return 0x20;
  static const std::map<std::string, uint32_t> kNamedKeys = {
      {"enter", 0x0D}, {"pgup", 0x21},  {"pgdn", 0x22}, {"left", 0x25},
      {"up", 0x26},    {"right", 0x27}, {"down", 0x28}};
  if (auto named = kNamedKeys.find(lower); named != kNamedKeys.end()) return named->second;
  if (lower.size() >= 2 && lower[0] == 'f') {
    std::optional<double> number = ToNumber(lower.substr(1));
    if (number && *number >= 1 && *number <= 12) return 0x6F + static_cast<uint32_t>(*number);
  }
  if (lower.size() >= 2 && lower[0] == '#') {
    std::optional<double> number = ToNumber(lower.substr(1));
    if (number && *number >= 1 && *number <= 254) return static_cast<uint32_t>(*number);
  }
  return std::nullopt;
}

}  // namespace

platform::Result<std::vector<ScheduledKey>> ParseKeyList(const std::string& keyList) {
  std::vector<ScheduledKey> keys;
  std::istringstream items(keyList);
  std::string item;
  while (std::getline(items, item, ',')) {
    size_t colon = item.find(':');
    std::optional<int> frame =
        colon == std::string::npos ? std::nullopt : ToFrame(item.substr(0, colon));
    if (!frame) {
      return platform::Failure("bad key \"" + item + "\": expected FRAME:KEY");
    }
    ScheduledKey key;
    key.frame = *frame;
    std::string name = item.substr(colon + 1);
    for (bool modifierFound = true; modifierFound;) {
      std::string lower = Lower(name);
      modifierFound = false;
      if (lower.starts_with("shift+")) {
        key.shift = modifierFound = true;
        name = name.substr(6);
      } else if (lower.starts_with("ctrl+")) {
        key.ctrl = modifierFound = true;
        name = name.substr(5);
      }
    }
    std::optional<uint32_t> virtualKey = VirtualKeyOf(name);
    if (!virtualKey) {
      return platform::Failure("unknown key name \"" + name + "\"");
    }
    key.virtualKey = *virtualKey;
    keys.push_back(key);
  }
  return keys;
}

std::string UsageText() {
  return "usage: ndhost --help | --version\n"
         "       ndhost --sim-root DIR [--module FILE] [--format 1|2] [--frames N] [--fps N]\n"
         "              [--png OUT.png] [--lat DEG --lon DEG] [--heading DEG] [--speed KT]\n"
         "              [--alt FT] [--nav1 IDENT|MHZ] [--nav1-freq MHZ] [--course DEG]\n"
         "              [--nav2 IDENT|MHZ] [--adf IDENT|KHZ] [--dme NM] [--adf-bearing DEG]\n"
         "              [--wind DIR/SPEED] [--marker 0-3] [--png-at FRAME:OUT.png ...]\n"
         "              [--route PLAN.pln [--fly]] [--route-at FRAME:PLAN.pln ...]\n"
         "              [--keys FRAME:KEY,...] [--report] [--trace N] [--window] [--zoom 1-8]\n"
         "              [--fgfs-udp PORT]\n";
}

platform::Result<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::string error;  // a value's own reason, when its reader gives one
  auto number = [&](double& target) {
    return [&target](const std::string& value) {
      std::optional<double> parsed = ToNumber(value);
      if (parsed) target = *parsed;
      return parsed.has_value();
    };
  };
  auto optionalNumber = [](std::optional<double>& target) {
    return [&target](const std::string& value) {
      target = ToNumber(value);
      return target.has_value();
    };
  };
  auto text = [](std::string& target) {
    return [&target](const std::string& value) {
      target = value;
      return true;
    };
  };
  double formatCode = 1;
  double frames = line.frames;
  double zoom = line.zoom;
  double traceEvery = 0;
  std::optional<double> fgfsUdpPort;
  std::map<std::string, std::function<bool(const std::string&)>> withValue = {
      {"--sim-root", text(line.simulatorRoot)},
      {"--module", text(line.modulePath)},
      {"--format", number(formatCode)},
      {"--frames", number(frames)},
      {"--fps", number(line.framesPerSecond)},
      {"--png", text(line.pngPath)},
      {"--zoom", number(zoom)},
      {"--trace", number(traceEvery)},
      {"--lat", optionalNumber(line.latitudeDeg)},
      {"--lon", optionalNumber(line.longitudeDeg)},
      {"--heading", number(line.headingDeg)},
      {"--speed", number(line.groundSpeedKt)},
      {"--nav1", text(line.nav1Ident)},
      {"--alt", number(line.altitudeFt)},
      {"--nav1-freq", number(line.nav1FrequencyMhz)},
      {"--course", optionalNumber(line.nav1CourseDeg)},
      {"--nav2", text(line.nav2Ident)},
      {"--dme", optionalNumber(line.dmeNm)},
      {"--adf", text(line.adfIdent)},
      {"--adf-bearing", optionalNumber(line.adfBearingDeg)},
      {"--marker", optionalNumber(line.marker)},
      {"--route", text(line.routePath)},
      {"--fgfs-udp", optionalNumber(fgfsUdpPort)},
      {"--wind",
       [&line](const std::string& value) {
         size_t slash = value.find('/');
         std::optional<double> direction = ToNumber(value.substr(0, slash));
         std::optional<double> speed =
             slash == std::string::npos ? std::nullopt : ToNumber(value.substr(slash + 1));
         if (!direction || !speed) return false;
         line.windDirectionDeg = *direction;
         line.windSpeedKt = *speed;
         return true;
       }},
      {"--route-at",
       [&line](const std::string& value) {
         size_t colon = value.find(':');
         std::optional<int> frame =
             colon == std::string::npos ? std::nullopt : ToFrame(value.substr(0, colon));
         if (!frame || colon + 1 >= value.size()) return false;
         line.laterRoutes.push_back({*frame, value.substr(colon + 1)});
         return true;
       }},
      {"--png-at",
       [&line](const std::string& value) {
         size_t colon = value.find(':');
         std::optional<int> frame =
             colon == std::string::npos ? std::nullopt : ToFrame(value.substr(0, colon));
         if (!frame || colon + 1 >= value.size()) return false;
         line.pictures.push_back({*frame, value.substr(colon + 1)});
         return true;
       }},
      {"--keys",
       [&line, &error](const std::string& value) {
         platform::Result<std::vector<ScheduledKey>> keys = ParseKeyList(value);
         if (!keys) {
           error = keys.error().message;
           return false;
         }
         line.keys = std::move(keys).value();
         return true;
       }},
  };
  for (size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (argument == "--help" || argument == "-h") {
      CommandLine help;
      help.help = true;
      return help;
    }
    if (argument == "--version") {
      CommandLine version;
      version.version = true;
      return version;
    }
    if (argument == "--fly") {
      line.flyRoute = true;
      continue;
    }
    if (argument == "--report") {
      line.report = true;
      continue;
    }
    if (argument == "--window") {
      line.window = true;
      continue;
    }
    auto option = withValue.find(argument);
    if (option == withValue.end()) {
      return platform::Failure("unknown option " + argument);
    }
    if (index + 1 >= arguments.size()) {
      return platform::Failure(argument + " needs a value");
    }
    const std::string& value = arguments[++index];
    if (!option->second(value)) {
      if (error.empty()) error = "bad value \"" + value + "\" for " + argument;
      return platform::Failure(error);
    }
  }
  if (line.simulatorRoot.empty()) {
    return platform::Failure("--sim-root is required");
  }
  if (formatCode != 1 && formatCode != 2) {
    return platform::Failure("--format must be 1 or 2");
  }
  if (frames < 1 || frames > kMaxFrames) {
    return platform::Failure("--frames must be from 1 to 1000000000");
  }
  if (line.framesPerSecond <= 0) {
    return platform::Failure("--fps must be above 0");
  }
  if (zoom != std::trunc(zoom) || zoom < 1 || zoom > kMaxZoom) {
    return platform::Failure("--zoom must be a whole number from 1 to 8");
  }
  if (traceEvery != std::trunc(traceEvery) || traceEvery < 0 || traceEvery > kMaxFrames) {
    return platform::Failure("--trace must be a whole number of frames");
  }
  line.traceEvery = static_cast<int>(traceEvery);
  line.zoom = static_cast<int>(zoom);
  if (fgfsUdpPort) {
    if (*fgfsUdpPort != std::trunc(*fgfsUdpPort) || *fgfsUdpPort < 1 || *fgfsUdpPort > 65535) {
      return platform::Failure("--fgfs-udp must be a port from 1 to 65535");
    }
    if (line.flyRoute) {
      return platform::Failure("--fly and --fgfs-udp cannot be used together");
    }
    line.fgfsUdpPort = static_cast<uint16_t>(*fgfsUdpPort);
  }
  line.formatCode = static_cast<uint32_t>(formatCode);
  line.frames = static_cast<int>(frames);
  if (line.latitudeDeg.has_value() != line.longitudeDeg.has_value()) {
    return platform::Failure("--lat and --lon go together");
  }
  return line;
}

}  // namespace ndhost
