#include "data/mode_file.h"
#include "data/small_files.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstdio>
#include <filesystem>

#include "named_pipes.h"
#include "platform/shared_memory.h"
#include "test_environment.h"

namespace lumaro {
namespace {

using gauge_test::SimulatorFolder;

TEST(ModeFile, StoreWritesFourDecimalLines) {
  SimulatorFolder folder;
  DisplayModes modes;
  modes.item = 0x16;
  ASSERT_TRUE(StoreModeFile(folder.path().string(), modes));
  EXPECT_EQ(folder.Read("Gauges/NDmode.tmp"), "1\r\n0\r\n22\r\n320\r\n");
  EXPECT_FALSE(folder.Exists("Gauges/NDmode.tmp.new"));
  std::filesystem::remove_all(folder.path() / "Gauges");
  EXPECT_FALSE(StoreModeFile(folder.path().string(), modes));
}

TEST(ModeFile, ParseTakesValuesInRangeOnly) {
  ModeFileValues parsed = ParseModeFile("0\n2\n22\n40\n");
  EXPECT_EQ(parsed.values[0], 0);
  EXPECT_EQ(parsed.values[1], 2);
  EXPECT_EQ(parsed.values[2], 22);
  EXPECT_EQ(parsed.values[3], 40);
  ModeFileValues odd = ParseModeFile("7\r\n5\r\n300\r\n1280");
  for (const std::optional<int>& value : odd.values) EXPECT_FALSE(value.has_value());
  ModeFileValues shortFile = ParseModeFile("0\r\n1\r\n");
  EXPECT_EQ(shortFile.values[1], 1);
  EXPECT_FALSE(shortFile.values[2].has_value());
  EXPECT_FALSE(ParseModeFile("").values[0].has_value());
}

TEST(ModeFile, LoadWritesIntoTheBlockAndTheModes) {
  (void)gauge_test::SharedMemoryPrefix();
  ::shm_unlink(platform::SharedMemoryName(kPassDataName).c_str());
  SimulatorFolder folder;
  folder.Write("Gauges/NDmode.tmp", "0\r\n1\r\n22\r\n40\r\n");
  PassData passData;
  ASSERT_EQ(OpenPassData(passData), platform::SharedBlock::CreateResult::Created);
  DisplayModes modes;
  ASSERT_TRUE(LoadModeFile(folder.path().string(), passData, modes));
  // NDMode reaches the display through the block; the others at once.
  EXPECT_EQ(modes.ndMode, 1);
  EXPECT_EQ(modes.mapMode, 1);
  EXPECT_EQ(modes.item, 0x16);
  EXPECT_EQ(modes.rangeNm, 40);
  DisplayModes inBlock = ReadPassModes(passData);
  EXPECT_EQ(inBlock.ndMode, 0);
  EXPECT_EQ(inBlock.item, 0x16);
  EXPECT_EQ(inBlock.rangeNm, 40);
  ClosePassData(passData);
  ::shm_unlink(platform::SharedMemoryName(kPassDataName).c_str());

  SimulatorFolder empty;
  DisplayModes untouched;
  EXPECT_FALSE(LoadModeFile(empty.path().string(), passData, untouched));
  EXPECT_EQ(untouched, DisplayModes{});
}

TEST(ModeFile, WithoutTheBlockNdModeAppliesAtOnce) {
  SimulatorFolder folder;
  folder.Write("Gauges/NDmode.tmp", "0\n0\n30\n320\n");
  PassData passData;
  ResetPassFields(passData);
  DisplayModes modes;
  ASSERT_TRUE(LoadModeFile(folder.path().string(), passData, modes));
  EXPECT_EQ(modes.ndMode, 0);
}

TEST(PanelNineKey, ParsesKeyAndModifiers) {
  EXPECT_EQ(ParsePanelNineKey("[PANELS]\nPANEL_9=57\n"), (KeyBinding{57, 0}));
  EXPECT_EQ(ParsePanelNineKey("PANEL_1=49,2\r\nPANEL_9=57,3\r\nPANEL_9=58,1\r\n"),
            (KeyBinding{57, 3}));
  EXPECT_EQ(ParsePanelNineKey("PANEL_9=,1"), (KeyBinding{0, 1}));
  EXPECT_FALSE(ParsePanelNineKey(" PANEL_9=57\npanel_9=57\n").has_value());
  EXPECT_FALSE(ParsePanelNineKey("").has_value());
}

TEST(PanelNineKey, FirstConfigurationFileThatOpensDecides) {
  SimulatorFolder folder;
  std::string root = folder.path().string();
  EXPECT_EQ(ReadPanelNineKey(root), KeyBinding{});
  folder.Write("Fltsim98.cfg", "PANEL_9=65,1\n");
  EXPECT_EQ(ReadPanelNineKey(root), (KeyBinding{65, 1}));
  folder.Write("FS2002.cfg", "[MAIN]\nPANEL_9=57\n");
  EXPECT_EQ(ReadPanelNineKey(root), (KeyBinding{57, 0}));
  folder.Write("FS2002.cfg", "[MAIN]\n");
  EXPECT_EQ(ReadPanelNineKey(root), KeyBinding{});
}

// Named pipes in place of the display's own files are passed over at once:
// the mode file is not read, a configuration file is skipped for the next
// one, and neither the mode file's new copy nor the error log is written.
TEST(SmallFiles, NamedPipesAreNeitherWaitedOnNorUsed) {
  SimulatorFolder folder;
  const std::string root = folder.path().string();
  gauge_test::NamedPipes modeFile({folder / "Gauges/NDmode.tmp"});
  ASSERT_TRUE(modeFile.Made());
  PassData passData;
  ResetPassFields(passData);
  DisplayModes modes;
  bool loaded = true;
  EXPECT_TRUE(modeFile.ReturnsWithin([&] { loaded = LoadModeFile(root, passData, modes); }));
  EXPECT_FALSE(loaded);
  EXPECT_EQ(modes, DisplayModes{});

  folder.Write("FS2000.cfg", "PANEL_9=65,1\n");
  gauge_test::NamedPipes config({folder / "FS2002.cfg"});
  KeyBinding key;
  EXPECT_TRUE(config.ReturnsWithin([&] { key = ReadPanelNineKey(root); }));
  EXPECT_EQ(key, (KeyBinding{65, 1}));

  gauge_test::NamedPipes newModeFile({folder / "Gauges/NDmode.tmp.new"});
  bool stored = true;
  EXPECT_TRUE(newModeFile.ReturnsWithin([&] { stored = StoreModeFile(root, modes); }));
  EXPECT_FALSE(stored);
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "Gauges/NDmode.tmp.new"));
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "Gauges/NDmode.tmp"));

  // A regular file is replaced by a new one; a folder is refused.
  folder.Write("Gauges/log.txt", "an older and longer text");
  std::FILE* log = CreateFileForWriting((folder / "Gauges/log.txt").string());
  ASSERT_NE(log, nullptr);
  std::fputs("new", log);
  std::fclose(log);
  EXPECT_EQ(folder.Read("Gauges/log.txt"), "new");
  EXPECT_EQ(CreateFileForWriting((folder / "Gauges").string()), nullptr);
  EXPECT_FALSE(ReadSmallFile((folder / "Gauges").string(), 100));
  EXPECT_EQ(ReadSmallFile((folder / "Gauges/log.txt").string(), 2), "ne");
}

// A symbolic link in place of the mode file's new copy is not written
// through: the file it points to keeps its contents and the modes are not
// stored this time. A link in place of the mode file itself is replaced by
// the new file, and what it pointed to stays as it was.
TEST(SmallFiles, LinksAreNeverWrittenThrough) {
  SimulatorFolder folder;
  const std::string root = folder.path().string();
  const std::string notes = "the user's notes\n";
  folder.Write("notes.txt", notes);
  std::filesystem::create_symlink("../notes.txt", folder / "Gauges/NDmode.tmp.new");
  DisplayModes modes{0, 2, 0x1F, 40};
  EXPECT_FALSE(StoreModeFile(root, modes));
  EXPECT_EQ(folder.Read("notes.txt"), notes);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "Gauges/NDmode.tmp.new"));
  EXPECT_FALSE(folder.Exists("Gauges/NDmode.tmp"));

  std::filesystem::remove(folder / "Gauges/NDmode.tmp.new");
  std::filesystem::create_symlink("../notes.txt", folder / "Gauges/NDmode.tmp");
  ASSERT_TRUE(StoreModeFile(root, modes));
  EXPECT_EQ(folder.Read("notes.txt"), notes);
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "Gauges/NDmode.tmp"));
  EXPECT_EQ(folder.Read("Gauges/NDmode.tmp"), "0\r\n2\r\n31\r\n40\r\n");
}

}  // namespace
}  // namespace lumaro
