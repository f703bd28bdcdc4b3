// The widget tests need one QApplication for the whole run; GoogleTest runs
// the cases inside it. The offscreen platform is the default so that the
// tests run without a display. The settings go to a folder of the run's own
// (each window test points them at its own folder again), never to the
// user's.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "shell/skat/settings.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  const QTemporaryDir config;
  if (!config.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  QApplication app(argc, argv);
  SetProgramNames();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
