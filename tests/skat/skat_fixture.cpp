#include "tests/skat/skat_fixture.h"

#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "shell/skat/airport_filter_dialog.h"
#include "shell/skat/conflict_dialog.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/folder_dialog.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/save_file_dialog.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace skat_test {
namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;

std::string Ndb(std::string_view id, std::string_view name, double latDeg, double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg), lon = navdb::FormatLongitude(lonDeg);
  return navdb::BuildNdbLine({id, name, "375.0", lat, lon, 300, 25});
}

std::string Runway(std::string_view id, std::string_view name, std::string_view designation,
                   long headingDeg, double latDeg, double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg), lon = navdb::FormatLongitude(lonDeg);
  return navdb::BuildRunwayLine({id, name, designation, headingDeg,
                                 navdb::OppositeHeading(headingDeg), lat, lon, 392, 13829, 148,
                                 "000.00"});
}

void Clear() {
  MessageBoxSeam::clearNextAnswers();
  MessageBoxSeam::clearShown();
  DuplicateDialog::clearNextAnswers();
  DuplicateDialog::clearShown();
  AirportFilterDialog::clearNextAnswers();
  FolderDialogSeam::clear();
  SaveFileDialogSeam::clear();
  ConflictDialog::clearShown();
}

}  // namespace

std::vector<std::string> NdbLines() {
  return {Ndb("AB", "NDB AB", 49.0, 2.2), Ndb("CD", "NDB CD", 48.5, 2.6),
          Ndb("EF", "NDB EF", 47.1, -1.2)};
}

std::vector<std::string> VorLines() {
  const std::string lat = navdb::FormatLatitude(49.1), lon = navdb::FormatLongitude(2.0);
  return {navdb::BuildVorLine({"PON", "PONTOISE", "VOR/DME", "111.60", "", lat, lon, 360, 120, 0})};
}

std::vector<std::string> RunwayLines() {
  return {Runway("LFOB", "Beauvais-Tille", "04 /22   ", 41, 49.45, 2.11),
          Runway("LFPG", "Paris Charles De Gaulle", "08L/26R  ", 85, 49.02, 2.52),
          Runway("LFPG", "Paris Charles De Gaulle", "09R/27L  ", 85, 49.00, 2.55),
          Runway("LFPO", "Paris Orly", "06 /24   ", 61, 48.72, 2.37)};
}

std::vector<std::string> IntersectionLines() {
  const std::string lat = navdb::FormatLatitude(48.9), lon = navdb::FormatLongitude(2.2);
  return {navdb::BuildIntersectionLine({"ABLAN", "Intersection", lat, lon, 0}),
          navdb::BuildIntersectionLine({"BOSUP", "Intersection", lat, lon, 0})};
}

void WriteDatabase(const fs::path& navData) {
  navdb::Database db;
  db.folder = navData;
  fs::create_directories(navData / "Original");
  const std::vector<std::string>* lines[] = {nullptr, nullptr, nullptr, nullptr};
  const std::vector<std::string> ndbs = NdbLines(), vors = VorLines(), runways = RunwayLines(),
                                 intersections = IntersectionLines();
  lines[0] = &ndbs;
  lines[1] = &vors;
  lines[2] = &runways;
  lines[3] = &intersections;
  for (NavaidKind kind : navdb::kAllKinds) {
    for (const std::string& line : *lines[navdb::IndexOf(kind)]) {
      ASSERT_TRUE(db.List(kind).AddLine(line).has_value()) << line;
    }
  }
  navdb::RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(navdb::SaveDatabase(db, {}));
  for (const char* name : {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"}) {
    fs::copy_file(navData / name, navData / "Original" / name,
                  fs::copy_options::overwrite_existing);
  }
}

std::string NdbSceneryFile(const std::vector<TestNdb>& ndbs) {
  scenery_writer::BglScenery scenery;
  for (const TestNdb& ndb : ndbs) {
    scenery_writer::BglNdb record;
    record.identifier = ndb.identifier;
    record.name = ndb.name;
    record.tensUnits = 0x52;
    record.latitude24 = scenery_writer::Latitude24(ndb.latitudeDeg);
    record.longitude24 = scenery_writer::Longitude24(ndb.longitudeDeg);
    scenery.ndbs.push_back(record);
  }
  const std::vector<uint8_t> bytes = scenery_writer::WriteBglImage(scenery);
  return {bytes.begin(), bytes.end()};
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ShownMessages() {
  std::vector<std::string> shown;
  for (const navdb::MessageRequest& request : MessageBoxSeam::shown()) {
    shown.push_back(request.caption + "|" + request.text);
  }
  return shown;
}

WindowTest::WindowTest()
    : navData(sim / "Sim/NavData"), scenery(sim / "Scenery"), config(sim / "config") {
  Clear();
  // Every test starts with no remembered folders and no recent plans.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(config.string()));
  WriteDatabase(navData);
  fs::create_directories(scenery);
  state.db.folder = navData;
  state.simulatorRoot = (sim / "Sim").string();
  state.sceneryRootPath = scenery.string();
}

WindowTest::~WindowTest() {
  if (window) {
    window->commands().waitForWorker();
    window.reset();
  }
  Clear();
  // Back to the run's own folder: this test's goes with it.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")));
}

void WindowTest::Open() {
  window = std::make_unique<MainWindow>(state);
  window->showSceneryRootPath();
  bool loaded = false;
  window->commands().startLoad([&loaded] { loaded = true; });
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&loaded] { return loaded; }, 10000));
}

void WindowTest::WaitForWorker() {
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->commands().workerRunning(); }, 20000));
}

}  // namespace skat_test
