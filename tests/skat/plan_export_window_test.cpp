// The plan written for other simulators from the window: "Export..." of the
// Flight Plan dialog and "Save plan as / Export..." of the File menu write
// the bytes `skat-cli plan export` writes, say why a plan or a file is
// refused, remember the folder and format across windows, and the printout
// offers the plan's own PDF name.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/cli/commands.h"
#include "shell/skat/menu_bar.h"
#include "shell/skat/plan_export_dialog.h"
#include "shell/skat/save_file_dialog.h"
#include "tests/skat/plan_dialog_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::ReadBytes;
using skat_test::ShownMessages;

const QStringList kFilters{"FlightGear route (*.xml)", "X-Plane 11 flight plan (*.fms)",
                           "GPX 1.1 route (*.gpx)"};
enum Filter { kFlightGear = 0, kFms = 1, kGpx = 2 };

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// Where the last save dialog opened.
std::string Suggested() {
  return SaveFileDialogSeam::lastSuggestedFile().toStdString();
}

// The exit status of xmllint over `file` with `options`.
int Xmllint(const std::string& options, const fs::path& file) {
  const int status = std::system(
      ("xmllint --nonet --noout " + options + " '" + file.string() + "' > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Root may write into any folder: without CAP_DAC_OVERRIDE the folder's
// mode holds for it as for anyone. Capabilities belong to the thread, and
// the export runs on this one; they are given back at the end.
class FolderModesHold {
 public:
  FolderModesHold() {
    if (::geteuid() != 0) {
      holds_ = true;
      return;
    }
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    holds_ = dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~FolderModesHold() {
    if (dropped_) ::syscall(SYS_capset, &header_, saved_);
  }
  bool holds() const { return holds_; }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool holds_ = false;
  bool dropped_ = false;
};

class PlanExportWindowTest : public skat_test::FlightPlanDialogTest {
 protected:
  // LFPO, the NDB AB and LFOB, computed, named ORYBVA, the dialog still open.
  void buildPlan() {
    clickWindow("New");
    pick("Insert", std::make_pair(NavaidKind::Airport, 3));
    pick("Insert", std::make_pair(NavaidKind::Airport, 0));
    selectRow(rows()->count() - 1);
    pick("Insert", std::make_pair(NavaidKind::Ndb, 0));
    setField("Cruise altitude", "9000");
    setField("Cruise speed", "250");
    QLineEdit* name = child<QLineEdit>("Flight plan file name");
    name->clear();
    QTest::keyClicks(name, "ORYBVA");
  }
  void save() {
    MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // a sharp turn, if any, is kept
    click("Save");
    MessageBoxSeam::clearNextAnswers();
    ASSERT_FALSE(dialog().isVisible());
  }
  fs::path planFile() const { return test_.navData / "FlightPlans" / "ORYBVA.pln"; }
  // Export... of the dialog, the save dialog answered with `file` and `filter`.
  void exportFromDialog(const fs::path& file, int filter) {
    SaveFileDialogSeam::setNextFile(Q(file), filter);
    click("Export...");
  }
  QAction* menuAction(const char* name) {
    QAction* action = window().findChild<MainMenuBar*>()->action(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  // The File menu as it opens.
  void openFileMenu() {
    for (QMenu* menu : window().findChild<MainMenuBar*>()->findChildren<QMenu*>()) {
      if (menu->title() == "&File") emit menu->aboutToShow();
    }
  }
  // What skat-cli plan export writes for the plan file `plan`.
  std::string cliExport(const fs::path& plan, const char* format, const fs::path& out) {
    std::istringstream in;
    std::ostringstream printed, errors;
    const int exitCode = cli::RunSkatCli({"--navdata", test_.navData.string(), "plan", "export",
                                          plan.string(), "--format", format, out.string()},
                                         in, printed, errors, false);
    EXPECT_EQ(exitCode, 0) << errors.str();
    return ReadBytes(out);
  }
};

TEST_F(PlanExportWindowTest, DialogWritesWhatSkatCliWritesInEachFormat) {
  buildPlan();
  const fs::path out = test_.sim / "out";
  fs::create_directories(out);
  // The first export starts in the plan's folder on its name, FlightGear first.
  exportFromDialog(out / "route", kFlightGear);
  EXPECT_EQ(SaveFileDialogSeam::lastTitle(), "Save plan as / Export");
  EXPECT_EQ(SaveFileDialogSeam::lastFilters(), kFilters);
  EXPECT_EQ(SaveFileDialogSeam::lastFilter(), kFlightGear);
  EXPECT_EQ(Suggested(), (test_.navData / "FlightPlans" / "ORYBVA.xml").string());
  // The next one starts where the last went, in the format last written;
  // a name typed without a suffix gets the chosen filter's.
  exportFromDialog(out / "route", kFms);
  EXPECT_EQ(Suggested(), (out / "ORYBVA.xml").string());
  EXPECT_EQ(SaveFileDialogSeam::lastFilter(), kFlightGear);
  exportFromDialog(out / "route.gpx", kGpx);
  EXPECT_EQ(Suggested(), (out / "ORYBVA.fms").string());
  EXPECT_EQ(SaveFileDialogSeam::lastFilter(), kFms);
  EXPECT_TRUE(ShownMessages().empty());
  EXPECT_TRUE(dialog().isVisible()) << "the export leaves the plan open";
  EXPECT_EQ(testing_support::FileNamesIn(out),
            (std::vector<std::string>{"route.fms", "route.gpx", "route.xml"}));

  save();
  const fs::path cli = test_.sim / "cli";
  fs::create_directories(cli);
  EXPECT_EQ(ReadBytes(out / "route.xml"), cliExport(planFile(), "fgfs", cli / "a.xml"));
  EXPECT_EQ(ReadBytes(out / "route.fms"), cliExport(planFile(), "fms", cli / "a.fms"));
  EXPECT_EQ(ReadBytes(out / "route.gpx"), cliExport(planFile(), "gpx", cli / "a.gpx"));
  EXPECT_NE(ReadBytes(out / "route.gpx").find("<rtept "), std::string::npos);
  EXPECT_EQ(Xmllint("", out / "route.xml"), 0);
  EXPECT_EQ(Xmllint("--schema '" + std::string(SKYATLAS_SOURCE_DIR) + "/tools/schemas/gpx.xsd'",
                    out / "route.gpx"),
            0);
}

TEST_F(PlanExportWindowTest, MenuExportsThePlanAsStoredAndIsOffWithoutOne) {
  QAction* exportPlan = menuAction("Save plan as / Export");
  openFileMenu();
  EXPECT_FALSE(exportPlan->isEnabled()) << "no plan opened or saved yet";
  buildPlan();
  save();
  openFileMenu();
  EXPECT_TRUE(exportPlan->isEnabled());

  // Opened again and changed, then the changes thrown away: the menu writes
  // the plan as the file holds it.
  OpenFileDialogSeam::setNextFile(Q(planFile()));
  clickWindow("Open");
  setField("Cruise altitude", "12000");
  discard();
  MessageBoxSeam::clearShown();
  const fs::path gpx = test_.sim / "menu.gpx";
  SaveFileDialogSeam::setNextFile(Q(test_.sim / "menu"), kGpx);
  exportPlan->trigger();
  EXPECT_EQ(Suggested(), (test_.navData / "FlightPlans/ORYBVA.xml").string());
  EXPECT_TRUE(ShownMessages().empty()) << ShownMessages().front();
  EXPECT_EQ(ReadBytes(gpx), cliExport(planFile(), "gpx", test_.sim / "cli.gpx"));
  EXPECT_EQ(ReadBytes(gpx).find("12000"), std::string::npos);

  // Off while a worker has the commands.
  window().setCommandsEnabled(false, true);
  openFileMenu();
  EXPECT_FALSE(exportPlan->isEnabled());
  window().setCommandsEnabled(true, true);
  openFileMenu();
  EXPECT_TRUE(exportPlan->isEnabled());

  // The plan file gone: the read fails as Open's does, and nothing is written.
  fs::rename(planFile(), test_.sim / "moved.pln");
  fs::remove(gpx);
  SaveFileDialogSeam::clear();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  exportPlan->trigger();
  ASSERT_EQ(ShownMessages().size(), 1u);
  EXPECT_TRUE(ShownMessages()[0].starts_with("Error !|Cannot open the file")) << ShownMessages()[0];
  EXPECT_TRUE(SaveFileDialogSeam::lastTitle().isEmpty());
  EXPECT_FALSE(fs::exists(gpx));
}

TEST_F(PlanExportWindowTest, RefusalsAndFailedWritesAreToldAndNothingPassesForWritten) {
  // One waypoint: refused before any file is asked for.
  clickWindow("New");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Export...");
  EXPECT_EQ(ShownMessages(),
            (std::vector<std::string>{"Export plan|The flight plan cannot be exported: the plan "
                                      "has fewer than two waypoints."}));
  EXPECT_TRUE(SaveFileDialogSeam::lastTitle().isEmpty());
  discard();
  MessageBoxSeam::clearShown();

  buildPlan();
  planner::PlannerState& plan = launcher_->plan();
  const fs::path planPath = planFile();
  // A folder that is a file: the system's reason, and the next export still
  // starts in the plan's folder.
  const fs::path plain = test_.sim / "plain";
  { std::ofstream(plain) << "not a folder"; }
  SaveFileDialogSeam::setNextFile(Q(plain / "out.gpx"), kGpx);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  EXPECT_EQ(ExportPlanAs(&dialog(), plan, planPath), PlanExportOutcome::Failed);
  EXPECT_EQ(ShownMessages(),
            (std::vector<std::string>{"Export plan|The flight plan could not be written to " +
                                      (plain / "out.gpx").string() + ":\nNot a directory"}));
  EXPECT_EQ(ReadBytes(plain), "not a folder");

  // A folder without write permission.
  const fs::path locked = test_.sim / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  {
    const FolderModesHold modes;
    if (modes.holds()) {
      MessageBoxSeam::clearShown();
      SaveFileDialogSeam::setNextFile(Q(locked / "out"), kFms);
      MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
      EXPECT_EQ(ExportPlanAs(&dialog(), plan, planPath), PlanExportOutcome::Failed);
      EXPECT_EQ(ShownMessages(),
                (std::vector<std::string>{"Export plan|The flight plan could not be written to " +
                                          (locked / "out.fms").string() + ":\nPermission denied"}));
    } else {
      ADD_FAILURE() << "the folder's mode cannot be made to hold for this user";
    }
  }
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(locked));
  SaveFileDialogSeam::setNextFile("", kGpx);
  EXPECT_EQ(ExportPlanAs(&dialog(), plan, planPath), PlanExportOutcome::Cancelled);
  EXPECT_EQ(Suggested(), (test_.navData / "FlightPlans/ORYBVA.xml").string())
      << "no failed export is remembered";

  // The plan's own file is never written over, whatever the filter.
  save();
  const std::string planBytes = ReadBytes(planPath);
  MessageBoxSeam::clearShown();
  SaveFileDialogSeam::setNextFile(Q(planPath), kGpx);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  EXPECT_EQ(ExportPlanAs(&window(), plan, planPath), PlanExportOutcome::Refused);
  EXPECT_EQ(ShownMessages(),
            (std::vector<std::string>{"Export plan|The flight plan cannot be exported to " +
                                      planPath.string() + ": that file is the plan itself."}));
  EXPECT_EQ(ReadBytes(planPath), planBytes);

  // A suffix added after the dialog makes another name: asked about before
  // that file is replaced; No keeps it.
  const fs::path taken = test_.sim / "taken.xml";
  { std::ofstream(taken) << "keep me"; }
  MessageBoxSeam::clearShown();
  SaveFileDialogSeam::setNextFile(Q(test_.sim / "taken"), kFlightGear);
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  EXPECT_EQ(ExportPlanAs(&window(), plan, planPath), PlanExportOutcome::Cancelled);
  EXPECT_EQ(ShownMessages(), (std::vector<std::string>{"Export plan|The file " + taken.string() +
                                                       " already exists.\n\nOverwrite ?"}));
  EXPECT_EQ(ReadBytes(taken), "keep me");
  SaveFileDialogSeam::setNextFile(Q(test_.sim / "taken"), kFlightGear);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  EXPECT_EQ(ExportPlanAs(&window(), plan, planPath), PlanExportOutcome::Exported);
  EXPECT_EQ(ReadBytes(taken), cliExport(planPath, "fgfs", test_.sim / "cli.xml"));
}

TEST_F(PlanExportWindowTest, FoldersAndFormatAreRememberedForTheNextWindow) {
  buildPlan();
  const fs::path out = test_.sim / "exports";
  fs::create_directories(out);
  exportFromDialog(out / "trip", kGpx);
  ASSERT_TRUE(fs::exists(out / "trip.gpx"));
  save();
  // The import's folder: the one the last file was chosen in.
  const fs::path foreign = test_.sim / "foreign";
  fs::create_directories(foreign);
  OpenFileDialogSeam::setNextFile(Q(foreign / "trip.txt"));  // no form of plan: nothing opens
  clickWindow("Import");
  EXPECT_EQ(OpenFileDialogSeam::lastStartFolder(), Q(test_.sim / "Sim"));

  // The settings are a file in the user's config folder, read by a new window.
  EXPECT_TRUE(fs::exists(test_.config / "Skyatlas" / "skat.conf"));
  test_.window.reset();
  test_.Open();
  launcher_ = window().findChild<PlanLauncher*>("Plan launcher");
  OpenFileDialogSeam::setNextFile("");
  clickWindow("Import");
  EXPECT_EQ(OpenFileDialogSeam::lastStartFolder(), Q(foreign));
  OpenFileDialogSeam::setNextFile(Q(planFile()));
  clickWindow("Open");
  SaveFileDialogSeam::setNextFile("", kGpx);
  click("Export...");
  EXPECT_EQ(Suggested(), (out / "ORYBVA.gpx").string());
  EXPECT_EQ(SaveFileDialogSeam::lastFilter(), kGpx);
  click("Cancel");

  // A remembered folder that is gone: the plan's folder again.
  fs::remove_all(out);
  OpenFileDialogSeam::setNextFile(Q(planFile()));
  clickWindow("Open");
  SaveFileDialogSeam::setNextFile("", kGpx);
  click("Export...");
  EXPECT_EQ(Suggested(), (test_.navData / "FlightPlans" / "ORYBVA.gpx").string());
  click("Cancel");
}

TEST_F(PlanExportWindowTest, PrintOffersThePlansNameAsPdfInThePlansFolder) {
  buildPlan();
  const fs::path pdf = test_.sim / "printed.pdf";
  PrintDialogSeam::setNextPdfFile(Q(pdf));
  click("Print");
  EXPECT_EQ(PrintDialogSeam::lastOfferedPdfFile(), Q(test_.navData / "FlightPlans/ORYBVA.pdf"));
  EXPECT_TRUE(ReadBytes(pdf).starts_with("%PDF-"));

  // The print dialog shows the offer in its file field.
  QPrinter printer(QPrinter::HighResolution);
  OfferPdfFile(printer, Q(test_.sim / "offered.pdf"));
  EXPECT_EQ(printer.outputFileName(), Q(test_.sim / "offered.pdf"));
  QPrintDialog print(&printer);
  bool shown = false;
  for (QLineEdit* field : print.findChildren<QLineEdit*>()) {
    shown = shown || field->text() == Q(test_.sim / "offered.pdf");
  }
  EXPECT_TRUE(shown);
  discard();
}

}  // namespace
