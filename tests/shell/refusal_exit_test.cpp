// A command that refused some of its input takes the rest, saves it, keeps
// what it refused in the ".rejected" files with the reason, and exits 1.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "platform/file_io.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/scenery_ndb.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;
using testing_support::CliRun;
using testing_support::RunCli;
using testing_support::TempFolder;

navdb::Database Load(const TempFolder& navData) {
  navdb::Database db;
  db.folder = navData.path();
  navdb::LoadDatabase(db, {});
  return db;
}

std::string Rejected(const TempFolder& navData, const std::string& fileName) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadWholeFile(navData / (fileName + ".rejected"), bytes).ok()) << fileName;
  return bytes;
}

std::string Gzipped(const std::string& text) {
  std::string out(compressBound(static_cast<uLong>(text.size())) + 32, '\0');
  z_stream stream{};
  deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(RefusalExit, AScenerySetsAsideANavaidOutOfRangeAndExitsOne) {
  TempFolder root, navData;
  // The NDB record's latitude unit reaches 151 degrees: such a record once
  // became an "N150" line that every reader of the files refuses.
  scenery_writer::BglScenery scenery;
  scenery.ndbs = {testing_support::SceneryNdb("AB", 49.0), testing_support::SceneryNdb("CD", 150.0),
                  testing_support::SceneryNdb("EF", 48.0)};
  const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  root.Write("a.bgl", std::string(image.begin(), image.end()));
  const std::string path = (root / "a.bgl").string();

  const CliRun run = RunCli({"--navdata", navData.path().string(), "scan", root.path().string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Warning: The BGL file \"" + path +
                "\" holds 1 navaid(s) whose line would not have its layout (the first: latitude "
                "'N150\xC2\xB0"
                "00'00.0' is not a latitude from S90 to N90).\n"
                "They are kept in ndb.dat.rejected when the database is saved.\n"
                "skat-cli scan: 1 entries refused\n");
  EXPECT_NE(run.out.find("Added to the database :\n\n2\tNDB,\n"), std::string::npos);
  const navdb::Database db = Load(navData);
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 2u);
  // Where it came from, why, and the line as it would have been.
  const std::string rejected = Rejected(navData, "ndb.dat");
  EXPECT_EQ(rejected, path +
                          ": latitude 'N150\xB0"
                          "00'00.0' is not a latitude from S90 to N90: "
                          "CD     NDB CD                    352.5  N150\xB0"
                          "00'00.02 E002\xB0"
                          "29'59.96  00000  011\r\n");

  // The same scan again: nothing new, the refusal still exits 1 and the
  // line is kept once.
  const CliRun again = RunCli({"--navdata", navData.path().string(), "scan", root.path().string()});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(Rejected(navData, "ndb.dat"), rejected);
}

TEST(RefusalExit, ImportedRowsOutOfRangeAreSetAsideWithTheirReasons) {
  TempFolder source, navData;
  source.Write("nav.dat",
               "I\n810 Version\n"
               "2  49.01 002.50    300   375  25 0.0 PGS  PARIS NORD NDB\n"
               "2  91.00 002.50    300   375  25 0.0 NOR  TOO FAR NORTH\n"
               "2  1e999 002.50    300   375  25 0.0 INF  NO LATITUDE\n"
               "2  49.10 1000.0    300   375  25 0.0 EAS  TOO FAR EAST\n"
               "2  49.20 002.50    300   375  25 0.0 CTL  BELL\x07NAME\n"
               "2  34.66 043.54    423  1669  25 0.0 TKT  AL SAHRA NDB\n"
               "3  43.30 -002.93   102 11590 130 356.7 BLV BILBAO VOR-DME\n"
               "99\n");
  const std::string navDataOption = "--navdata=" + navData.path().string();
  const CliRun run = RunCli({navDataOption, "import-navdata", source.path().string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "skat-cli import-navdata: 4 rows refused (the first: nav.dat line 4: latitude '91.00' "
            "is outside -90 to 90). They are kept in the .rejected files.\n"
            "skat-cli import-navdata: 1 entries refused: their lines would not have their layout "
            "(the first: nav.dat line 8: frequency '1669.' is not written ddd.d). They are kept "
            "in the .rejected files.\n");
  EXPECT_NE(run.out.find("Added to the database :\n\n1\tNDB,\n1\tVOR,\n"), std::string::npos);
  const navdb::Database db = Load(navData);
  ASSERT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 1u);
  // A variation given as 356.7 is 3.3 degrees west.
  ASSERT_EQ(db.List(NavaidKind::Vor).EntryCount(), 1u);
  EXPECT_EQ(db.List(NavaidKind::Vor).GetLine(0).substr(104), "-03.3");
  EXPECT_EQ(Rejected(navData, "ndb.dat"),
            "nav.dat line 4: latitude '91.00' is outside -90 to 90: "
            "2  91.00 002.50    300   375  25 0.0 NOR  TOO FAR NORTH\r\n"
            "nav.dat line 5: latitude '1e999' is not a finite number: "
            "2  1e999 002.50    300   375  25 0.0 INF  NO LATITUDE\r\n"
            "nav.dat line 6: longitude '1000.0' is outside -180 to 180: "
            "2  49.10 1000.0    300   375  25 0.0 EAS  TOO FAR EAST\r\n"
            "nav.dat line 7: control byte 0x07 in the name: "
            "2  49.20 002.50    300   375  25 0.0 CTL  BELL?NAME\r\n"
            "nav.dat line 8: frequency '1669.' is not written ddd.d: "
            "TKT    AL SAHRA NDB              1669.0 N34\xB0"
            "39'35.99  E043\xB0"
            "32'24.00  00423  025\r\n");
}

TEST(RefusalExit, ADamagedArchiveIsAFailureAndNothingIsSaved) {
  TempFolder source, navData;
  std::string rows = "I\n600 Version\n";
  for (int i = 0; i < 5000; ++i) rows += " 48.5 -1.5 FX" + std::to_string(i) + "\n";
  const std::string packed = Gzipped(rows + "99\n");
  source.Write("fix.dat.gz", packed.substr(0, packed.size() - 4));  // the length is cut off
  const CliRun run =
      RunCli({"--navdata", navData.path().string(), "import-navdata", source.path().string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli import-navdata: " + (source / "fix.dat.gz").string() +
                         ": unexpected end of file\n");
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(fs::is_empty(navData.path()));  // no lock, no file, nothing saved

  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0xFF;
  source.Write("fix.dat.gz", damaged);
  const CliRun bad =
      RunCli({"--navdata", navData.path().string(), "import-navdata", source.path().string()});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err.rfind("skat-cli import-navdata: " + (source / "fix.dat.gz").string() + ": ", 0),
            0u);
  EXPECT_TRUE(fs::is_empty(navData.path()));
}

TEST(RefusalExit, RowsAFullListCannotTakeArePassedOverOrRefused) {
  TempFolder source, navData;
  std::string fixes = "I\n600 Version\n";
  fixes.reserve(30 * (navdb::kMaxEntryRows + 2));
  for (size_t i = 0; i < navdb::kMaxEntryRows + 2; ++i) {
    std::string identifier(5, 'A');  // every one of its own
    for (size_t n = i, at = 5; at-- > 0; n /= 26) identifier[at] = static_cast<char>('A' + n % 26);
    fixes += " 45.0 5.0 " + identifier + "\n";
  }
  source.Write("fix.dat", fixes + "99\n");
  const std::string navDataOption = "--navdata=" + navData.path().string();
  const CliRun run = RunCli({navDataOption, "import-navdata", source.path().string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "skat-cli import-navdata: 2 fix rows passed over: their list would be full. A list "
            "holds at most 100,000 entries.\n");
  EXPECT_NE(run.out.find("100000\tIntersections.\n"), std::string::npos);

  // Into the full list: the entry is refused, the limit named, exit 1.
  source.Write("fix.dat", "I\n600 Version\n 45.0 5.0 NEWFX\n99\n");
  const CliRun full = RunCli({navDataOption, "import-navdata", source.path().string()});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_EQ(full.err,
            "Error: Can't add entry to Intersection list.\n\nA list holds at most 100,000 "
            "entries.\n");
  EXPECT_NE(full.out.find("0\tIntersections.\n"), std::string::npos);
}

}  // namespace
