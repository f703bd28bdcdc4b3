// The flying window: flight keys fly the aircraft, the display's keys reach
// the module, and the aircraft moves by the time that really passes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include "flight_session.h"
#include "module_host.h"
#include "panel_window.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace ndhost {
namespace {

class PanelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)gauge_test::SharedMemoryPrefix();
    gauge_test::WriteDatabase(folder_.path(),
                              gauge_test::BuildDatabase({{'V', "PGS", 48.95, 2.4, "VOR/DME"}}));
    finder_.Load(folder_.path() / "NavData");
    HostOptions options;
    options.simulatorRoot = folder_.path();
    platform::Result<std::unique_ptr<ModuleHost>> loaded =
        ModuleHost::Load(LUMARO_MODULE_PATH, options);
    ASSERT_TRUE(loaded) << loaded.error().message;
    host_ = std::move(loaded).value();
    session_.Flight().position = {48.5, 2.4};
    session_.Publish(host_->Aircraft());
    host_->Start();
    // Past the display's start-up delay, so that it takes keys.
    host_->AdvanceClock(5);
    host_->Frame();
    sinceWidget_.start();
    widget_ = MakePanelWidget(*host_, 50, 1, session_);
    widget_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget_.get()));
  }
  void TearDown() override {
    widget_.reset();
    if (host_) host_->Kill();
  }
  gauge_test::SimulatorFolder folder_;
  StationFinder finder_;
  FlightSession session_{finder_};
  std::unique_ptr<ModuleHost> host_;
  std::unique_ptr<QWidget> widget_;
  QElapsedTimer sinceWidget_;  // the window measures its frames from its start
};

TEST_F(PanelWindow, FlightKeysFlyAndDisplayKeysReachTheModule) {
  QTest::keyClick(widget_.get(), Qt::Key_Left);
  EXPECT_DOUBLE_EQ(session_.Flight().selectedHeadingDeg, 350);
  QTest::keyClick(widget_.get(), Qt::Key_Up);
  EXPECT_DOUBLE_EQ(session_.Flight().airspeedKt, 10);
  QTest::keyClick(widget_.get(), Qt::Key_PageUp);
  EXPECT_DOUBLE_EQ(session_.Flight().selectedAltitudeFt, 500);
  QTest::keyClick(widget_.get(), Qt::Key_F5);
  ASSERT_NE(session_.Tuning().nav1, nullptr);
  EXPECT_EQ(session_.Tuning().nav1->ident, "PGS");
  QTest::keyClick(widget_.get(), Qt::Key_Space);
  EXPECT_TRUE(session_.Flight().paused);
  QTest::keyClick(widget_.get(), Qt::Key_Space);

  // Shift+G doubles the display's range: 320 to 640 once a frame has run.
  ASSERT_TRUE(host_->HaveDiagnostics());
  EXPECT_EQ(host_->Diagnostics().rangeNm, 320);
  QTest::keyClick(widget_.get(), Qt::Key_G, Qt::ShiftModifier);
  QTest::qWait(100);
  EXPECT_EQ(host_->Diagnostics().rangeNm, 640);
  // The tuned station reaches the display's host variables.
  EXPECT_EQ(host_->Aircraft().nav1Ident, "PGS");
  EXPECT_EQ(host_->Aircraft().nav1Flags, 0x01);
}

TEST_F(PanelWindow, TheAircraftMovesByTheTimeThatPasses) {
  session_.Flight().airspeedKt = 3600;  // a mile a second
  GeoPoint start = session_.Flight().position;
  QTest::qWait(400);
  double movedNm = DistanceNm(start, session_.Flight().position);
  double elapsedSeconds = static_cast<double>(sinceWidget_.nsecsElapsed()) / 1e9;
  // Not more than the time that passed, and most of it (frames every 20 ms).
  EXPECT_LE(movedNm, elapsedSeconds + 1e-6);
  EXPECT_GT(movedNm, 0.2);
  EXPECT_NEAR(session_.Flight().position.longitudeDeg, 2.4, 1e-9);  // north, no wind
  // Paused, it stays where it is.
  QTest::keyClick(widget_.get(), Qt::Key_Space);
  GeoPoint paused = session_.Flight().position;
  QTest::qWait(200);
  EXPECT_DOUBLE_EQ(DistanceNm(paused, session_.Flight().position), 0.0);
}

}  // namespace
}  // namespace ndhost

// The offscreen platform is the default, so that the tests (and their
// listing at build time) run without a display.
int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
