#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include "shell/skat/entry_list_model.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/single_instance.h"
#include "shell/skat/skat_program.h"
#include "tests/skat/skat_fixture.h"
#include "tests/support/lock_acquire.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;

QString TestKey(const char* name) {
  return QStringLiteral("skat-test-%1-%2").arg(getpid()).arg(name);
}

StartOptions Options(const fs::path& current, const char* key, QStringList arguments = {}) {
  StartOptions options;
  options.currentDirectory = QString::fromStdString(current.string());
  options.instanceKey = TestKey(key);
  options.arguments = std::move(arguments);
  options.loadingMinimum = std::chrono::milliseconds(0);
  return options;
}

void StartAndWait(SkatProgram& program) {
  ASSERT_EQ(program.start(), StartOutcome::Started);
  ASSERT_TRUE(QTest::qWaitFor([&] { return program.ready(); }, 10000));
}

TEST(Startup, FromInsideNavDataFindsTheSimulatorAndLoadsItsDatabase) {
  skat_test::WindowTest files;  // only its folders
  fs::create_directories(files.navData / "Tools");
  SkatProgram program(Options(files.navData / "Tools", "inside"));
  StartAndWait(program);
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  EXPECT_EQ(program.state().simulatorRoot, (files.sim / "Sim").string());
  EXPECT_EQ(program.state().sceneryRootPath, (files.sim / "Sim").string());
  MainWindow& window = *program.window();
  EXPECT_EQ(window.findChild<QLineEdit*>("Root path for scenery scan :")->text().toStdString(),
            (files.sim / "Sim").string());
  EXPECT_EQ(window.model(NavaidKind::Airport)->rowCount(), 4);
  EXPECT_EQ(window.findChild<QLineEdit*>("NDBs entries")->text(), "3");
  EXPECT_EQ(program.loadingWindow(), nullptr);  // closed after the load
  EXPECT_TRUE(window.isVisible());
  window.close();
}

TEST(Startup, OutsideNavDataWarnsAndLeavesTheRootPathEmpty) {
  skat_test::WindowTest files;
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Ok);
  SkatProgram program(Options(files.sim.path(), "outside"));
  StartAndWait(program);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  const navdb::MessageRequest& warning = MessageBoxSeam::shown()[0];
  EXPECT_EQ(warning.caption, "Warning");
  EXPECT_EQ(warning.text,
            "Problem to find Flight Simulator installation folder.\r"
            "Please set manually the root path for scenery scanning.");
  EXPECT_EQ(warning.icon, navdb::MessageIcon::Warning);
  EXPECT_TRUE(warning.topmost);
  EXPECT_EQ(program.state().simulatorRoot, "");
  auto* rootPath = program.window()->findChild<QLineEdit*>("Root path for scenery scan :");
  EXPECT_EQ(rootPath->text(), "");
  EXPECT_EQ(program.window()->focusWidget(), rootPath);
  // No database here: every list shows the placeholder.
  EXPECT_EQ(program.window()->model(NavaidKind::Ndb)->index(0).data().toString(),
            "(no data found)");
  program.window()->close();
}

TEST(Startup, TheSimulatorFolderMayBeGivenOnTheCommandLine) {
  skat_test::WindowTest files;
  const QString simulator = QString::fromStdString((files.sim / "Sim").string());
  for (const QString& argument : {simulator, simulator + "/NavData", simulator + "/"}) {
    SCOPED_TRACE(argument.toStdString());
    MessageBoxSeam::clearShown();
    SkatProgram program(Options(files.sim.path(), "argument", {argument}));
    StartAndWait(program);
    EXPECT_TRUE(MessageBoxSeam::shown().empty());
    EXPECT_EQ(program.state().simulatorRoot, simulator.toStdString());
    EXPECT_EQ(program.window()->model(NavaidKind::Vor)->rowCount(), 1);
    program.window()->close();
  }
}

TEST(SingleInstance, ASecondStartBringsTheFirstToTheFrontAndEnds) {
  SingleInstance first(TestKey("single"));
  EXPECT_FALSE(first.activateRunning());  // nobody runs yet
  int activations = 0;
  ASSERT_TRUE(first.listen([&activations] { ++activations; }));
  SingleInstance second(TestKey("single"));
  EXPECT_TRUE(second.activateRunning());
  EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));

  // Through the program: the second start does not open a window, and the
  // first one comes back from minimized.
  skat_test::WindowTest files;
  SkatProgram running(Options(files.navData, "program"));
  StartAndWait(running);
  running.window()->showMinimized();
  SkatProgram again(Options(files.navData, "program"));
  EXPECT_EQ(again.start(), StartOutcome::AnotherInstanceRuns);
  EXPECT_EQ(again.window(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !running.window()->isMinimized(); }, 5000));
  running.window()->close();
}

TEST(SingleInstance, EachDatabaseGetsItsOwnWindowAndASecondStartOnOneRaisesIt) {
  skat_test::WindowTest first;
  skat_test::WindowTest second;
  SkatProgram running(Options(first.navData, "per-database"));
  StartAndWait(running);
  // Another simulator's database opens beside it instead of raising it.
  SkatProgram other(Options(second.navData, "per-database"));
  StartAndWait(other);
  EXPECT_EQ(other.state().db.folder, second.navData);
  EXPECT_TRUE(running.window()->isVisible());
  EXPECT_TRUE(other.window()->isVisible());

  // The first database again, through a link to its simulator folder.
  running.window()->showMinimized();
  const fs::path alias = second.sim / "Alias";
  fs::create_directory_symlink(first.navData.parent_path(), alias);
  SkatProgram again(
      Options(second.sim.path(), "per-database", {QString::fromStdString(alias.string())}));
  EXPECT_EQ(again.start(), StartOutcome::AnotherInstanceRuns);
  EXPECT_EQ(again.window(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !running.window()->isMinimized(); }, 5000));
  EXPECT_EQ(DatabaseInstanceKey("k", first.navData), DatabaseInstanceKey("k", alias / "NavData"));
  EXPECT_EQ(DatabaseInstanceKey("k", first.navData),
            DatabaseInstanceKey("k", first.navData / ".." / "NavData" / ""));
  EXPECT_NE(DatabaseInstanceKey("k", first.navData), DatabaseInstanceKey("k", second.navData));
  other.window()->close();
  running.window()->close();
}

TEST(Startup, ADatabaseHeldByAnotherProgramIsNeitherOpenedNorTouched) {
  skat_test::WindowTest files;
  const std::string ndbBefore = files.sim.Read("Sim/NavData/ndb.dat");
  std::string refusal;
  std::optional<navdb::DatabaseLock> other =
      testing_support::AcquireLock(files.navData, navdb::LockMode::Exclusive, "skat-cli", refusal);
  ASSERT_TRUE(other);
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Ok);
  SkatProgram held(Options(files.navData, "held"));
  EXPECT_EQ(held.start(), StartOutcome::DatabaseInUse);
  EXPECT_EQ(held.window(), nullptr);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Error");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text, "The database is in use by skat-cli (process " +
                                                 std::to_string(getpid()) +
                                                 "). Try again when it has finished.");
  EXPECT_EQ(files.sim.Read("Sim/NavData/ndb.dat"), ndbBefore);

  // Once the other program is done the database opens, and while skat runs
  // a command-line writer is refused with skat's name.
  other.reset();
  MessageBoxSeam::clearShown();
  SkatProgram program(Options(files.navData, "free"));
  StartAndWait(program);
  EXPECT_FALSE(
      testing_support::AcquireLock(files.navData, navdb::LockMode::Exclusive, "skat-cli", refusal));
  EXPECT_EQ(refusal, "The database is in use by skat (process " + std::to_string(getpid()) +
                         "). Try again when it has finished.");
  program.window()->close();
}

}  // namespace

namespace {

TEST(Startup, ADatabaseFolderThatCannotBeReadIsReported) {
  skat_test::WindowTest files;
  fs::remove_all(files.navData);
  files.sim.Write("Sim/NavData", "a file where the folder should be");
  for (int box = 0; box < 5; ++box) MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Ok);
  SkatProgram program(Options(files.navData, "unreadable"));
  StartAndWait(program);
  // Each file the load could not open, with the system's reason; none of
  // them is saved over in this run.
  ASSERT_EQ(MessageBoxSeam::shown().size(), 5u);
  const char* files5[] = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};
  for (size_t box = 0; box < 5; ++box) {
    EXPECT_EQ(MessageBoxSeam::shown()[box].caption, "Error");
    EXPECT_EQ(MessageBoxSeam::shown()[box].text,
              std::string("Could not open ") + files5[box] +
                  "\r\rNot a directory\r\rThe file is left as it is and is not saved over until "
                  "it has been read.");
  }
  // The program stays usable: empty lists, the root path to scan from.
  EXPECT_EQ(program.window()->model(NavaidKind::Ndb)->index(0).data().toString(),
            "(no data found)");
  EXPECT_EQ(program.state().sceneryRootPath, (files.sim / "Sim").string());
  program.window()->close();
}

}  // namespace
