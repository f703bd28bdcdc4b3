// skat-cli map: the database, and a plan, drawn as the map window draws
// them, into a PNG file.
#include <cairo.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "map/coastline_data.h"
#include "map/map_drawing.h"
#include "map/png_file.h"
#include "map/route_adapter.h"
#include "planner/leg_computation.h"
#include "planner/plan_file.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/options.h"
#include "shell/cli/plan_options.h"

namespace cli {
namespace {

constexpr int kDefaultWidthPx = 1024;
constexpr int kDefaultHeightPx = 768;
constexpr int kMinSidePx = 16;
constexpr int kMaxSidePx = 4096;
// Room left round a fitted plan, for its labels.
constexpr int kFitMarginPx = 40;

int RunMap(CliContext& context, const std::vector<std::string>& args);

const CliCommand kMap{
    "map", "draw the database and a plan on a map, as a PNG picture",
    "map [--center LAT,LON --range NM | --world | --fit-plan] [--plan FILE.pln]\n"
    "           [--highlight KIND:ID] [--size WxH] --out FILE.png [--yes]\n\n"
    "Draws the navaids of the database over the coastlines and country borders\n"
    "(Natural Earth, built in), with their symbols and colours as the display\n"
    "shows them, labels where they have room and a scale bar, as the map window\n"
    "does. --center (decimal degrees, south and west negative) and --range (the\n"
    "nautical miles from the centre to the nearer edge, 1 to 12000) choose the\n"
    "view; --world shows the whole world, --fit-plan the whole plan. Without any\n"
    "of them the map shows the plan when one is given, else the world. --plan\n"
    "draws a plan file's route, recomputed as the Flight Plan dialog opens it:\n"
    "legs, top of climb and descent, runway turns. --highlight rings one entry\n"
    "(KIND is ndb, vor, apt or int; the first of that identifier). --size is\n"
    "16 to 4096 pixels each way (default 1024x768). The picture is written to\n"
    "a temporary file and renamed to OUT; an existing OUT is replaced only with\n"
    "--yes. The projection is equirectangular, true to shape at the centre.\n",
    RunMap};

const OptionRules kMapOptions{{"--world", "--fit-plan", "--yes"},
                              {"--center", "--range", "--plan", "--highlight", "--size", "--out"},
                              {}};

// A whole text as a decimal number.
std::optional<double> NumberOf(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

struct Request {
  std::optional<navmap::EntryPosition> centre;
  double rangeNm = 0;
  bool world = false;
  bool fitPlan = false;
  int widthPx = kDefaultWidthPx;
  int heightPx = kDefaultHeightPx;
  std::filesystem::path out;
};

platform::Status ReadCentre(const std::string& text, Request& request) {
  const size_t comma = text.find(',');
  const auto lat = comma == std::string::npos ? std::nullopt : NumberOf(text.substr(0, comma));
  const auto lon = comma == std::string::npos ? std::nullopt : NumberOf(text.substr(comma + 1));
  if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180) {
    return platform::Failure("--center takes LAT,LON in degrees (-90 to 90, -180 to 180), not '" +
                             text + "'");
  }
  request.centre = navmap::EntryPosition{*lat, *lon};
  return {};
}

platform::Status ReadSize(const std::string& text, Request& request) {
  const size_t x = text.find('x');
  const auto width = x == std::string::npos ? std::nullopt : NumberOf(text.substr(0, x));
  const auto height = x == std::string::npos ? std::nullopt : NumberOf(text.substr(x + 1));
  auto fits = [](const std::optional<double>& side) {
    return side && *side == std::floor(*side) && *side >= kMinSidePx && *side <= kMaxSidePx;
  };
  if (!fits(width) || !fits(height)) {
    return platform::Failure("--size takes WxH, each 16 to 4096 pixels, not '" + text + "'");
  }
  request.widthPx = static_cast<int>(*width);
  request.heightPx = static_cast<int>(*height);
  return {};
}

platform::Result<Request> ReadRequest(const Options& options) {
  Request request;
  if (!options.positional.empty()) {
    return platform::Failure("unexpected argument '" + options.positional.front() + "'");
  }
  if (!options.Has("--out")) {
    return platform::Failure("map needs --out FILE.png");
  }
  request.out = options.Get("--out");
  request.world = options.Has("--world");
  request.fitPlan = options.Has("--fit-plan");
  if (options.Has("--center") + request.world + request.fitPlan > 1) {
    return platform::Failure("--center, --world and --fit-plan each choose the view; give one");
  }
  if (options.Has("--center") != options.Has("--range")) {
    return platform::Failure("--center and --range go together");
  }
  if (request.fitPlan && !options.Has("--plan")) {
    return platform::Failure("--fit-plan needs --plan FILE.pln");
  }
  if (options.Has("--center")) {
    if (platform::Status centre = ReadCentre(options.Get("--center"), request); !centre) {
      return centre.error();
    }
    const auto range = NumberOf(options.Get("--range"));
    if (!range || *range < navmap::kMinRangeNm || *range > navmap::kMaxRangeNm) {
      return platform::Failure("--range takes 1 to 12000 NM, not '" + options.Get("--range") + "'");
    }
    request.rangeNm = *range;
  }
  if (options.Has("--size")) {
    if (platform::Status size = ReadSize(options.Get("--size"), request); !size)
      return size.error();
  }
  return request;
}

// The plan file's route as the Flight Plan dialog would show it.
std::optional<navmap::MapRoute> LoadRoute(CliContext& context, const std::filesystem::path& file,
                                          const navdb::Database& db, const navdb::Reporter& ui) {
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::LoadFlightPlan(state, file, ui)) return std::nullopt;
  planner::RecomputeOpenedPlan(state, db.List(navdb::NavaidKind::Airport));
  platform::Result<navmap::MapRoute> route = navmap::RouteOfPlan(state);
  if (!route) {
    context.err << "skat-cli: cannot draw the plan: " << route.error().message << '\n';
    return std::nullopt;
  }
  return std::move(route).value();
}

navmap::MapView ViewFor(const Request& request, const navmap::MapRoute* route) {
  if (request.centre) {
    return navmap::ViewOfRange(request.centre->latDeg, request.centre->lonDeg, request.rangeNm,
                               request.widthPx, request.heightPx);
  }
  const std::optional<navmap::RouteBox> box =
      route != nullptr && !request.world ? navmap::BoxOf(*route) : std::nullopt;
  if (box) {
    return navmap::ViewOfBox(box->southDeg, box->westDeg, box->northDeg, box->eastDeg,
                             request.widthPx, request.heightPx, kFitMarginPx);
  }
  return navmap::ViewOfWorld(request.widthPx, request.heightPx);
}

bool AllFilesRead(const navdb::Database& db) {
  for (const std::string& failure : db.readFailures) {
    if (!failure.empty()) return false;
  }
  return true;
}

int RunMap(CliContext& context, const std::vector<std::string>& args) {
  const platform::Result<Options> options = ParseOptions(args, 0, kMapOptions);
  if (!options) return UsageError(context, kMap, options.error().message);
  const platform::Result<Request> read = ReadRequest(*options);
  if (!read) return UsageError(context, kMap, read.error().message);
  const Request& request = *read;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(request.out, error)) &&
      !options->Has("--yes")) {
    context.err << "skat-cli: " << request.out.string() << " already exists (--yes replaces it)\n";
    return kExitFailure;
  }

  const CliUi ui(context, {});
  std::optional<navdb::DatabaseLock> lock;
  if (!LockDatabase(context, DatabaseUse::Reads, lock)) return kExitFailure;
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  if (!AllFilesRead(db)) return kExitFailure;

  navmap::MapScene scene;
  std::optional<navmap::MapRoute> route;
  if (options->Has("--plan")) {
    route = LoadRoute(context, options->Get("--plan"), db, ui);
    if (!route) return kExitFailure;
    scene.route = &*route;
  }
  if (options->Has("--highlight")) {
    const auto pick = FindNamedNavaid(db, "--highlight", options->Get("--highlight"));
    if (!pick) return UsageError(context, kMap, pick.error().message);
    scene.highlight = navmap::EntryRef{pick->kind, static_cast<uint32_t>(pick->row)};
  }
  const navmap::SpatialIndex index(db);
  scene.database = &db;
  scene.index = &index;
  scene.coastlines = &navmap::BuiltInCoastlines();

  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, request.widthPx, request.heightPx),
      cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    context.err << "skat-cli: cannot make a picture of " << request.widthPx << 'x'
                << request.heightPx << " pixels\n";
    return kExitFailure;
  }
  navmap::DrawMap(scene, ViewFor(request, scene.route), surface.get());
  const platform::Status written = navmap::WritePngFile(request.out, surface.get());
  if (!written.ok()) {
    context.err << "skat-cli: cannot write " << request.out.string() << ": "
                << written.error().message << '\n';
    return kExitFailure;
  }
  context.out << request.out.string() << '\n';
  return kExitOk;
}

}  // namespace

std::vector<CliCommand> MapCommands() {
  return {kMap};
}

}  // namespace cli
