#include <QApplication>

#include <gtest/gtest.h>

TEST(SkatApplication, RunsOnTheOffscreenPlatform) {
  EXPECT_EQ(QApplication::platformName(), "offscreen");
}
