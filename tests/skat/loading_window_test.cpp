#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

#include "shell/skat/loading_window.h"

namespace {

using std::chrono::milliseconds;

TEST(LoadingWindow, ShowsItsCaptionAndAProgressBarThatFollowsTheLoad) {
  LoadingWindow window;
  EXPECT_EQ(LoadingWindow::kMinimumShowTime, milliseconds(2000));
  EXPECT_EQ(window.windowTitle(), "Loading");
  auto* caption = window.findChild<QLabel*>("caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), "Loading");
  auto* bar = window.findChild<QProgressBar*>("progress");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 0);

  window.show();
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_EQ(window.geometry().center(), screen.center());
  window.setProgress(37);
  EXPECT_EQ(bar->value(), 37);
  window.setProgress(140);
  EXPECT_EQ(window.progress(), 100);
  window.setProgress(-5);
  EXPECT_EQ(window.progress(), 0);

  // A loader on another thread only queues the value.
  std::thread([&window] { window.setProgress(64); }).join();
  EXPECT_EQ(window.progress(), 0);
  QApplication::processEvents();
  EXPECT_EQ(window.progress(), 64);
}

TEST(LoadingWindow, ABarStepRepaintsToThePictureOfAWholePaint) {
  // The splash is drawn once and each step of the bar repaints only the
  // bar's part of the window from it: that part must come out as a whole
  // new paint of the window would.
  LoadingWindow stepped;
  stepped.setProgress(10);
  QImage picture = stepped.grab().toImage();
  stepped.setProgress(55);
  auto* bar = stepped.findChild<QProgressBar*>("progress");
  ASSERT_NE(bar, nullptr);
  stepped.render(&picture, bar->geometry().topLeft(), QRegion(bar->geometry()));

  LoadingWindow whole;
  whole.setProgress(55);
  const QImage expected = whole.grab().toImage();
  EXPECT_EQ(picture.convertToFormat(expected.format()), expected);
  // ... and a whole paint has the splash: the program's name in white.
  int whitePixels = 0;
  for (int y = 40; y < 90; ++y) {
    for (int x = 182; x < 470; ++x) whitePixels += expected.pixel(x, y) == qRgb(255, 255, 255);
  }
  EXPECT_GT(whitePixels, 100);
}

TEST(LoadingWindow, StaysUpForTheMinimumTimeCountedFromItsShow) {
  LoadingWindow window;
  // Margins of most of a second, so that a loaded machine (a sanitizer
  // build beside other tests) cannot make the checks race the timer.
  window.setMinimumShowTime(milliseconds(1000));
  EXPECT_EQ(window.shownForMs(), 0);
  window.show();
  bool done = false;
  qint64 shownForMs = -1;
  window.finishAfterMinimum([&] {
    done = true;
    shownForMs = window.shownForMs();
    EXPECT_FALSE(window.isVisible());
  });
  QTest::qWait(150);
  EXPECT_FALSE(done);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
  EXPECT_GE(shownForMs, 1000);
  EXPECT_FALSE(window.isVisible());
}

TEST(LoadingWindow, ALongLoadClosesAsSoonAsItEnds) {
  LoadingWindow window;
  window.setMinimumShowTime(milliseconds(1000));
  window.show();
  QTest::qWait(1100);  // the load took longer than the minimum
  QElapsedTimer sinceFinish;
  sinceFinish.start();
  bool done = false;
  window.finishAfterMinimum([&] { done = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 2000));
  EXPECT_LT(sinceFinish.elapsed(), 700);  // not another minimum
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
