// skat-cli scan and folders it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/shell/cli_runner.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RunCli;
using testing_support::TempFolder;

bool Unreadable(const fs::path& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  return static_cast<bool>(error);
}

// A folder "locked" below `root` that this process cannot list: one without
// permissions, or, for a user that passes permissions, a link to a kernel
// folder that is closed even to it. False when there is none.
bool MakeUnreadableFolder(const TempFolder& root) {
  fs::create_directory(root / "locked");
  fs::permissions(root / "locked", fs::perms::none);
  if (Unreadable(root / "locked")) return true;
  fs::remove(root / "locked");
  fs::create_directory_symlink("/proc/1/map_files", root / "locked");
  return Unreadable(root / "locked");
}

TEST(ScanCommand, UnreadableFoldersAreReportedAndStopOnError) {
  TempFolder root, navData;
  if (!MakeUnreadableFolder(root)) GTEST_SKIP() << "no folder this process cannot read";
  scenery_writer::BglScenery scenery;
  scenery_writer::BglNdb ndb;
  ndb.identifier = "AB";
  ndb.name = "ALPHA";
  scenery.ndbs.push_back(ndb);
  const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  root.Write("a.bgl", std::string(image.begin(), image.end()));
  const std::string locked = (root / "locked").string();
  const std::string reason = std::make_error_code(std::errc::permission_denied).message();
  const std::string status = "Status : could not read folder " + locked + " (" + reason + ")\n";
  const std::string navDataOption = "--navdata=" + navData.path().string();

  auto run = RunCli({navDataOption, "scan", root.path().string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find(status), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1\tNDB,\n0\tVOR,\n0\tAirports.\n\nFolders that could not be read :\n" +
                         locked + " (" + reason + ")\n"),
            std::string::npos)
      << run.out;

  run = RunCli({navDataOption, "scan", root.path().string(), "--stop-on-error"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find(status), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Status : scanning aborted\n"), std::string::npos) << run.out;
  std::error_code ignored;  // a link to a kernel folder keeps its own permissions
  fs::permissions(root / "locked", fs::perms::owner_all,
                  fs::perm_options::replace | fs::perm_options::nofollow, ignored);
}

}  // namespace
