// A simulator folder with a small database, and a main window over it,
// for the widget tests. Every modal question is answered through the seams.
#pragma once

#include <QString>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "navdb/reporter.h"
#include "shell/core/app_state.h"
#include "tests/support/temp_folder.h"

class MainWindow;

namespace skat_test {

// The lines of the test database, in list order.
std::vector<std::string> NdbLines();
std::vector<std::string> VorLines();
std::vector<std::string> RunwayLines();
std::vector<std::string> IntersectionLines();

// Writes the five database files into `navData` and the same files into its
// Original folder.
void WriteDatabase(const std::filesystem::path& navData);

// The bytes of a scenery file holding NDBs.
struct TestNdb {
  std::string identifier;
  std::string name;
  double latitudeDeg;
  double longitudeDeg;
};
std::string NdbSceneryFile(const std::vector<TestNdb>& ndbs);

// The whole file, empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// The message boxes shown since the last clear, as "caption|text".
std::vector<std::string> ShownMessages();

class WindowTest {
 public:
  WindowTest();
  ~WindowTest();

  // Makes the window over the database and waits until it is loaded.
  void Open();
  // Waits until the worker of the window has ended.
  void WaitForWorker();

  testing_support::TempFolder sim;
  std::filesystem::path navData;
  std::filesystem::path scenery;
  // The user's config folder for the settings of this test alone.
  std::filesystem::path config;
  shell::AppState state;
  std::unique_ptr<MainWindow> window;
};

}  // namespace skat_test
