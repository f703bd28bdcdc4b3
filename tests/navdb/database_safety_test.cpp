// What the database files survive: foreign line ends, files that cannot be
// read, saves that fail half-way, and lines set aside over several loads.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace navdb {
namespace {

using testing_support::RecordingUi;
using testing_support::TempFolder;

std::string NdbLine(const std::string& identifier, double latitudeDeg) {
  return BuildNdbLine({identifier, "NAME " + identifier, "375.0", FormatLatitude(latitudeDeg),
                       FormatLongitude(2.0), 100, 25});
}

using testing_support::FileLine;

// A saved database of two NDBs and one intersection with its index.
void WriteDatabase(const TempFolder& folder) {
  Database db;
  db.folder = folder.path();
  db.List(NavaidKind::Ndb).AddLine(NdbLine("AA", 48.0));
  db.List(NavaidKind::Ndb).AddLine(NdbLine("BB", 49.0));
  db.List(NavaidKind::Intersection)
      .AddLine(
          BuildIntersectionLine({"OKRIX", "", FormatLatitude(48.5), FormatLongitude(-1.5), 0}));
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

TEST(DatabaseSafety, FilesWithLfOrBareCrLineEndsLoadWhole) {
  TempFolder folder;
  WriteDatabase(folder);
  for (const char* lineEnd : {"\n", "\r"}) {
    SCOPED_TRACE(lineEnd[0] == '\n' ? "LF" : "CR");
    for (const char* name : {"ndb.dat", "int.dat", "idx.dat"}) {
      TempFolder copy;
      for (const char* other : {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"})
        copy.Write(other, folder.Read(other));
      copy.Write(name, Replaced(folder.Read(name), "\r\n", lineEnd));
      Database db;
      db.folder = copy.path();
      RecordingUi ui;
      LoadDatabase(db, ui);
      EXPECT_TRUE(ui.messages.empty()) << name;
      EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u) << name;
      EXPECT_EQ(db.List(NavaidKind::Intersection).EntryCount(), 1u) << name;
      EXPECT_EQ(db.index.Count(), 3u) << name;
      // Saving brings the file back to CR LF without losing a line.
      ASSERT_TRUE(SaveDatabase(db, ui));
      EXPECT_EQ(copy.Read(name), folder.Read(name)) << name;
    }
  }
}

TEST(DatabaseSafety, AFileThatCannotBeReadIsReportedAndNeverSavedOver) {
  TempFolder folder;
  WriteDatabase(folder);
  const std::string intBefore = folder.Read("int.dat");
  const std::string ndbBefore = folder.Read("ndb.dat");
  std::filesystem::remove(folder / "ndb.dat");
  std::filesystem::create_directory(folder / "ndb.dat");
  folder.Write("ndb.dat/kept", "what the user keeps here");

  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_EQ(ui.messages[0].text,
            "Could not open ndb.dat\r\r" + std::string(std::strerror(EISDIR)) +
                "\r\rThe file is left as it is and is not saved over until it has been read.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(db.readFailures[0], std::strerror(EISDIR));
  EXPECT_TRUE(db.List(NavaidKind::Ndb).HoldsOnlyPlaceholder());
  EXPECT_EQ(db.List(NavaidKind::Intersection).EntryCount(), 1u);

  // A change to another kind is not saved either: the index of the new set
  // would point into an ndb.dat that was never written.
  const std::string idxBefore = folder.Read("idx.dat");
  db.List(NavaidKind::Intersection)
      .AddLine(BuildIntersectionLine({"ABCDE", "", FormatLatitude(47.0), FormatLongitude(1.0), 0}));
  RebuildIndex(db.lists, db.index, {});
  ui.messages.clear();
  ui.statuses.clear();
  EXPECT_FALSE(SaveDatabase(db, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_EQ(ui.messages[0].text,
            "ndb.dat was not saved: it could not be read when the database was loaded (" +
                std::string(std::strerror(EISDIR)) +
                "). idx.dat and the other files were not saved either: the index must match the "
                "entry files.");
  EXPECT_EQ(
      ui.statuses.back(),
      std::make_pair(StatusIcon::Problem, std::string("Status : a problem occurs while saving !")));
  EXPECT_EQ(folder.Read("ndb.dat/kept"), "what the user keeps here");
  EXPECT_EQ(folder.Read("int.dat"), intBefore);
  EXPECT_EQ(folder.Read("idx.dat"), idxBefore);
  EXPECT_EQ(testing_support::FileNamesIn(folder.path()),
            (std::vector<std::string>{"apt.dat", "idx.dat", "int.dat", "ndb.dat", "vor.dat"}));

  // Once ndb.dat is back, the set is the old one, whole.
  std::filesystem::remove_all(folder / "ndb.dat");
  folder.Write("ndb.dat", ndbBefore);
  Database reloaded;
  reloaded.folder = folder.path();
  LoadDatabase(reloaded, {});
  EXPECT_EQ(reloaded.List(NavaidKind::Ndb).EntryCount(), 2u);
  EXPECT_EQ(reloaded.List(NavaidKind::Intersection).EntryCount(), 1u);
  EXPECT_EQ(reloaded.index.Count(), 3u);

  // A missing file is no file: no message, and the save writes it.
  std::filesystem::remove_all(folder / "ndb.dat");
  RecordingUi missing;
  LoadDatabase(reloaded, missing);
  EXPECT_TRUE(missing.messages.empty());
  EXPECT_EQ(reloaded.readFailures[0], "");
  EXPECT_TRUE(SaveDatabase(reloaded, missing));
  EXPECT_EQ(folder.Read("ndb.dat"), "// NDB database for Skyatlas\r\n");
}

TEST(DatabaseSafety, AnIndexThatCannotBeReadHoldsBackTheWholeSet) {
  TempFolder folder;
  WriteDatabase(folder);
  const std::string ndbBefore = folder.Read("ndb.dat");
  std::filesystem::remove(folder / "idx.dat");
  std::filesystem::create_directory(folder / "idx.dat");
  Database db;
  db.folder = folder.path();
  LoadDatabase(db, {});
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u);
  // New rows in ndb.dat beside the old index would point at the wrong beacons.
  db.List(NavaidKind::Ndb).AddLine(NdbLine("AB", 48.5));
  RebuildIndex(db.lists, db.index, {});
  RecordingUi ui;
  EXPECT_FALSE(SaveDatabase(db, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "idx.dat was not saved: it could not be read when the database was loaded (" +
                std::string(std::strerror(EISDIR)) +
                "). No other file was saved either: they must match the index.");
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "idx.dat"));
}

TEST(DatabaseSafety, AFailedWriteOrRenameLeavesAllFiveOldFiles) {
  TempFolder reference;
  WriteDatabase(reference);
  const std::array<std::string, 5> names = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};
  for (platform::FileStep step : {platform::FileStep::Write, platform::FileStep::Rename}) {
    for (const std::string& failing : names) {
      SCOPED_TRACE(failing + (step == platform::FileStep::Write ? " write" : " rename"));
      TempFolder folder;
      for (const std::string& name : names) folder.Write(name, reference.Read(name));
      Database db;
      db.folder = folder.path();
      LoadDatabase(db, {});
      db.List(NavaidKind::Ndb).AddLine(NdbLine("CC", 50.0));
      RebuildIndex(db.lists, db.index, {});
      RecordingUi ui;
      const bool saved =
          SaveDatabase(db, ui, [&](platform::FileStep at, const std::filesystem::path& path) {
            return at == step && path.filename() == failing ? ENOSPC : 0;
          });
      EXPECT_FALSE(saved);
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_EQ(ui.messages[0].text, "Can't create file " + failing + "\r\r" +
                                         std::strerror(ENOSPC) +
                                         "\r\rThe database files were left as they were.");
      for (const std::string& name : names) EXPECT_EQ(folder.Read(name), reference.Read(name));
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                              std::filesystem::directory_iterator()),
                5);

      // The same save without the fault writes all five new files.
      ASSERT_TRUE(SaveDatabase(db, {}));
      Database after;
      after.folder = folder.path();
      LoadDatabase(after, {});
      EXPECT_EQ(after.List(NavaidKind::Ndb).EntryCount(), 3u);
      EXPECT_EQ(after.index.Count(), 4u);
    }
  }
}

TEST(DatabaseSafety, RejectedLinesAreAddedOnceAcrossLoads) {
  TempFolder folder;
  const std::string header = "// NDB database for Skyatlas\r\n";
  const std::string good = FileLine(NavaidKind::Ndb, NdbLine("AA", 48.0));
  folder.Write("ndb.dat", header + "first bad\r\n" + good + "\r\nsecond bad\r\n");
  Database db;
  db.folder = folder.path();
  LoadDatabase(db, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), "first bad\r\nsecond bad\r\n");
  // Saving again in the same run adds nothing twice.
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), "first bad\r\nsecond bad\r\n");

  // A later load's lines are added after the earlier ones, known ones once.
  folder.Write("ndb.dat", header + "third bad\r\nthird bad\r\nfirst bad\r\n" + good + "\r\n");
  LoadDatabase(db, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), "first bad\r\nsecond bad\r\nthird bad\r\n");

  // A .rejected file written elsewhere without a final line end keeps its last line.
  folder.Write("ndb.dat.rejected", "kept\nlast");
  folder.Write("ndb.dat", header + "fourth bad\r\n");
  LoadDatabase(db, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), "kept\nlast\r\nfourth bad\r\n");

  // A .rejected that cannot be read stops the save before any database file changes.
  std::filesystem::remove(folder / "ndb.dat.rejected");
  std::filesystem::create_directory(folder / "ndb.dat.rejected");
  folder.Write("ndb.dat", header + "fifth bad\r\n");
  const std::string ndbBefore = folder.Read("ndb.dat");
  LoadDatabase(db, {});
  db.List(NavaidKind::Ndb).AddLine(NdbLine("ZZ", 10.0));
  RecordingUi ui;
  EXPECT_FALSE(SaveDatabase(db, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Can't create file ndb.dat.rejected\r\r" +
                                     std::string(std::strerror(EISDIR)) +
                                     "\r\rThe database files were left as they were.");
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
}

// The display reads every line at its kind's length: a longer line is set
// aside with the malformed ones, and the warning says it is too long.
TEST(DatabaseSafety, ALineLongerThanItsLayoutIsSetAside) {
  TempFolder folder;
  const std::string header = "// NDB database for Skyatlas\r\n";
  const std::string good = FileLine(NavaidKind::Ndb, NdbLine("AA", 48.0));
  const std::string longer = FileLine(NavaidKind::Ndb, NdbLine("BB", 49.0)) + "X";
  const std::string longest = FileLine(NavaidKind::Ndb, NdbLine("CC", 50.0)) + std::string(32, ' ');
  folder.Write("ndb.dat", header + good + "\r\n" + longer + "\r\nshort\r\n" + longest + "\r\n");
  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 1u);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0), NdbLine("AA", 48.0));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "ndb.dat: 3 malformed line(s) skipped, the first at line 3.\r"
            "2 of them are longer than the 79 characters of an entry line.\r"
            "They are kept in ndb.dat.rejected when the database is saved.");
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat"), header + good + "\r\n");
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), longer + "\r\nshort\r\n" + longest + "\r\n");

  // One line of 110 characters in vor.dat, the only one set aside.
  const std::string vor =
      FileLine(NavaidKind::Vor,
               BuildVorLine({"PGS", "PEACH SPRINGS", "VOR/DME", "112.00", "", FormatLatitude(35.6),
                             FormatLongitude(-113.5), 4000, 130, 150}));
  folder.Write("vor.dat", "// VOR database for Skyatlas\r\n" + vor + ";\r\n");
  RecordingUi vorUi;
  LoadDatabase(db, vorUi);
  EXPECT_EQ(db.List(NavaidKind::Vor).EntryCount(), 0u);
  ASSERT_EQ(vorUi.messages.size(), 1u);
  EXPECT_EQ(vorUi.messages[0].text,
            "vor.dat: 1 malformed line(s) skipped, the first at line 2.\r"
            "1 of them is longer than the 109 characters of an entry line.\r"
            "They are kept in vor.dat.rejected when the database is saved.");
}

// A file made elsewhere may begin with its first entry: that line is read
// as any other, taken when it has the layout and set aside when not.
TEST(DatabaseSafety, AFirstLineThatIsNoCommentIsReadAsALine) {
  TempFolder folder;
  const std::string aa = FileLine(NavaidKind::Ndb, NdbLine("AA", 48.0));
  const std::string bb = FileLine(NavaidKind::Ndb, NdbLine("BB", 49.0));
  folder.Write("ndb.dat", aa + "\r\n" + bb + "\r\n");
  folder.Write("int.dat", "Intersections of the north\r\n");
  // An index line first, even one that lacks the space before its longitude.
  folder.Write("idx.dat", " 002.000000  48.000000  NDB00000\n 002.000000  49.000000  NDB00001\n");
  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0), NdbLine("AA", 48.0));
  EXPECT_EQ(db.index.Count(), 2u);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "int.dat: 1 malformed line(s) skipped, the first at line 1.\r"
            "They are kept in int.dat.rejected when the database is saved.");
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat"), "// NDB database for Skyatlas\r\n" + aa + "\r\n" + bb + "\r\n");
  EXPECT_EQ(folder.Read("int.dat.rejected"), "Intersections of the north\r\n");

  // Any comment stands as line 1, and only as line 1.
  folder.Write("ndb.dat", "// beacons, typed by hand\r\n" + aa + "\r\n// not a header\r\n");
  folder.Write("idx.dat", "002.000000  48.000000  NDB00000\r\n");
  RecordingUi again;
  LoadDatabase(db, again);
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 1u);
  ASSERT_EQ(again.messages.size(), 2u);
  EXPECT_EQ(again.messages[0].text.substr(0, 58),
            "ndb.dat: 1 malformed line(s) skipped, the first at line 3.");
  // Line 1 of idx.dat needs a space in front and has no room for it there.
  EXPECT_EQ(db.rejectedLines[kIndexFileSlot],
            std::vector<std::string>{"002.000000  48.000000  NDB00000"});
}

// Files the user made read-only, or made links, are not replaced: the save
// refuses the whole set and says which file stopped it. Every other file
// keeps its permissions across a save.
TEST(DatabaseSafety, ReadOnlyFilesAndLinksHoldBackTheSetAndModesAreKept) {
  TempFolder folder;
  WriteDatabase(folder);
  std::filesystem::permissions(folder / "ndb.dat", std::filesystem::perms(0444));
  std::filesystem::permissions(folder / "int.dat", std::filesystem::perms(0640));
  TempFolder elsewhere;
  elsewhere.Write("apt.dat", folder.Read("apt.dat"));
  std::filesystem::remove(folder / "apt.dat");
  std::filesystem::create_symlink(elsewhere / "apt.dat", folder / "apt.dat");
  std::array<std::string, 5> before;
  const std::array<std::string, 5> names = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};
  for (size_t i = 0; i < names.size(); ++i) before[i] = folder.Read(names[i]);

  Database db;
  db.folder = folder.path();
  LoadDatabase(db, {});
  db.List(NavaidKind::Ndb).AddLine(NdbLine("CC", 50.0));
  RebuildIndex(db.lists, db.index, {});
  RecordingUi ui;
  EXPECT_FALSE(SaveDatabase(db, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "ndb.dat is read-only. Make it writable first.\r"
            "apt.dat is a symbolic link: the database files are saved as plain files in " +
                folder.path().string() +
                " and never through a link. Put the file itself in place of the link.\r\r"
                "The database was not saved: its five files are saved together or not at all.");
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(folder.Read(names[i]), before[i]);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "apt.dat"));
  EXPECT_EQ(std::filesystem::status(folder / "ndb.dat").permissions(),
            std::filesystem::perms(0444));

  // The restore refuses them alike and leaves every file as it was.
  std::filesystem::create_directory(folder / "Original");
  for (const std::string& name : names) folder.Write("Original/" + name, "reference " + name);
  RecordingUi restoreUi;
  restoreUi.QueueAnswers({MessageAnswer::Yes});
  EXPECT_FALSE(CopyOriginalDatabase(db, restoreUi));
  ASSERT_EQ(restoreUi.messages.size(), 3u);
  EXPECT_EQ(restoreUi.messages[1].text.substr(0, 46),
            "ndb.dat is read-only. Make it writable first.\r");
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(folder.Read(names[i]), before[i]);

  // With the link gone and ndb.dat writable again (0600), the save goes
  // through and every file keeps its permissions.
  std::filesystem::remove(folder / "apt.dat");
  std::filesystem::permissions(folder / "ndb.dat", std::filesystem::perms(0600));
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(std::filesystem::status(folder / "ndb.dat").permissions(),
            std::filesystem::perms(0600));
  EXPECT_EQ(std::filesystem::status(folder / "int.dat").permissions(),
            std::filesystem::perms(0640));
  EXPECT_EQ(std::filesystem::status(folder / "vor.dat").permissions(),
            std::filesystem::perms(0644));
  EXPECT_EQ(elsewhere.Read("apt.dat"), before[2]);
}

}  // namespace
}  // namespace navdb
