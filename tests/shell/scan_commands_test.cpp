#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/scenery_ndb.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;
using testing_support::TempFolder;

using testing_support::CliRun;
using testing_support::RunCli;

std::string Bytes(const std::vector<uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

scenery_writer::BglNdb Ndb(const std::string& identifier, double latitudeDeg,
                           uint8_t tensUnits = 0x52) {
  return testing_support::SceneryNdb(identifier, latitudeDeg, tensUnits);
}

std::string NdbFile(std::vector<scenery_writer::BglNdb> ndbs) {
  scenery_writer::BglScenery scenery;
  scenery.ndbs = std::move(ndbs);
  return Bytes(scenery_writer::WriteBglImage(scenery));
}

std::string PackedVorFile() {
  scenery_writer::BglScenery scenery;
  scenery_writer::BglVor vor;
  vor.channel = 116;  // 113.80 MHz
  vor.flags = 0x01;
  vor.identifier = "PON";
  vor.name = "PONTOISE";
  vor.latitude24 = scenery_writer::Latitude24(49.1);
  vor.longitude24 = scenery_writer::Longitude24(2.0);
  scenery.vors.push_back(vor);
  return Bytes(scenery_writer::WritePackedBgl(scenery_writer::WriteBglImage(scenery)));
}

navdb::Database Load(const TempFolder& navData) {
  navdb::Database db;
  db.folder = navData.path();
  navdb::LoadDatabase(db, {});
  return db;
}

TEST(ScanCommand, ScansTreePrintsStatusFoldersAndSummary) {
  TempFolder root, navData;
  std::filesystem::create_directory(root / "sub");
  root.Write("a.bgl", NdbFile({Ndb("AB", 49.0), Ndb("CD", 48.5)}));
  root.Write("sub/v.bgl", PackedVorFile());
  const std::string navDataOption = "--navdata=" + navData.path().string();
  const CliRun run = RunCli({navDataOption, "scan", root.path().string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Status : scanning...\n"
            "Folder " +
                root.path().string() +
                "\n"
                "Folder " +
                (root / "sub").string() +
                "\n"
                "Status : scanning done\n"
                "Status : sorting index...\n"
                "Status : index sorted\n"
                "Status : saving data...\n"
                "Status : done\n"
                "Added to the database :\n\n2\tNDB,\n1\tVOR,\n0\tAirports.\n");
  const navdb::Database db = Load(navData);
  ASSERT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0),
            "AB     NDB AB                    352.5  N49\xB0"
            "00'00.02  E002\xB0"
            "29'59.96  00000  011");
  ASSERT_EQ(db.List(NavaidKind::Vor).EntryCount(), 1u);
  EXPECT_EQ(db.List(NavaidKind::Vor).GetLine(0).substr(0, 56),
            "PON    PONTOISE                  VOR/DME          113.80");
  EXPECT_EQ(db.index.primary.Count(), 3u);

  // The same scan again finds everything present: nothing changes, nothing is saved.
  const CliRun again = RunCli({navDataOption, "scan", root.path().string()});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.out.find("saving"), std::string::npos);
  EXPECT_NE(again.out.find("Added to the database :\n\n0\tNDB,\n0\tVOR,\n0\tAirports.\n"),
            std::string::npos);

  // --rebuild shows the warning, empties NDB, VOR and airports, and scans again.
  const CliRun rebuilt = RunCli({navDataOption, "scan", "--rebuild", root.path().string()});
  EXPECT_EQ(rebuilt.exitCode, 0);
  EXPECT_EQ(rebuilt.err,
            "Warning: You are going to lose any modification you've done on the database !\n"
            "(The Intersection list will not be lost)\n\nProceed ?\n");
  EXPECT_NE(rebuilt.out.find("Added to the database :\n\n2\tNDB,\n1\tVOR,\n0\tAirports.\n"),
            std::string::npos);
}

TEST(ScanCommand, DuplicatePoliciesAndTheTerminalDialog) {
  TempFolder root, navData;
  std::filesystem::create_directories(root / "b/c");
  root.Write("a.bgl", NdbFile({Ndb("AB", 49.0), Ndb("CD", 49.0)}));
  // Same identifiers and names, another frequency, within a degree: duplicates.
  root.Write("b/b.bgl", NdbFile({Ndb("AB", 49.2, 0x75), Ndb("CD", 49.2, 0x75)}));
  const std::string navDataOption = "--navdata=" + navData.path().string();
  const std::string firstPrompt =
      "Double entry warning !\n"
      "This NDB is already in the list :\n"
      "AB     NDB AB                    352.5  N49\u00B000'00.02  E002\u00B029'59.96  00000  011\n"
      "and this one, with same ID & Name, is going to be added :\n"
      "AB     NDB AB                    375.5  N49\u00B012'00.02  E002\u00B029'59.96  00000  011\n"
      "Choose the one(s) you want to keep\n"
      "  1  Keep only the existing entry\n"
      "  2  Keep both\n"
      "  3  Keep only the new entry\n"
      "  4  Keep always the existing entry (for the rest of the scan)\n"
      "  5  Keep always both\n"
      "  6  Keep always the new entry\n"
      "  a  Abort scanning\n"
      "Choice [1-6, a]: ";

  // "Keep always" the new entry: asked once (after one bad reply), both replaced.
  {
    TempFolder fresh;
    const CliRun run =
        RunCli({"--navdata", fresh.path().string(), "scan", root.path().string()}, "x\n6\n", true);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, firstPrompt + "Choice [1-6, a]: ");
    const navdb::Database db = Load(fresh);
    ASSERT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u);
    EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0).substr(33, 5), "375.5");
    EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(1).substr(33, 5), "375.5");
  }
  // End of input on the terminal is "Abort scanning": the first file's entries stay.
  {
    TempFolder fresh;
    const CliRun run =
        RunCli({"--navdata", fresh.path().string(), "scan", root.path().string()}, "", true);
    EXPECT_EQ(run.exitCode, 1);
    // The stopped scan's summary is a warning: where it stopped, then what it kept.
    EXPECT_TRUE(run.err.starts_with(firstPrompt + "Warning: The scan was stopped after "))
        << run.err;
    EXPECT_TRUE(
        run.err.ends_with("What it had merged until then is kept in the database.\n\n"
                          "Added to the database :\n\n2\tNDB,\n0\tVOR,\n0\tAirports.\n\n"))
        << run.err;
    EXPECT_NE(run.out.find("Status : scanning aborted\n"), std::string::npos);
    EXPECT_EQ(Load(fresh).List(NavaidKind::Ndb).EntryCount(), 2u);
  }
  // Without a terminal nothing is lost: both versions are kept.
  EXPECT_EQ(RunCli({navDataOption, "scan", root.path().string()}).exitCode, 0);
  EXPECT_EQ(Load(navData).List(NavaidKind::Ndb).EntryCount(), 4u);
  // Policies given on the command line.
  const auto countWith = [&](const std::string& policy) {
    TempFolder fresh;
    const CliRun run = RunCli({"--navdata", fresh.path().string(), "scan", root.path().string(),
                               "--duplicates=" + policy},
                              "", true);
    if (policy == "abort") {
      EXPECT_TRUE(run.err.starts_with("Warning: The scan was stopped after ")) << run.err;
    } else {
      EXPECT_EQ(run.err, "");
    }
    return std::make_pair(run.exitCode, Load(fresh).List(NavaidKind::Ndb).EntryCount());
  };
  EXPECT_EQ(countWith("keep-existing"), std::make_pair(0, size_t{2}));
  EXPECT_EQ(countWith("keep-both"), std::make_pair(0, size_t{4}));
  EXPECT_EQ(countWith("keep-new"), std::make_pair(0, size_t{2}));
  EXPECT_EQ(countWith("abort"), std::make_pair(1, size_t{2}));
}

TEST(ScanCommand, FileErrorsAndArguments) {
  TempFolder root, navData;
  std::filesystem::create_directory(root / "sub");
  root.Write("bad.bgl", Bytes(scenery_writer::WritePackedBgl(scenery_writer::WriteBglImage({}),
                                                             5)));  // check value 5
  root.Write("sub/a.bgl", NdbFile({Ndb("AB", 49.0)}));
  const std::string navDataOption = "--navdata=" + navData.path().string();
  const std::string badText = "Error: The BGL file \"" + (root / "bad.bgl").string() +
                              "\" contains unrecognized data.\nIt will be ignored !\n\n"
                              "Continue with next file ?\n";
  CliRun run = RunCli({navDataOption, "scan", root.path().string(), "--stop-on-error"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.starts_with(badText + "Warning: The scan was stopped after 1 ")) << run.err;
  EXPECT_NE(run.out.find("Status : scanning aborted\n"), std::string::npos);
  EXPECT_EQ(Load(navData).List(NavaidKind::Ndb).EntryCount(), 0u);

  run = RunCli({navDataOption, "scan", root.path().string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, badText);
  EXPECT_EQ(Load(navData).List(NavaidKind::Ndb).EntryCount(), 1u);

  // The runway filter reaches the scan.
  scenery_writer::BglScenery airport;
  scenery_writer::BglAirport lfpg;
  lfpg.identifier = "LFPG";
  lfpg.name = "CHARLES DE GAULLE";
  scenery_writer::BglRunway runway;
  runway.lengthFt = 2000;
  runway.number = 9;
  lfpg.runways.push_back(runway);
  airport.airports.push_back(lfpg);
  TempFolder airportRoot;
  airportRoot.Write("apt.bgl", Bytes(scenery_writer::WriteBglImage(airport)));
  run = RunCli({navDataOption, "scan", airportRoot.path().string()});
  EXPECT_NE(run.out.find("0\tAirports."), std::string::npos);
  run = RunCli({navDataOption, "scan", airportRoot.path().string(), "--min-runway-length=2000"});
  EXPECT_NE(run.out.find("1\tAirports."), std::string::npos);

  run = RunCli({navDataOption, "scan", root.path().string(), "--duplicates=maybe"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err,
            "skat-cli scan: unknown duplicate policy 'maybe'\n" + RunCli({"scan", "--help"}).out);
  EXPECT_EQ(
      RunCli({navDataOption, "scan", root.path().string(), "--min-runway-length=12ft"}).exitCode,
      2);
  EXPECT_EQ(
      RunCli({navDataOption, "scan", "--min-runway-length=-1", root.path().string()}).exitCode, 2);
  EXPECT_EQ(RunCli({navDataOption, "scan"}).exitCode, 2);
  EXPECT_EQ(RunCli({navDataOption, "scan", "--bogus", root.path().string()}).exitCode, 2);
  run = RunCli({navDataOption, "scan", (root / "missing").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli scan: " + (root / "missing").string() + " is not a folder\n");
  run = RunCli({navDataOption, "scan", ""});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error: Please, select first a path for scenery scanning.\n");
}

TEST(UnpackCommand, WritesTheImageOrTellsTheStatus) {
  TempFolder folder;
  scenery_writer::BglScenery scenery;
  scenery.ndbs.push_back(Ndb("AB", 49.0));
  const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  folder.Write("p.bgl", Bytes(scenery_writer::WritePackedBgl(image)));
  folder.Write("plain.bgl", Bytes(image));
  CliRun run = RunCli({"unpack", (folder / "p.bgl").string(), (folder / "out.img").string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            (folder / "out.img").string() + ": " + std::to_string(image.size()) + " bytes\n");
  std::string expected = Bytes(image);
  expected.replace(122, 4, std::string(4, '\0'));  // the unpacked header's field at 122 is cleared
  EXPECT_EQ(folder.Read("out.img"), expected);

  run = RunCli({"unpack", (folder / "plain.bgl").string(), (folder / "x.img").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli unpack: " + (folder / "plain.bgl").string() +
                         ": status 2: not a packed file\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "x.img"));
  run = RunCli({"unpack", (folder / "none.bgl").string(), (folder / "x.img").string()});
  EXPECT_EQ(run.err, "skat-cli unpack: " + (folder / "none.bgl").string() +
                         ": status 64: opening, sizing or mapping the file failed\n");
  EXPECT_EQ(RunCli({"unpack", (folder / "p.bgl").string()}).exitCode, 2);
}

TEST(UnpackCommand, NeverWritesOverItsOwnInput) {
  TempFolder folder;
  scenery_writer::BglScenery scenery;
  scenery.ndbs.push_back(Ndb("AB", 49.0));
  const std::string packed =
      Bytes(scenery_writer::WritePackedBgl(scenery_writer::WriteBglImage(scenery)));
  folder.Write("p.bgl", packed);
  std::filesystem::create_directory(folder / "sub");
  std::filesystem::create_symlink(folder / "p.bgl", folder / "link.bgl");
  std::filesystem::create_hard_link(folder / "p.bgl", folder / "hard.bgl");
  const std::string in = (folder / "p.bgl").string();
  for (const std::string& out :
       {in, (folder / "sub" / ".." / "p.bgl").string(), (folder / "." / "p.bgl").string(),
        (folder / "link.bgl").string(), (folder / "hard.bgl").string()}) {
    SCOPED_TRACE(out);
    const CliRun run = RunCli({"unpack", in, out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "skat-cli unpack: " + out + " is the packed file itself\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folder.Read("p.bgl"), packed);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.bgl"));
  EXPECT_EQ(testing_support::FileNamesIn(folder.path()),
            (std::vector<std::string>{"hard.bgl", "link.bgl", "p.bgl", "sub"}));
  // Through a link to the input, any other OUT is fine.
  EXPECT_EQ(
      RunCli({"unpack", (folder / "link.bgl").string(), (folder / "out.img").string()}).exitCode,
      0);
  EXPECT_EQ(folder.Read("p.bgl"), packed);
}

TEST(ImportNavDataCommand, MergesRowsThroughTheScanOperations) {
  TempFolder source, navData;
  source.Write("nav.dat",
               "I\n810 Version\n"
               "2  49.01000000  002.50000000    300   375  25    0.000 PGS  PARIS NORD NDB\n"
               "3  49.05000000  002.00000000    400 11380 130    1.000 PON  PONTOISE VOR/DME\n"
               "12 49.05000000  002.00000000    400 11380 130    0.000 PON  PONTOISE VOR/DME\n"
               "99\n");
  source.Write("apt.dat",
               "I\n1000 Version\n"
               "1    392 1 0 LFPG Charles De Gaulle\n"
               "100 60.00 1 0 0.25 1 3 1 09L 49.02000000 002.50000000 0 0 3 0 1 0 "
               "27R 49.02000000 002.56000000 0 0 3 0 1 0\n"
               "50 12800 ATIS\n"
               "99\n");
  source.Write("fix.dat", "I\n600 Version\n 48.50000000  -1.50000000 OKRIX\n99\n");
  const std::string navDataOption = "--navdata=" + navData.path().string();
  CliRun run = RunCli({navDataOption, "import-navdata", source.path().string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.substr(run.out.find("Added")),
            "Added to the database :\n\n1\tNDB,\n1\tVOR,\n1\tAirports.\n1\tIntersections.\n");
  navdb::Database db = Load(navData);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0),
            "PGS    PARIS NORD NDB            375.0  N49\xB0"
            "00'35.99  E002\xB0"
            "30'00.00  00299  025");
  EXPECT_EQ(db.List(NavaidKind::Vor).GetLine(0),
            "PON    PONTOISE VOR/DME          VOR/DME          113.80       N49\xB0"
            "02'59.99  "
            "E002\xB0"
            "00'00.00  00400  130   01.0");
  // 392 ft pass through whole metres (119 m) as a scanned elevation does.
  EXPECT_EQ(db.List(NavaidKind::Airport).GetLine(0),
            "LFPG   Charles De Gaulle         09L/27R  090/270  N49\xB0"
            "01'12.00  "
            "E002\xB0"
            "31'48.00  00390  14355  197  128.00");
  EXPECT_EQ(db.List(NavaidKind::Intersection).GetLine(0).substr(0, 5), "OKRIX");
  EXPECT_EQ(db.index.primary.Count(), 4u);

  // Importing again finds every entry present.
  run = RunCli({navDataOption, "import-navdata", source.path().string(), "--duplicates=abort"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.substr(run.out.find("Added")),
            "Added to the database :\n\n0\tNDB,\n0\tVOR,\n0\tAirports.\n0\tIntersections.\n");

  run = RunCli({navDataOption, "import-navdata", (source / "none").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("skat-cli import-navdata: ", 0), 0u);
  EXPECT_EQ(RunCli({navDataOption, "import-navdata", source.path().string(), "--rebuild"}).exitCode,
            2);
}

}  // namespace
