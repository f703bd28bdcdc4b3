#include <gtest/gtest.h>
#include <unistd.h>

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "map/map_palette.h"
#include "map/projection.h"
#include "map/symbol_drawing.h"
#include "navdb/database.h"
#include "navdb/database_lock.h"
#include "navdb/geo_index.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/lock_acquire.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace cli {
namespace {

using testing_support::CliRun;
using testing_support::RunCli;
using testing_support::TempFolder;

using Png = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Png ReadPng(const std::filesystem::path& path) {
  return Png(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
}

navmap::Rgb PixelOf(cairo_surface_t* image, int x, int y) {
  cairo_surface_flush(image);
  const unsigned char* row = cairo_image_surface_get_data(image) +
                             static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(image);
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

size_t PixelsOf(cairo_surface_t* image, navmap::Rgb colour) {
  size_t count = 0;
  for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
    for (int x = 0; x < cairo_image_surface_get_width(image); ++x)
      count += PixelOf(image, x, y) == colour;
  }
  return count;
}

// NavData with the planner's equator database (AAAA at 0 E, VVV at 1 E, NN
// at 2 E, BBBB at 3 E) and FlightPlans/TRIP.pln made by plan create.
class MapCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    navdb::Database db = planner_test::SampleDatabase();
    db.folder = navData_.path();
    testing_support::RecordingUi ui;
    navdb::RebuildIndex(db.lists, db.index, ui);
    ASSERT_TRUE(navdb::SaveDatabase(db, ui));
    const CliRun create = Run({"plan",     "create",          "TRIP",   "--departure",
                               "AAAA/27R", "--arrival",       "BBBB",   "--via",
                               "vor:VVV",  "--via",           "ndb:NN", "--climb-rate",
                               "2000",     "--climb-speed",   "250",    "--descent-rate",
                               "2000",     "--descent-speed", "300",    "--cruise-altitude",
                               "20100",    "--cruise-speed",  "400",    "--no-sid-star",
                               "--yes"});
    ASSERT_EQ(create.exitCode, 0) << create.err;
    plan_ = (navData_ / "FlightPlans" / "TRIP.pln").string();
  }

  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--navdata", navData_.path().string()});
    return RunCli(args);
  }
  std::string Out(const char* name) const { return (pictures_ / name).string(); }

  TempFolder navData_;
  TempFolder pictures_;
  std::string plan_;
};

TEST_F(MapCommandTest, HelpTellsTheViewsAndTheFile) {
  const CliRun run = Run({"map", "--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(
      run.out.starts_with("Usage: skat-cli map [--center LAT,LON --range NM | --world | "
                          "--fit-plan] [--plan FILE.pln]\n"))
      << run.out;
  EXPECT_NE(run.out.find("an existing OUT is replaced only with\n--yes"), std::string::npos);
  EXPECT_NE(RunCli({"--help"}).out.find("  map             draw the database and a plan on a map"),
            std::string::npos);
}

TEST_F(MapCommandTest, BadArgumentsAreUsageErrorsAndWriteNothing) {
  const std::string out = Out("map.png");
  struct Case {
    std::vector<std::string> args;
    std::string problem;
  };
  const Case cases[] = {
      {{"--world"}, "map needs --out FILE.png"},
      {{"--center", "91,0", "--range", "10", "--out", out},
       "--center takes LAT,LON in degrees (-90 to 90, -180 to 180), not '91,0'"},
      {{"--center", "48.8", "--range", "10", "--out", out},
       "--center takes LAT,LON in degrees (-90 to 90, -180 to 180), not '48.8'"},
      {{"--center", "48.8,2x", "--range", "10", "--out", out},
       "--center takes LAT,LON in degrees (-90 to 90, -180 to 180), not '48.8,2x'"},
      {{"--center", "48.8,2", "--out", out}, "--center and --range go together"},
      {{"--range", "40", "--out", out}, "--center and --range go together"},
      {{"--center", "48.8,2", "--range", "0.5", "--out", out},
       "--range takes 1 to 12000 NM, not '0.5'"},
      {{"--center", "48.8,2", "--range", "12001", "--out", out},
       "--range takes 1 to 12000 NM, not '12001'"},
      {{"--world", "--fit-plan", "--plan", plan_, "--out", out},
       "--center, --world and --fit-plan each choose the view; give one"},
      {{"--world", "--center", "1,1", "--range", "5", "--out", out},
       "--center, --world and --fit-plan each choose the view; give one"},
      {{"--fit-plan", "--out", out}, "--fit-plan needs --plan FILE.pln"},
      {{"--size", "15x300", "--out", out},
       "--size takes WxH, each 16 to 4096 pixels, not '15x300'"},
      {{"--size", "800", "--out", out}, "--size takes WxH, each 16 to 4096 pixels, not '800'"},
      {{"--size", "800x600.5", "--out", out},
       "--size takes WxH, each 16 to 4096 pixels, not '800x600.5'"},
      {{"--size", "4097x16", "--out", out},
       "--size takes WxH, each 16 to 4096 pixels, not '4097x16'"},
      {{"--zoom", "2", "--out", out}, "unknown option '--zoom'"},
      {{"extra", "--out", out}, "unexpected argument 'extra'"},
      {{"--highlight", "vor:NOPE", "--out", out}, "vor:NOPE is not in the database"},
      {{"--highlight", "PON", "--out", out},
       "--highlight takes KIND:ID with KIND ndb, vor, apt or int, not 'PON'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"map"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("skat-cli map: " + c.problem + "\nUsage: skat-cli map "))
        << run.err;
    EXPECT_TRUE(testing_support::FileNamesIn(pictures_.path()).empty());
  }
}

TEST_F(MapCommandTest, DrawsTheNavaidsAndThePlanAtTheirPixels) {
  const std::string out = Out("trip.png");
  const CliRun run = Run({"map", "--center", "0,1.5", "--range", "100", "--size", "600x400",
                          "--plan", plan_, "--out", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, out + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testing_support::FileNamesIn(pictures_.path()), std::vector<std::string>{"trip.png"});
  const Png png = ReadPng(out);
  ASSERT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(png.get()), 600);
  ASSERT_EQ(cairo_image_surface_get_height(png.get()), 400);
  const navmap::Projection projection(navmap::ViewOfRange(0, 1.5, 100, 600, 400));
  auto pixel = [&](double latDeg, double lonDeg, int dx = 0, int dy = 0) {
    const navmap::ScreenXY xy = projection.ToScreen(latDeg, lonDeg);
    return PixelOf(png.get(), static_cast<int>(std::floor(xy.x)) + dx,
                   static_cast<int>(std::floor(xy.y)) + dy);
  };
  // The route along the equator, between the VOR and the NDB.
  EXPECT_EQ(pixel(0, 1.5), navmap::kRouteColour);
  EXPECT_EQ(pixel(0, 1.25), navmap::kRouteColour);
  // The VOR and the NDB of the plan, each its circle in its colour.
  for (const navmap::PixelOffset offset : navmap::StationCirclePixels()) {
    EXPECT_EQ(pixel(0, 1, offset.dx, offset.dy), navmap::kVorColour);
    EXPECT_EQ(pixel(0, 2, offset.dx, offset.dy), navmap::kNdbColour);
  }
  // Sea all round: the Gulf of Guinea.
  EXPECT_EQ(PixelOf(png.get(), 5, 5), navmap::kSeaColour);
}

TEST_F(MapCommandTest, TheWorldAndTheFittedPlanAreDrawnAndAnOldPictureIsReplacedOnlyWithYes) {
  const std::string world = Out("world.png");
  CliRun run = Run({"map", "--out", world});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Png png = ReadPng(world);
  EXPECT_EQ(cairo_image_surface_get_width(png.get()), 1024);
  EXPECT_EQ(cairo_image_surface_get_height(png.get()), 768);
  EXPECT_GT(PixelsOf(png.get(), navmap::kLandColour), 10000u);
  EXPECT_GT(PixelsOf(png.get(), navmap::kSeaColour), 10000u);

  pictures_.Write("fit.png", "an old picture");
  const std::string fit = Out("fit.png");
  run = Run({"map", "--plan", plan_, "--fit-plan", "--size", "400x300", "--out", fit});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli: " + fit + " already exists (--yes replaces it)\n");
  EXPECT_EQ(pictures_.Read("fit.png"), "an old picture");
  run = Run({"map", "--plan", plan_, "--fit-plan", "--size", "400x300", "--out", fit, "--yes"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  png = ReadPng(fit);
  ASSERT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS);
  // Three degrees of route across most of 320 free pixels, two wide.
  EXPECT_GT(PixelsOf(png.get(), navmap::kRouteColour), 400u);
  // Without a view the plan is fitted as well.
  run = Run({"map", "--plan", plan_, "--size", "400x300", "--out", fit, "--yes"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(PixelsOf(ReadPng(fit).get(), navmap::kRouteColour),
            PixelsOf(png.get(), navmap::kRouteColour));
  EXPECT_EQ(testing_support::FileNamesIn(pictures_.path()),
            (std::vector<std::string>{"fit.png", "world.png"}));
}

TEST_F(MapCommandTest, FailuresSayWhyExitOneAndLeaveNoFile) {
  // A folder that cannot be written into: nothing is left behind.
  const std::string missing = (pictures_ / "no such folder" / "map.png").string();
  CliRun run = Run({"map", "--out", missing});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.starts_with("skat-cli: cannot write " + missing + ": ")) << run.err;
  EXPECT_TRUE(testing_support::FileNamesIn(pictures_.path()).empty());

  const std::string out = Out("map.png");
  run = Run({"map", "--plan", (navData_ / "FlightPlans" / "NONE.pln").string(), "--out", out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error !: Cannot open the file.\n\n" +
                         (navData_ / "FlightPlans" / "NONE.pln").string() +
                         ": No such file or directory\n");

  navData_.Write(
      "FlightPlans/BAD.pln",
      navData_.Read("FlightPlans/TRIP.pln")
          .replace(navData_.Read("FlightPlans/TRIP.pln").find("[WAYPOINTS]\r\n") + 13, 3, "XYZ"));
  run = Run({"map", "--plan", (navData_ / "FlightPlans" / "BAD.pln").string(), "--out", out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli: cannot draw the plan: row 0 is not a plan row\n");

  run = RunCli({"--navdata", (pictures_ / "nowhere").string(), "map", "--world", "--out", out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Error: The folder " + (pictures_ / "nowhere").string() + " does not exist.\n");

  std::string refusal;
  {
    const auto lock = testing_support::AcquireLock(navData_.path(), navdb::LockMode::Exclusive,
                                                   "map-test", refusal);
    ASSERT_TRUE(lock);
    run = Run({"map", "--world", "--out", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error: The database is in use by map-test (process " +
                           std::to_string(::getpid()) + "). Try again when it has finished.\n");
  }
  // A database file that exists but cannot be read: no map of half the database.
  std::filesystem::remove(navData_ / "ndb.dat");
  std::filesystem::create_directory(navData_ / "ndb.dat");
  run = Run({"map", "--world", "--out", out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.starts_with("Error: Could not open ndb.dat\n")) << run.err;
  EXPECT_TRUE(testing_support::FileNamesIn(pictures_.path()).empty());
}

}  // namespace
}  // namespace cli
