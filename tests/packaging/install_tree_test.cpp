// `cmake --install` of this build into a temporary prefix: the files land
// where the desktop, man and bash look for them and nothing else is
// installed; the programs run from there, and from wherever the tree is
// moved, finding the module and the data beside them, never in the build.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/packaging/command_runner.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using packaging_test::CommandRun;
using packaging_test::FileBytes;
using packaging_test::Quoted;
using packaging_test::RunCommand;

std::set<std::string> FilesBelow(const fs::path& root) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

bool Executable(const fs::path& file) {
  return (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

class InstallTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const CommandRun install =
        RunCommand(Quoted(CMAKE_PATH) + " --install " + Quoted(SKAT_BUILD_DIR) +
                   " --strip --prefix " + Quoted(prefix_.string()));
    ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
  }

  // A simulator folder with the installed demo database and no module.
  fs::path SimulatorWithoutModule(const fs::path& prefix) const {
    const fs::path simulator = folder_ / "sim";
    fs::remove_all(simulator);
    fs::create_directories(simulator);
    fs::copy(prefix / INSTALL_DATADIR / "demo" / "NavData", simulator / "NavData",
             fs::copy_options::recursive);
    return simulator;
  }

  testing_support::TempFolder folder_;
  fs::path prefix_ = folder_ / "prefix";
};

TEST_F(InstallTree, EveryFileInItsPlaceAndNothingElse) {
  const std::string data = INSTALL_DATADIR;
  const std::string share = INSTALL_DATAROOTDIR;
  std::set<std::string> expected = {
      std::string(INSTALL_BINDIR) + "/skat",
      std::string(INSTALL_BINDIR) + "/skat-cli",
      std::string(INSTALL_BINDIR) + "/ndhost",
      std::string(INSTALL_MODULEDIR) + "/Lumaro.gau",
      data + "/skyatlas-nd.xml",
      data + "/install-protocol.sh",
      share + "/applications/skat.desktop",
      share + "/metainfo/org.skyatlas.skat.metainfo.xml",
      share + "/icons/hicolor/scalable/apps/skat.svg",
      share + "/bash-completion/completions/skat-cli",
      share + "/doc/skyatlas/copyright",
      share + "/doc/skyatlas/changelog.gz",
  };
  for (const char* size :
       {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
    expected.insert(share + "/icons/hicolor/" + size + "/apps/skat.png");
  }
  for (const char* page : {"skat", "skat-cli", "ndhost"}) {
    expected.insert(std::string(INSTALL_MANDIR) + "/man1/" + page + ".1.gz");
  }
  for (const char* file : {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"}) {
    expected.insert(data + "/demo/NavData/" + file);
    expected.insert(data + "/demo/NavData/Original/" + file);
  }
  // The demo scenery as the source tree holds it.
  const fs::path scenery = fs::path(SKAT_SOURCE_DIR) / "demo" / "Scenery";
  for (const std::string& file : FilesBelow(scenery))
    expected.insert(data + "/demo/Scenery/" + file);

  EXPECT_EQ(FilesBelow(prefix_), expected);

  for (const char* program : {"skat", "skat-cli", "ndhost"}) {
    EXPECT_TRUE(Executable(prefix_ / INSTALL_BINDIR / program)) << program;
  }
  EXPECT_TRUE(Executable(prefix_ / data / "install-protocol.sh"));
  EXPECT_FALSE(Executable(prefix_ / INSTALL_MODULEDIR / "Lumaro.gau"));
  EXPECT_EQ(FileBytes((prefix_ / data / "demo" / "NavData" / "vor.dat").string()),
            FileBytes(std::string(SKAT_SOURCE_DIR) + "/demo/NavData/vor.dat"));
}

// No installed file names the build or the source tree (the debug
// information, which would, is stripped as the package strips it). A
// sanitizer build keeps its source paths for its reports and is never
// packaged, so the check speaks only for the builds that are.
TEST_F(InstallTree, NoPathOfTheBuildInAnyInstalledFile) {
  if (SKAT_SANITIZED_BUILD) GTEST_SKIP() << "a sanitizer build names its sources on purpose";
  for (const std::string& file : FilesBelow(prefix_)) {
    const std::string bytes = FileBytes((prefix_ / file).string());
    EXPECT_EQ(bytes.find(SKAT_BUILD_DIR), std::string::npos) << file;
    EXPECT_EQ(bytes.find(SKAT_SOURCE_DIR), std::string::npos) << file;
  }
}

// The installed ndhost loads the installed module for a simulator folder
// that has none, from the prefix and from the tree moved elsewhere; the
// programs answer --version without a display; the installed protocol
// script finds the protocol file beside it.
TEST_F(InstallTree, ProgramsFindTheirFilesBesideThemWhereverTheTreeIs) {
  // Shared memory names of this run's own, apart from other tests' hosts.
  const std::string environment = "SKAT_SHM_PREFIX=packaging-" + std::to_string(::getpid()) + "- ";
  const fs::path moved = folder_ / "elsewhere" / "tree";
  for (const fs::path& prefix : {prefix_, moved}) {
    SCOPED_TRACE(prefix.string());
    if (prefix == moved) {
      fs::create_directories(moved.parent_path());
      fs::rename(prefix_, moved);
    }
    const fs::path simulator = SimulatorWithoutModule(prefix);
    const CommandRun run = RunCommand(
        environment + Quoted((prefix / INSTALL_BINDIR / "ndhost").string()) + " --sim-root " +
        Quoted(simulator.string()) + " --frames 3 --lat 48.85 --lon 2.35 --nav1 PGS --report");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("database status 0\n", 0), 0u) << run.out << run.err;
    EXPECT_FALSE(fs::exists(simulator / "Gauges"));
  }

  for (const char* program : {"skat", "skat-cli", "ndhost"}) {
    const CommandRun run =
        RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                   Quoted((moved / INSTALL_BINDIR / program).string()) + " --version");
    EXPECT_EQ(run.exitCode, 0) << program << run.err;
    EXPECT_EQ(run.out, std::string(program) + " (Skyatlas) " SKAT_VERSION "\n");
  }

  const fs::path flightGear = folder_ / "fgdata";
  fs::create_directories(flightGear / "Protocol");
  const CommandRun protocol =
      RunCommand(Quoted((moved / INSTALL_DATADIR / "install-protocol.sh").string()) + " " +
                 Quoted(flightGear.string()));
  EXPECT_EQ(protocol.exitCode, 0) << protocol.err;
  EXPECT_EQ(FileBytes((flightGear / "Protocol" / "skyatlas-nd.xml").string()),
            FileBytes(std::string(SKAT_SOURCE_DIR) + "/host/fgfs/skyatlas-nd.xml"));
}

}  // namespace
