#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "navdb/database.h"
#include "shell/skat/airport_filter_dialog.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/folder_dialog.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/ui_bridge.h"
#include "tests/skat/skat_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::WindowTest;

void Click(MainWindow& window, const char* caption) {
  QPushButton* button = window.findChild<QPushButton*>(caption);
  ASSERT_NE(button, nullptr) << caption;
  ASSERT_TRUE(button->isEnabled()) << caption;
  QTest::mouseClick(button, Qt::LeftButton);
}

// The file's entry lines with their ';' separators, without the header.
std::vector<std::string> FileLines(const fs::path& file) {
  const std::string bytes = skat_test::ReadBytes(file);
  std::vector<std::string> lines;
  size_t start = bytes.find("\r\n");
  while (start != std::string::npos && start + 2 < bytes.size()) {
    const size_t end = bytes.find("\r\n", start + 2);
    lines.push_back(bytes.substr(start + 2, end - start - 2));
    start = end;
  }
  return lines;
}

std::string FileForm(std::string line, NavaidKind kind) {
  const navdb::KindInfo& info = navdb::InfoOf(kind);
  for (size_t i = 0; i < info.separatorCount; ++i) line[info.separatorColumns[i]] = ';';
  return line;
}

std::string Summary(int ndbs, int vors, int airports) {
  return "Information|Added to the database :\r\r" + std::to_string(ndbs) + "\tNDB,\r" +
         std::to_string(vors) + "\tVOR,\r" + std::to_string(airports) + "\tAirports.\r";
}

TEST(ScanFromTheWindow, EveryDuplicateAnswerKeepsTheRightLinesAndSavesThem) {
  struct Case {
    scanner::DuplicateOutcome outcome;
    bool keepsExisting;
    int abSeen;  // lines of AB after the scan
    int ndbAdded;
  };
  const Case cases[] = {
      {scanner::DuplicateOutcome::KeepExisting, true, 1, 1},
      {scanner::DuplicateOutcome::KeepBoth, true, 2, 2},
      {scanner::DuplicateOutcome::KeepNew, false, 1, 1},
      {scanner::DuplicateOutcome::AbortScan, true, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.outcome));
    WindowTest test;
    // ZZ comes first and is new; AB is a second version of the database's
    // AB (same identifier and name, 0.2 degrees away).
    test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"ZZ", "NDB ZZ", 46.0, 3.0},
                                                               {"AB", "NDB AB", 49.2, 2.2}}));
    test.Open();
    MainWindow& window = *test.window;
    window.showKindTab(NavaidKind::Intersection);
    DuplicateDialog::setNextAnswer({c.outcome, false});
    MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the summary
    Click(window, "Scan New Scenery");
    test.WaitForWorker();

    ASSERT_EQ(DuplicateDialog::shown().size(), 1u);
    EXPECT_EQ(DuplicateDialog::shown()[0].existingLine, skat_test::NdbLines()[0]);
    EXPECT_EQ(DuplicateDialog::shown()[0].kind, NavaidKind::Ndb);
    const std::vector<std::string> shown = skat_test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    if (c.outcome == scanner::DuplicateOutcome::AbortScan) {
      // A stopped scan says so, then what it kept. The walk may not have
      // finished listing the tree when the scan stopped: the total is then
      // left out.
      const std::string kept = Summary(c.ndbAdded, 0, 0).substr(12);
      EXPECT_TRUE(shown[0] ==
                      "Warning|The scan was stopped after 1 of 1 scenery files.\rWhat it had "
                      "merged until then is kept in the database.\r\r" +
                          kept ||
                  shown[0] ==
                      "Warning|The scan was stopped after 1 scenery file.\rWhat it had "
                      "merged until then is kept in the database.\r\r" +
                          kept)
          << shown[0];
    } else {
      EXPECT_EQ(shown[0], Summary(c.ndbAdded, 0, 0));
    }
    // The visible tab followed the kind being filled.
    EXPECT_EQ(window.currentKind(), NavaidKind::Ndb);

    const std::vector<std::string> file = FileLines(test.navData / "ndb.dat");
    const std::string oldAb = FileForm(skat_test::NdbLines()[0], NavaidKind::Ndb);
    EXPECT_EQ(std::count(file.begin(), file.end(), oldAb), c.keepsExisting ? 1 : 0);
    EXPECT_EQ(std::count_if(file.begin(), file.end(),
                            [](const std::string& line) { return line.starts_with("AB   ;"); }),
              c.abSeen);
    EXPECT_EQ(std::count_if(file.begin(), file.end(),
                            [](const std::string& line) { return line.starts_with("ZZ   ;"); }),
              1);
    // The list in the window is what was saved, row by row.
    EntryListModel* model = window.model(NavaidKind::Ndb);
    ASSERT_EQ(model->rowCount(), static_cast<int>(file.size()));
    for (int row = 0; row < model->rowCount(); ++row) {
      EXPECT_EQ(FileForm(Win1252FromQString(model->index(row).data().toString()), NavaidKind::Ndb),
                file[static_cast<size_t>(row)]);
    }
    EXPECT_EQ(window.findChild<QLineEdit*>("NDBs entries")->text().toInt(), model->rowCount());
    EXPECT_EQ(window.findChild<QLabel*>("Status")->text(), "Status : done");
    // The intersections are untouched and every command is back.
    EXPECT_EQ(FileLines(test.navData / "int.dat").size(), 2u);
    EXPECT_TRUE(window.findChild<QPushButton*>("Scan New Scenery")->isEnabled());
    EXPECT_TRUE(window.listView(NavaidKind::Ndb)->isEnabled());
  }
}

TEST(ScanFromTheWindow, WithoutRootPathNothingStarts) {
  WindowTest test;
  test.state.sceneryRootPath.clear();
  test.Open();
  for (const char* command : {"Scan New Scenery", "Rebuild database"}) {
    MessageBoxSeam::clearShown();
    MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
    Click(*test.window, command);
    EXPECT_FALSE(test.window->commands().workerRunning());
    EXPECT_EQ(skat_test::ShownMessages(),
              std::vector<std::string>{"Error|Please, select first a path for scenery scanning."});
  }
}

TEST(ScanFromTheWindow, ManyLinesAreHandedOverInFewSteps) {
  WindowTest test;
  std::vector<skat_test::TestNdb> ndbs;
  for (int i = 0; i < 3000; ++i) {
    char id[8];
    std::snprintf(id, sizeof id, "N%04d", i);
    ndbs.push_back({id, std::string("NDB ") + id, 40.0 + i * 0.003, 1.0 + i * 0.002});
  }
  test.sim.Write("Scenery/many.bgl", skat_test::NdbSceneryFile(ndbs));
  test.sim.Write("Scenery/sub/empty.bgl", skat_test::NdbSceneryFile({}));
  test.Open();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Click(*test.window, "Scan New Scenery");
  test.WaitForWorker();
  EXPECT_EQ(skat_test::ShownMessages(), std::vector<std::string>{Summary(3000, 0, 0)});
  EXPECT_EQ(test.window->model(NavaidKind::Ndb)->rowCount(), 3003);
  // One hand-over per interval, not one per line.
  EXPECT_LT(test.window->bridge().handOvers(), 300u);
  EXPECT_EQ(FileLines(test.navData / "ndb.dat").size(), 3003u);
}

TEST(RebuildDatabase, NoLeavesEverythingYesEmptiesAllButIntersectionsAndScans) {
  WindowTest test;
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"ZZ", "NDB ZZ", 46.0, 3.0}}));
  test.Open();
  MainWindow& window = *test.window;
  const std::string question =
      "Warning|You are going to lose any modification you've done on the database !\r"
      "(The Intersection list will not be lost)\r\rProceed ?";
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  Click(window, "Rebuild database");
  EXPECT_FALSE(window.commands().workerRunning());
  EXPECT_EQ(skat_test::ShownMessages(), std::vector<std::string>{question});
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 3);
  EXPECT_EQ(window.model(NavaidKind::Airport)->rowCount(), 4);

  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Click(window, "Rebuild database");
  test.WaitForWorker();
  EXPECT_EQ(skat_test::ShownMessages(), (std::vector<std::string>{question, Summary(1, 0, 0)}));
  const std::vector<std::string> ndbFile = FileLines(test.navData / "ndb.dat");
  ASSERT_EQ(ndbFile.size(), 1u);
  EXPECT_TRUE(ndbFile[0].starts_with("ZZ   ;"));
  EXPECT_TRUE(FileLines(test.navData / "vor.dat").empty());
  EXPECT_TRUE(FileLines(test.navData / "apt.dat").empty());
  EXPECT_EQ(FileLines(test.navData / "int.dat").size(), 2u);
  EXPECT_EQ(window.model(NavaidKind::Vor)->index(0).data().toString(), "(no data found)");
  EXPECT_EQ(window.model(NavaidKind::Intersection)->rowCount(), 2);
  EXPECT_EQ(window.findChild<QLineEdit*>("VORs entries")->text(), "0");
}

TEST(RestoreOriginalDb, CopiesTheReferenceFilesBackAndShowsThem) {
  WindowTest test;
  test.sim.Write("Sim/NavData/ndb.dat", "// NDB database for Skyatlas\r\n");
  test.sim.Write("Sim/NavData/int.dat", "// Intersection database for Skyatlas\r\n");
  test.Open();
  MainWindow& window = *test.window;
  EXPECT_EQ(window.model(NavaidKind::Ndb)->index(0).data().toString(), "(no data found)");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the last word
  Click(window, "Restore original DB");
  test.WaitForWorker();
  MessageBoxSeam::clearNextAnswers();
  const std::vector<std::string> shown = skat_test::ShownMessages();
  // The load's progress is a busy box, not a message to answer.
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown.front(),
            "Warning|You are going to lose any modification you've done on the database, \r"
            "INCLUDING the Intersection list !\r\rProceed ?");
  EXPECT_EQ(shown.back(), "Information|Original database restored.");
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 3);
  EXPECT_EQ(Win1252FromQString(window.model(NavaidKind::Ndb)->index(0).data().toString()),
            skat_test::NdbLines()[0]);
  EXPECT_EQ(window.findChild<QLineEdit*>("Intersections entries")->text(), "2");
  EXPECT_EQ(FileLines(test.navData / "ndb.dat").size(), 3u);
  EXPECT_TRUE(window.findChild<QPushButton*>("Quit")->isEnabled());
}

TEST(ChangePathAndFilter, TakeTheChosenFolderAndLength) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  FolderDialogSeam::setNextFolder(QString::fromStdString((test.sim / "Other").string()));
  Click(window, "Change path");
  EXPECT_EQ(FolderDialogSeam::lastTitle(), "Select root path for scenery scanning");
  EXPECT_EQ(test.state.sceneryRootPath, (test.sim / "Other").string());
  EXPECT_EQ(window.findChild<QLineEdit*>("Root path for scenery scan :")->text().toStdString(),
            (test.sim / "Other").string());
  // Cancelled: nothing changes. Too long: refused with a message.
  FolderDialogSeam::setNextFolder("");
  Click(window, "Change path");
  EXPECT_EQ(test.state.sceneryRootPath, (test.sim / "Other").string());
  FolderDialogSeam::setNextFolder("/" + QString(259, 'a'));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Click(window, "Change path");
  EXPECT_EQ(test.state.sceneryRootPath, (test.sim / "Other").string());
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Error");
  FolderDialogSeam::setNextFolder("/" + QString(258, 'a'));
  Click(window, "Change path");
  EXPECT_EQ(test.state.sceneryRootPath.size(), 259u);

  window.showKindTab(NavaidKind::Airport);
  AirportFilterDialog::setNextAnswer(1200u);
  Click(window, "Filter");
  EXPECT_EQ(test.state.minRunwayLengthFt, 1200u);
  AirportFilterDialog::setNextAnswer(std::nullopt);
  Click(window, "Filter");
  EXPECT_EQ(test.state.minRunwayLengthFt, 1200u);
}

}  // namespace
