// ndhost: stands in for the flight simulator. Loads a gauge module from
// <sim-root>/Gauges, feeds it an aircraft, keys and a route, runs it for a
// number of frames and saves the display element's image as PNG.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <thread>

#include "command_line.h"
#include "fgfs_panel_strip.h"
#ifdef NDHOST_WITH_WINDOW
#include "panel_window.h"
#endif
#include "module_host.h"
#include "panel_picture.h"
#include "platform/file_io.h"
#include "platform/installation.h"
#include "platform/result.h"
#include "platform/shared_memory.h"
#include "route_publisher.h"
#include "station_finder.h"
#include "window_controls.h"

namespace {

// Names of the route blocks and "NDPassData", ready for the signal handler:
// a run stopped by Ctrl+C or a kill still removes the blocks it created.
char routeBlockNames[2][256];
char passDataName[256];
volatile std::sig_atomic_t removePassData = 0;

void RemoveBlocksAndExit(int signalNumber) {
  ::shm_unlink(routeBlockNames[0]);
  ::shm_unlink(routeBlockNames[1]);
  if (removePassData != 0) ::shm_unlink(passDataName);
  ::_exit(128 + signalNumber);
}

void RemoveBlocksOnSignals() {
  for (int number = 0; number < 2; ++number) {
    std::string name = platform::SharedMemoryName("fltplanMap" + std::to_string(number));
    std::snprintf(routeBlockNames[number], sizeof(routeBlockNames[number]), "%s", name.c_str());
  }
  std::snprintf(passDataName, sizeof(passDataName), "%s",
                platform::SharedMemoryName("NDPassData").c_str());
  std::signal(SIGINT, RemoveBlocksAndExit);
  std::signal(SIGTERM, RemoveBlocksAndExit);
}

// "NDPassData" is created by the first panel component that runs. In the
// simulator it vanished with the last handle when the simulator closed; a
// POSIX block outlives the process, so the host removes the block when this
// run created it. Otherwise the next run, even in a fresh simulator folder,
// would start with this run's display modes.
class PassDataRemoval {
 public:
  PassDataRemoval() {
    const int descriptor = ::shm_open(passDataName, O_RDONLY | O_CLOEXEC, 0);
    if (descriptor >= 0) {
      ::close(descriptor);
      return;  // another component's block: it stays
    }
    removePassData = 1;
  }
  ~PassDataRemoval() {
    if (removePassData != 0) ::shm_unlink(passDataName);
  }
  PassDataRemoval(const PassDataRemoval&) = delete;
  PassDataRemoval& operator=(const PassDataRemoval&) = delete;
};

// Tunes a receiver from its option; false and a message for a station the
// database does not have.
bool TuneFromOption(ndhost::FlightSession& session, const ndhost::StationFinder& stations,
                    ndhost::RadioSlot slot, const std::string& identOrFrequency, double frequency,
                    const std::filesystem::path& navData) {
  if (identOrFrequency.empty()) return true;
  ndhost::Band band = slot == ndhost::RadioSlot::Adf ? ndhost::Band::Adf : ndhost::Band::Nav;
  const ndhost::Station* station =
      stations.Find(band, identOrFrequency, session.Flight().position, frequency);
  if (station == nullptr) {
    static const char* kNames[] = {"NAV 1", "NAV 2", "ADF"};
    std::string file = (navData / (band == ndhost::Band::Adf ? "ndb.dat" : "vor.dat")).string();
    std::string wanted = "\"" + identOrFrequency + "\"";
    if (frequency > 0) {
      char text[32];
      std::snprintf(text, sizeof(text), " on %.2f", frequency);
      wanted += text;
    }
    std::fprintf(stderr, "ndhost: %s: no station %s in %s\n", kNames[static_cast<int>(slot)],
                 wanted.c_str(), file.c_str());
    return false;
  }
  session.Tune(slot, station);
  return true;
}

// The flight as the command line starts it; false when a radio cannot be tuned.
bool SetUpFlight(const ndhost::CommandLine& line, const ndhost::StationFinder& stations,
                 const std::filesystem::path& navData, ndhost::FlightSession& session) {
  ndhost::FlightState& flight = session.Flight();
  flight.position = {line.latitudeDeg.value_or(0), line.longitudeDeg.value_or(0)};
  flight.airspeedKt = line.groundSpeedKt;
  flight.altitudeFt = flight.selectedAltitudeFt = line.altitudeFt;
  session.CurrentWind() = {line.windDirectionDeg, line.windSpeedKt};
  bool placedOnRoute = line.flyRoute && !line.latitudeDeg && session.Pilot();
  if (placedOnRoute) session.PlaceAtRouteStart();
  session.SetFollowPlan(line.flyRoute);
  // --nav1-freq alone tunes by frequency; with --nav1 it picks among the identifier's stations.
  std::string nav1 = line.nav1Ident;
  double nav1FrequencyMhz = line.nav1FrequencyMhz;
  if (nav1.empty() && nav1FrequencyMhz > 0) {
    char frequencyText[32];
    std::snprintf(frequencyText, sizeof(frequencyText), "%.2f", nav1FrequencyMhz);
    nav1 = frequencyText;
    nav1FrequencyMhz = 0;
  }
  if (!TuneFromOption(session, stations, ndhost::RadioSlot::Nav1, nav1, nav1FrequencyMhz,
                      navData) ||
      !TuneFromOption(session, stations, ndhost::RadioSlot::Nav2, line.nav2Ident, 0, navData) ||
      !TuneFromOption(session, stations, ndhost::RadioSlot::Adf, line.adfIdent, 0, navData)) {
    return false;
  }
  if (line.nav1CourseDeg) session.SetNav1Course(*line.nav1CourseDeg);
  if (!placedOnRoute) {
    // The heading given is what the compass shows: magnetic.
    double trueHeadingDeg =
        ndhost::Normalize360(line.headingDeg + ndhost::LocalVariationDeg(session.Tuning()));
    flight.trueHeadingDeg = flight.selectedHeadingDeg = trueHeadingDeg;
  }
  ndhost::UpdateGroundVector(flight, session.CurrentWind());
  session.Overrides() = {line.dmeNm, line.adfBearingDeg, line.marker};
  return true;
}

// A plan file's text; fails with the system's reason when it cannot be
// read. A named pipe in its place is refused at once, never waited on.
platform::Result<std::string> ReadPlanFile(const std::string& path) {
  std::string text;
  const platform::Status read = platform::ReadWholeFile(path, text);
  if (!read.ok()) return read.error();
  return text;
}

// Headless frames take no time, so a loader run started by a frame is given
// the time it needs: further frames (at the same clock time) until it is done.
void WaitForLoader(ndhost::ModuleHost& host) {
  constexpr int kMaxWaits = 5000;
  for (int wait = 0; wait < kMaxWaits && host.Diagnostics().loading != 0; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    host.Frame();
  }
}

void PrintReport(const ndhost::ModuleHost& host) {
  if (!host.HaveDiagnostics()) {
    std::printf("no diagnostics from the module\n");
    return;
  }
  const LumaroDiagnostics& state = host.Diagnostics();
  std::printf("database status %d\n", state.databaseStatus);
  std::printf("modes NDMode=%d MapMode=%d Item=0x%02X Range=%d\n", state.ndMode, state.mapMode,
              state.item, state.rangeNm);
  std::printf("redraws %u, loader runs %u, route reads %u, plots %u\n", state.redrawCount,
              state.loaderRuns, state.routeReads, host.PlotCount());
  static const char* kListNames[] = {"VOR", "NDB", "APT", "INT"};
  for (int list = 0; list < LUMARO_LIST_COUNT; ++list) {
    int shown = 0;
    while (shown < LUMARO_LIST_CAPACITY && state.lists[list][shown].shown != 0) ++shown;
    std::printf("%s list: %d\n", kListNames[list], shown);
  }
  if (state.tuned.shown != 0) {
    std::printf("tuned station row %d kind %d\n", state.tuned.row, state.tuned.kind);
  }
  int routePoints = 0;
  while (routePoints < LUMARO_ROUTE_CAPACITY && state.route[routePoints].shown != 0) ++routePoints;
  std::printf("route points: %d\n", routePoints);
}

void SavePicture(const ndhost::ModuleHost& host, int zoom, const ndhost::FgfsFeed* feed,
                 const std::string& path, int& status) {
  const platform::Status saved = ndhost::SavePanelPng(
      ndhost::ComposePanelWithFeed(host, zoom, feed, ndhost::SteadyClockSeconds()), path);
  if (!saved) {
    std::fprintf(stderr, "ndhost: %s\n", saved.error().message.c_str());
    status = 1;
  }
}

}  // namespace

namespace {

int RunNdhost(int argc, char** argv) {
  platform::Result<ndhost::CommandLine> line =
      ndhost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!line) {
    std::fprintf(stderr, "ndhost: %s\n%s", line.error().message.c_str(),
                 ndhost::UsageText().c_str());
    return 2;
  }
  if (line->help) {
    std::fputs(ndhost::HelpText().c_str(), stdout);
    return 0;
  }
  if (line->version) {
    std::printf("ndhost (Skyatlas) %s\n", std::string(platform::SkyatlasVersion()).c_str());
    return 0;
  }
  std::error_code ignored;
  std::filesystem::path root = std::filesystem::absolute(line->simulatorRoot, ignored);
  // The module runs in the simulator folder; the picture goes where the user said.
  if (!line->pngPath.empty()) {
    line->pngPath = std::filesystem::absolute(line->pngPath, ignored).string();
  }
  for (ndhost::ScheduledPicture& picture : line->pictures) {
    picture.pngPath = std::filesystem::absolute(picture.pngPath, ignored).string();
  }
  const std::filesystem::path navData = root / "NavData";
  ndhost::StationFinder stations;
  for (const std::string& problem : stations.Load(navData).problems) {
    std::fprintf(stderr, "ndhost: %s\n", problem.c_str());
  }
  std::filesystem::path modulePath =
      line->modulePath.empty() ? ndhost::DefaultModulePath(root, platform::ProgramFolder())
                               : std::filesystem::absolute(line->modulePath, ignored);

  RemoveBlocksOnSignals();
  const PassDataRemoval passDataRemoval;
  ndhost::RoutePublisher publisher;
  ndhost::FlightSession session(stations);
  if (!line->routePath.empty()) {
    const platform::Result<std::string> plan = ReadPlanFile(line->routePath);
    if (!plan) {
      std::fprintf(stderr, "ndhost: cannot read %s: %s\n", line->routePath.c_str(),
                   plan.error().message.c_str());
      return 1;
    }
    if (!publisher.Publish(*plan)) {
      std::fprintf(stderr, "ndhost: cannot publish the route block\n");
      return 1;
    }
    session.SetRoute(ndhost::ReadPlanRoute(*plan));
  }
  if (!SetUpFlight(*line, stations, navData, session)) return 2;

  ndhost::HostOptions options;
  options.simulatorRoot = root;
  options.formatCode = line->formatCode;
  platform::Result<std::unique_ptr<ndhost::ModuleHost>> loaded =
      ndhost::ModuleHost::Load(modulePath, options);
  if (!loaded) {
    std::fprintf(stderr, "ndhost: %s\n", loaded.error().message.c_str());
    return loaded.error().errorNumber == ndhost::kNotAGaugeModule ? 2 : 1;
  }
  std::unique_ptr<ndhost::ModuleHost> host = std::move(loaded).value();
  session.Publish(host->Aircraft());
  // --fgfs-udp: FlightGear's packets drive the aircraft (fgfs_feed.h).
  std::unique_ptr<ndhost::FgfsFeed> feed;
  if (line->fgfsUdpPort) {
    platform::Result<std::unique_ptr<ndhost::FgfsFeed>> opened =
        ndhost::FgfsFeed::Open(*line->fgfsUdpPort);
    if (!opened) {
      std::fprintf(stderr, "ndhost: %s\n", opened.error().message.c_str());
      return 1;
    }
    feed = std::move(opened).value();
  }

  host->Start();
  if (line->window) {
#ifdef NDHOST_WITH_WINDOW
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
        std::getenv("QT_QPA_PLATFORM") != nullptr) {
      int status = ndhost::RunPanelWindow(*host, line->framesPerSecond, line->zoom, session,
                                          feed.get(), argc, argv);
      host->Kill();
      return status;
    }
    std::fprintf(stderr, "ndhost: no display for the window; running headless\n");
#else
    std::fprintf(stderr, "ndhost: this build has no window; running headless\n");
#endif
  }
  double frameSeconds = 1.0 / line->framesPerSecond;
  int status = 0;
  // Following FlightGear, frames run in real time so that its packets come.
  const double startSeconds = ndhost::SteadyClockSeconds();
  for (int frame = 0; frame < line->frames; ++frame) {
    if (feed) {
      const double dueSeconds = startSeconds + frame * frameSeconds;
      const double waitSeconds = dueSeconds - ndhost::SteadyClockSeconds();
      if (waitSeconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(waitSeconds));
      ndhost::FollowFeed(*feed, *host, ndhost::SteadyClockSeconds());
    }
    for (const ndhost::ScheduledKey& key : line->keys) {
      if (key.frame != frame) continue;
      // Every key reaches the display as well, as in the simulator: the
      // display polls only its own keys (a PANEL_9 key may be any key).
      ndhost::ApplyFlightKey(key.virtualKey, key.shift, key.ctrl, session);
      host->PressKey(key.virtualKey, key.shift, key.ctrl);
    }
    for (const ndhost::ScheduledRoute& route : line->laterRoutes) {
      if (route.frame != frame) continue;
      const platform::Result<std::string> plan = ReadPlanFile(route.planPath);
      if (!plan) {
        std::fprintf(stderr, "ndhost: cannot publish %s: %s\n", route.planPath.c_str(),
                     plan.error().message.c_str());
      } else if (!publisher.Publish(*plan)) {
        std::fprintf(stderr, "ndhost: cannot publish %s\n", route.planPath.c_str());
      }
    }
    // Following FlightGear, its packets fly the aircraft, not the session.
    if (!feed) session.Publish(host->Aircraft());
    host->Frame();
    WaitForLoader(*host);
    if (line->traceEvery > 0 && frame % line->traceEvery == 0) {
      const std::string flight = feed ? feed->FlightText() : session.StatusText();
      std::printf("frame %d: %s | %s\n", frame, flight.c_str(),
                  ndhost::RadioReportText(host->Aircraft()).c_str());
    }
    for (const ndhost::ScheduledPicture& picture : line->pictures) {
      if (picture.frame == frame) {
        SavePicture(*host, line->zoom, feed.get(), picture.pngPath, status);
      }
    }
    host->AdvanceClock(frameSeconds);
    session.Advance(frameSeconds);
  }

  // The picture the window would show: the panel at the zoom asked.
  if (!line->pngPath.empty()) SavePicture(*host, line->zoom, feed.get(), line->pngPath, status);
  for (const ndhost::HostMessage& message : host->Messages()) {
    std::fprintf(stderr, "ndhost: message box \"%s\": %s\n", message.caption.c_str(),
                 message.text.c_str());
  }
  if (line->report) {
    PrintReport(*host);
    // Following FlightGear, the flight is FlightGear's, not the unused own one.
    const std::string flight = feed ? feed->FlightText() : session.StatusText();
    std::printf("flight: %s\n", flight.c_str());
    std::printf("radios: %s\n", ndhost::RadioReportText(host->Aircraft()).c_str());
    if (feed) std::fputs(feed->ReportText().c_str(), stdout);
  }
  if (feed && feed->GoodPackets() == 0) {
    std::fprintf(stderr, "ndhost: no packet from FlightGear came to 127.0.0.1:%u\n",
                 static_cast<unsigned>(feed->Port()));
    status = 1;
  }
  host->Kill();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A failure the program did not foresee (memory, a broken stream) ends it
  // with a message instead of an abort.
  try {
    return RunNdhost(argc, argv);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ndhost: %s\n", failure.what());
  } catch (...) {
    std::fprintf(stderr, "ndhost: an unknown failure\n");
  }
  return 1;
}
