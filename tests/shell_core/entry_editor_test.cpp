#include "shell/core/entry_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"

namespace shell {
namespace {

using namespace navdb;

using testing_support::RecordingUi;

// Test lines are written with '*' for the degree sign byte 0xB0.
constexpr auto& L = testing_support::WithDegreeSigns;

const std::string kNdbLine =
    L("ABC    TEST NDB                  375.0  N48*51'24.00  E002*20'30.00  00150  025");
const std::string kIlsLine =
    L("PGS    PARIS                     ILS/DME/GS       109.50  275  N49*00'12.34  W001*02'03.04  "
      "00420  018  -00.5");
const std::string kDmeLine =
    L("DMT    DEMO DME                  DME/TCN          112.05       S33*10'00.00  E151*00'59.99  "
      "00010  130   12.3");
const std::string kVorLine =
    L("ABV    ABBEVILLE                 VOR/DME          113.90       N50*08'00.00  E001*51'00.00  "
      "00220  100   00.7");
const std::string kRunwayLine = L(
    "LFPG   CHARLES DE GAULLE         09L/27R  090/270  N49*01'30.00  E002*33'00.00  00392  13829  "
    "197  118.05");
const std::string kPlainRunwayLine = L(
    "LFPG   CHARLES DE GAULLE         09 /27   090/270  N49*01'30.00  E002*33'00.00  00392  13829  "
    "197  000.00");
const std::string kIntersectionLine =
    L("ROMEO  A FIX                     N45*30'45.50  W073*05'30.00  00000");

// The recording front end, also keeping one log of selections, messages
// and counts in the order they happened.
struct EventLog : RecordingUi {
  mutable std::vector<std::string> events;

  MessageAnswer Message(const MessageRequest& r) const override {
    events.push_back("message " + r.caption + ": " + r.text);
    return RecordingUi::Message(r);
  }
  void EntryInFocus(NavaidKind kind, int row) const override {
    events.push_back("select " + std::string(InfoOf(kind).indexTag) + " " + std::to_string(row));
    RecordingUi::EntryInFocus(kind, row);
  }
  void EntryCountChanged(NavaidKind kind, int n) const override {
    events.push_back("count " + std::string(InfoOf(kind).indexTag) + " " + std::to_string(n));
    RecordingUi::EntryCountChanged(kind, n);
  }
};

struct EditorUi {
  EventLog recording;
  std::vector<std::string>& events = recording.events;
  const Reporter& ui = recording;

  void Answer(std::initializer_list<MessageAnswer> answers) { recording.QueueAnswers(answers); }
};

std::vector<std::string> Lines(const EntryList& list) {
  std::vector<std::string> lines;
  list.ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
  return lines;
}

Database DatabaseWith(NavaidKind kind, std::initializer_list<std::string> lines) {
  Database db;
  for (const std::string& line : lines) db.List(kind).AddLine(line);
  return db;
}

// Fills the common boxes by typing.
void TypeCommon(NavaidKind kind, EditorFields& f, std::string_view id, std::string_view name) {
  UserEditsBox(kind, f, EditorBox::Identifier, id);
  UserEditsBox(kind, f, EditorBox::Name, name);
}

void TypeCoordinates(NavaidKind kind, EditorFields& f, const char* lat[5], const char* lon[5]) {
  f.latitude.hemisphere = lat[0];
  UserEditsBox(kind, f, EditorBox::LatitudeDegrees, lat[1]);
  UserEditsBox(kind, f, EditorBox::LatitudeMinutes, lat[2]);
  UserEditsBox(kind, f, EditorBox::LatitudeSeconds, lat[3]);
  UserEditsBox(kind, f, EditorBox::LatitudeHundredths, lat[4]);
  f.longitude.hemisphere = lon[0];
  UserEditsBox(kind, f, EditorBox::LongitudeDegrees, lon[1]);
  UserEditsBox(kind, f, EditorBox::LongitudeMinutes, lon[2]);
  UserEditsBox(kind, f, EditorBox::LongitudeSeconds, lon[3]);
  UserEditsBox(kind, f, EditorBox::LongitudeHundredths, lon[4]);
}

// ---------------------------------------------------------------- boxes

TEST(EntryEditorBoxes, MaximumLengthsOfTheDialog) {
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::Identifier), 5u);
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::Name), 24u);
  EXPECT_EQ(MaxChars(NavaidKind::Airport, EditorBox::Runway), 3u);
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::LatitudeDegrees), 2u);
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::LongitudeDegrees), 3u);
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::FrequencyDecimals), 1u);
  EXPECT_EQ(MaxChars(NavaidKind::Vor, EditorBox::FrequencyDecimals), 2u);
  EXPECT_EQ(MaxChars(NavaidKind::Intersection, EditorBox::LatitudeDmTenths), 1u);
  EXPECT_EQ(MaxChars(NavaidKind::Ndb, EditorBox::Altitude), 5u);
  EXPECT_EQ(MaxChars(NavaidKind::Airport, EditorBox::Length), 5u);
  EXPECT_EQ(MaxChars(NavaidKind::Airport, EditorBox::Width), 3u);
}

TEST(EntryEditorBoxes, TypedTextIsCleanedAndCut) {
  EditorFields f;
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::Identifier, "abcdefg");
  EXPECT_EQ(f.identifier, "ABCDE");
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::Name, "a name that is far longer than allowed");
  EXPECT_EQ(f.name, "a name that is far longe");
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::Altitude, "1a2-b3.4567");
  EXPECT_EQ(f.altitude, "12345");
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::LatitudeDegrees, "123");
  EXPECT_EQ(f.latitude.degrees, "12");
  UserEditsBox(NavaidKind::Airport, f, EditorBox::Runway, "09lx");
  EXPECT_EQ(f.runway, "09L");
  UserEditsBox(NavaidKind::Vor, f, EditorBox::MagneticVariation, "-1x2.345");
  EXPECT_EQ(f.magneticVariation, "-12.3");
  EXPECT_EQ(CleanBoxText(NavaidKind::Ndb, EditorBox::Identifier, "\xe9t\xe9"), "\xc9T\xc9");
}

TEST(EntryEditorBoxes, EmptyBoxesReadAsZero) {
  EditorFields f;
  f.identifier = "X";
  EXPECT_EQ(BuildEditorLine(NavaidKind::Ndb, f),
            L("X                                000.0  N00*00'00.00  E000*00'00.00  00000  000"));
}

// ---------------------------------------------------------------- opening

TEST(EntryEditorOpen, NdbFillsBoxesFromColumns) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  EXPECT_EQ(s.kind, NavaidKind::Ndb);
  ASSERT_TRUE(s.row.has_value());
  EXPECT_EQ(*s.row, 0u);
  const EditorFields& f = s.fields;
  EXPECT_EQ(f.identifier, "ABC");
  EXPECT_EQ(f.name, "TEST NDB");
  EXPECT_EQ(f.frequencyInteger, "375");
  EXPECT_EQ(f.frequencyDecimals, "0");
  EXPECT_EQ(f.latitude.hemisphere, "N");
  EXPECT_EQ(f.latitude.degrees, "48");
  EXPECT_EQ(f.latitude.minutes, "51");
  EXPECT_EQ(f.latitude.seconds, "24");
  EXPECT_EQ(f.latitude.hundredths, "00");
  EXPECT_EQ(f.longitude.hemisphere, "E");
  EXPECT_EQ(f.longitude.degrees, "002");
  EXPECT_EQ(f.longitude.minutes, "20");
  EXPECT_EQ(f.longitude.seconds, "30");
  EXPECT_EQ(f.longitude.hundredths, "00");
  EXPECT_EQ(f.altitude, "00150");
  EXPECT_EQ(f.range, "025");
  EXPECT_TRUE(f.latitude.dmMinutes.empty());
}

TEST(EntryEditorOpen, PlaceholderGivesNoRowAndEmptyBoxes) {
  Database db;
  AddPlaceholdersToEmptyLists(db);
  for (NavaidKind kind : kAllKinds) {
    SCOPED_TRACE(InfoOf(kind).indexTag);
    EditorSession s = OpenEntryEditor(db, kind, 0);
    EXPECT_FALSE(s.row.has_value());
    EXPECT_TRUE(s.fields.identifier.empty());
    EXPECT_TRUE(s.fields.name.empty());
    EXPECT_TRUE(s.fields.latitude.hemisphere.empty());
    EXPECT_TRUE(s.fields.altitude.empty());
    EXPECT_EQ(s.fields.vorType, VorTypeChoice::None);
    EXPECT_FALSE(s.fields.directionEnabled);
  }
  EXPECT_FALSE(OpenEntryEditor(db, NavaidKind::Ndb, std::nullopt).row.has_value());
  EXPECT_FALSE(OpenEntryEditor(db, NavaidKind::Ndb, 7).row.has_value());
}

TEST(EntryEditorOpen, IlsChecksTypeAndPiecesAndEnablesDirection) {
  Database db = DatabaseWith(NavaidKind::Vor, {kIlsLine});
  const EditorFields f = OpenEntryEditor(db, NavaidKind::Vor, 0).fields;
  EXPECT_EQ(f.vorType, VorTypeChoice::Ils);
  EXPECT_EQ(VorTypeCaption(f.vorType), "ILS   ->");
  EXPECT_TRUE(f.dme);
  EXPECT_TRUE(f.dmeEnabled);
  EXPECT_TRUE(f.glideSlope);
  EXPECT_FALSE(f.tacan);
  EXPECT_TRUE(f.directionEnabled);
  EXPECT_EQ(f.direction, "275");
  EXPECT_EQ(f.frequencyInteger, "109");
  EXPECT_EQ(f.frequencyDecimals, "50");
  EXPECT_EQ(f.magneticVariation, "-00.5");
  EXPECT_EQ(f.range, "018");
  EXPECT_EQ(f.longitude.hemisphere, "W");
}

TEST(EntryEditorOpen, DmeOnlyChecksAndDisablesDme) {
  Database db = DatabaseWith(NavaidKind::Vor, {kDmeLine, kVorLine});
  const EditorFields dme =
      OpenEntryEditor(db, NavaidKind::Vor, *db.List(NavaidKind::Vor).FindPrefix("DMT")).fields;
  EXPECT_EQ(dme.vorType, VorTypeChoice::DmeOnly);
  EXPECT_EQ(VorTypeCaption(dme.vorType), "DME(only)");
  EXPECT_TRUE(dme.dme);
  EXPECT_FALSE(dme.dmeEnabled);
  EXPECT_TRUE(dme.tacan);
  EXPECT_FALSE(dme.glideSlope);
  EXPECT_FALSE(dme.directionEnabled);
  EXPECT_EQ(dme.direction, "");
  EXPECT_EQ(dme.magneticVariation, "12.3");

  const EditorFields vor =
      OpenEntryEditor(db, NavaidKind::Vor, *db.List(NavaidKind::Vor).FindPrefix("ABV")).fields;
  EXPECT_EQ(vor.vorType, VorTypeChoice::Vor);
  EXPECT_TRUE(vor.dme);
  EXPECT_TRUE(vor.dmeEnabled);
  EXPECT_FALSE(vor.directionEnabled);
}

TEST(EntryEditorOpen, RunwayFillsDesignationsHeadingsAndAtis) {
  Database db = DatabaseWith(NavaidKind::Airport, {kRunwayLine});
  const EditorFields f = OpenEntryEditor(db, NavaidKind::Airport, 0).fields;
  EXPECT_EQ(f.identifier, "LFPG");
  EXPECT_EQ(f.runway, "09L");
  EXPECT_EQ(f.oppositeRunway, "27R");
  EXPECT_EQ(f.heading, "090");
  EXPECT_EQ(f.oppositeHeading, "270");
  EXPECT_EQ(f.length, "13829");
  EXPECT_EQ(f.width, "197");
  EXPECT_EQ(f.atisInteger, "118");
  EXPECT_EQ(f.atisDecimals, "05");
  EXPECT_EQ(f.altitude, "00392");
}

TEST(EntryEditorOpen, IntersectionFillsBothRows) {
  Database db = DatabaseWith(NavaidKind::Intersection, {kIntersectionLine});
  const EditorFields f = OpenEntryEditor(db, NavaidKind::Intersection, 0).fields;
  EXPECT_EQ(f.name, "A FIX");
  EXPECT_EQ(f.latitude.minutes, "30");
  EXPECT_EQ(f.latitude.dmMinutes, "30");
  EXPECT_EQ(f.latitude.seconds, "45");
  EXPECT_EQ(f.latitude.hundredths, "50");
  EXPECT_EQ(f.latitude.dmTenths, "8");  // 45.50 / 6 = 7.58
  EXPECT_EQ(f.longitude.dmMinutes, "05");
  EXPECT_EQ(f.longitude.dmTenths, "5");  // 30.00 / 6
}

// ---------------------------------------------------------------- building

TEST(EntryEditorBuild, NdbLineFromTypedBoxes) {
  EditorFields f;
  const NavaidKind k = NavaidKind::Ndb;
  TypeCommon(k, f, "abc", "TEST NDB");
  UserEditsBox(k, f, EditorBox::FrequencyInteger, "375");
  UserEditsBox(k, f, EditorBox::FrequencyDecimals, "0");
  const char* lat[5] = {"N", "48", "51", "24", ""};
  const char* lon[5] = {"E", "2", "20", "30", "0"};
  TypeCoordinates(k, f, lat, lon);
  UserEditsBox(k, f, EditorBox::Altitude, "150");
  UserEditsBox(k, f, EditorBox::Range, "25");
  const std::string line = BuildEditorLine(k, f);
  EXPECT_EQ(line, kNdbLine);
  EXPECT_EQ(line.size(), 79u);
}

TEST(EntryEditorBuild, IlsLineFromTypedBoxes) {
  EditorFields f;
  const NavaidKind k = NavaidKind::Vor;
  TypeCommon(k, f, "PGS", "PARIS");
  ChooseVorType(f, VorTypeChoice::Ils);
  f.dme = true;
  f.glideSlope = true;
  UserEditsBox(k, f, EditorBox::FrequencyInteger, "109");
  UserEditsBox(k, f, EditorBox::FrequencyDecimals, "5");  // one character: 50
  UserEditsBox(k, f, EditorBox::Direction, "275");
  const char* lat[5] = {"N", "49", "0", "12", "34"};
  const char* lon[5] = {"W", "1", "2", "3", "4"};
  TypeCoordinates(k, f, lat, lon);
  UserEditsBox(k, f, EditorBox::Altitude, "420");
  UserEditsBox(k, f, EditorBox::Range, "18");
  UserEditsBox(k, f, EditorBox::MagneticVariation, "-0.5");
  const std::string line = BuildEditorLine(k, f);
  EXPECT_EQ(line, kIlsLine);
  EXPECT_EQ(line.size(), 109u);
}

TEST(EntryEditorBuild, DmeOnlyLineNeverGetsDmeSuffix) {
  EditorFields f;
  const NavaidKind k = NavaidKind::Vor;
  TypeCommon(k, f, "DMT", "DEMO DME");
  ChooseVorType(f, VorTypeChoice::DmeOnly);
  f.tacan = true;
  UserEditsBox(k, f, EditorBox::FrequencyInteger, "112");
  UserEditsBox(k, f, EditorBox::FrequencyDecimals, "05");
  const char* lat[5] = {"S", "33", "10", "", ""};
  const char* lon[5] = {"E", "151", "0", "59", "99"};
  TypeCoordinates(k, f, lat, lon);
  UserEditsBox(k, f, EditorBox::Altitude, "10");
  UserEditsBox(k, f, EditorBox::Range, "130");
  UserEditsBox(k, f, EditorBox::MagneticVariation, "12.34");
  EXPECT_EQ(BuildEditorLine(k, f), kDmeLine);
}

TEST(EntryEditorBuild, MagneticVariationRoundingAndSign) {
  struct Row {
    const char* typed;
    const char* columns104To108;
  };
  const Row rows[] = {
      {"-0.5", "-00.5"},  {"12.34", " 12.3"}, {"0.7", " 00.7"}, {"-0.04", " 00.0"},
      {"-2.34", "-02.3"}, {"0.05", " 00.1"},  {"", " 00.0"},    {"-12.35", "-12.4"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    EditorFields f;
    f.identifier = "V";
    f.vorType = VorTypeChoice::Vor;
    f.magneticVariation = row.typed;
    const std::string line = BuildEditorLine(NavaidKind::Vor, f);
    ASSERT_EQ(line.size(), 109u);
    EXPECT_EQ(line.substr(104), row.columns104To108);
  }
}

TEST(EntryEditorBuild, VorFrequencyDecimalsOfOneCharacterAreTenths) {
  EditorFields f;
  f.identifier = "V";
  f.vorType = VorTypeChoice::Vor;
  f.frequencyInteger = "113";
  f.frequencyDecimals = "9";
  EXPECT_EQ(BuildEditorLine(NavaidKind::Vor, f).substr(50, 8), "113.90  ");
  f.frequencyDecimals = "09";
  EXPECT_EQ(BuildEditorLine(NavaidKind::Vor, f).substr(50, 8), "113.09  ");
}

TEST(EntryEditorBuild, RunwayLineFromTypedBoxes) {
  EditorFields f;
  const NavaidKind k = NavaidKind::Airport;
  TypeCommon(k, f, "lfpg", "CHARLES DE GAULLE");
  Reporter quiet;
  UserEditsBox(k, f, EditorBox::Runway, "09l");
  EXPECT_EQ(OnRunwayBoxLeft(f, quiet), LeaveOutcome::Leave);
  UserEditsBox(k, f, EditorBox::Heading, "90");
  EXPECT_EQ(OnHeadingBoxLeft(f, quiet), LeaveOutcome::Leave);
  const char* lat[5] = {"N", "49", "1", "30", "0"};
  const char* lon[5] = {"E", "2", "33", "0", "0"};
  TypeCoordinates(k, f, lat, lon);
  UserEditsBox(k, f, EditorBox::Altitude, "392");
  UserEditsBox(k, f, EditorBox::Length, "13829");
  UserEditsBox(k, f, EditorBox::Width, "197");
  UserEditsBox(k, f, EditorBox::AtisInteger, "118");
  UserEditsBox(k, f, EditorBox::AtisDecimals, "05");
  const std::string line = BuildEditorLine(k, f);
  EXPECT_EQ(line, kRunwayLine);
  EXPECT_EQ(line.size(), 105u);
  f.atisInteger = "";
  f.atisDecimals = "";
  EXPECT_EQ(BuildEditorLine(k, f).substr(99), "000.00");
  f.atisInteger = "121";
  f.atisDecimals = "8";
  EXPECT_EQ(BuildEditorLine(k, f).substr(99), "121.80");
}

TEST(EntryEditorBuild, RunwayTypedAs9LGetsOpposite27R) {
  EditorFields f;
  f.identifier = "LFPG";
  UserEditsBox(NavaidKind::Airport, f, EditorBox::Runway, "9L");
  RecordingUi rec;
  EXPECT_EQ(OnRunwayBoxLeft(f, rec), LeaveOutcome::Leave);
  EXPECT_EQ(f.oppositeRunway, "27R");
  EXPECT_EQ(rec.beeps, 0);
  const std::string line = BuildEditorLine(NavaidKind::Airport, f);
  EXPECT_EQ(line.substr(33, 9), "9L /27R  ");
  EXPECT_EQ(line.size(), 105u);
}

TEST(EntryEditorBuild, RunwayDesignationForms) {
  struct Row {
    const char* typed;
    const char* opposite;
    const char* columns33To41;
  };
  const Row rows[] = {
      {"9", "27", "09 /27   "},    {"09", "27", "09 /27   "}, {"09C", "27C", "09C/27C  "},
      {"18R", "36L", "18R/36L  "}, {"1", "19", "01 /19   "},  {"", "18", "/18      "},
      {"09X", "27", "09X/27   "},
  };
  RecordingUi rec;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    EditorFields f;
    f.identifier = "ABCD";
    UserEditsBox(NavaidKind::Airport, f, EditorBox::Runway, row.typed);
    OnRunwayBoxLeft(f, rec);
    EXPECT_EQ(f.oppositeRunway, row.opposite);
    EXPECT_EQ(BuildEditorLine(NavaidKind::Airport, f).substr(33, 9), row.columns33To41);
  }
  EXPECT_EQ(rec.beeps, 0);
  // A helipad opened from a line keeps its "HEL" opposite.
  EditorFields helipad;
  helipad.identifier = "ABCD";
  helipad.runway = "09";
  helipad.oppositeRunway = "HEL";
  EXPECT_EQ(BuildEditorLine(NavaidKind::Airport, helipad).substr(33, 9), "09 /HEL  ");
}

TEST(EntryEditorBuild, IntersectionLineReadsTheDmsBoxes) {
  EditorFields f;
  const NavaidKind k = NavaidKind::Intersection;
  TypeCommon(k, f, "romeo", "A FIX");
  const char* lat[5] = {"N", "45", "30", "45", "50"};
  const char* lon[5] = {"W", "73", "5", "30", "0"};
  TypeCoordinates(k, f, lat, lon);
  f.latitude.dmMinutes = "59";  // the DM row is not read
  f.latitude.dmTenths = "9";
  const std::string line = BuildEditorLine(k, f);
  EXPECT_EQ(line, kIntersectionLine);
  EXPECT_EQ(line.size(), 67u);
}

TEST(EntryEditorBuild, OutOfRangeValuesAreWrittenAsTyped) {
  EditorFields f;
  f.identifier = "X";
  f.latitude = {"N", "99", "75", "99", "99", "", ""};
  f.longitude = {"W", "999", "60", "61", "00", "", ""};
  const std::string line = BuildEditorLine(NavaidKind::Intersection, f);
  EXPECT_EQ(line, L("X                                N99*75'99.99  W999*60'61.00  00000"));
}

TEST(EntryEditorBuild, NoHemisphereChosenWritesNorthAndEast) {
  EditorFields f;
  f.identifier = "X";
  const std::string line = BuildEditorLine(NavaidKind::Intersection, f);
  EXPECT_EQ(line.substr(33, 1), "N");
  EXPECT_EQ(line.substr(47, 1), "E");
}

TEST(EntryEditorBuild, MagneticVariationOfHundredDegreesOverrunsTheLayout) {
  // The only box whose typed value can widen a line: "Mag Var :" is written
  // as typed, and 99.96 rounds to 100.0, three digits of whole degrees.
  EditorFields f;
  f.identifier = "V";
  f.vorType = VorTypeChoice::Vor;
  UserEditsBox(NavaidKind::Vor, f, EditorBox::MagneticVariation, "99.96");
  const std::string line = BuildEditorLine(NavaidKind::Vor, f);
  EXPECT_EQ(line.size(), 110u);
  EXPECT_EQ(line.substr(104), " 100.0");
  EXPECT_FALSE(LineFitsLayout(NavaidKind::Vor, line));
}

// ---------------------------------------------------------------- Validate

TEST(EntryEditorValidate, UnchangedLineOfEveryKindKeepsTheList) {
  struct Row {
    NavaidKind kind;
    std::vector<std::string> lines;
  };
  const std::vector<Row> rows = {
      {NavaidKind::Ndb,
       {kNdbLine,
        L("ZZZ    OTHER                     400.5  N01*00'00.00  E001*00'00.00  00001  010")}},
      {NavaidKind::Vor, {kIlsLine, kDmeLine, kVorLine}},
      {NavaidKind::Airport, {kRunwayLine, kPlainRunwayLine}},
      {NavaidKind::Intersection, {kIntersectionLine}},
  };
  for (const Row& row : rows) {
    for (size_t opened = 0; opened < row.lines.size(); ++opened) {
      SCOPED_TRACE(std::string(InfoOf(row.kind).indexTag) + " row " + std::to_string(opened));
      Database db;
      for (const std::string& line : row.lines) db.List(row.kind).AddLine(line);
      const std::vector<std::string> before = Lines(db.List(row.kind));
      EditorUi ui;
      EditorSession s = OpenEntryEditor(db, row.kind, opened);
      EXPECT_EQ(ValidateEntry(db, s, ui.ui), EditorOutcome::Close);
      EXPECT_EQ(Lines(db.List(row.kind)), before);
      EXPECT_TRUE(db.databaseModified);
      ASSERT_TRUE(s.row.has_value());
      EXPECT_EQ(*s.row, opened);
      const std::string tag(InfoOf(row.kind).indexTag);
      EXPECT_EQ(ui.events, (std::vector<std::string>{
                               "select " + tag + " " + std::to_string(opened),
                               "count " + tag + " " + std::to_string(row.lines.size())}));
      EXPECT_TRUE(ui.recording.messages.empty());
    }
  }
}

TEST(EntryEditorValidate, ChangedLineMovesToItsPlace) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  db.List(NavaidKind::Ndb)
      .AddLine(
          L("MMM    MIDDLE                    300.0  N01*00'00.00  E001*00'00.00  00001  010"));
  EditorUi ui;
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);  // ABC
  UserEditsBox(NavaidKind::Ndb, s.fields, EditorBox::Identifier, "ZZ");
  EXPECT_EQ(ValidateEntry(db, s, ui.ui), EditorOutcome::Close);
  const EntryList& list = db.List(NavaidKind::Ndb);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.GetLine(0).substr(0, 3), "MMM");
  EXPECT_EQ(std::string(list.GetLine(1)), "ZZ " + kNdbLine.substr(3));
  EXPECT_EQ(s.row, std::optional<size_t>(1));
  EXPECT_EQ(ui.events, (std::vector<std::string>{"select NDB 1", "count NDB 2"}));
}

TEST(EntryEditorValidate, AllSpacesInFirstThirtyColumnsChangesNothing) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorUi ui;
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  s.fields.identifier.clear();
  s.fields.name.clear();
  EXPECT_EQ(ValidateEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_EQ(Lines(db.List(NavaidKind::Ndb)), std::vector<std::string>{kNdbLine});
  EXPECT_FALSE(db.databaseModified);
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 1u);
  EXPECT_FALSE(db.databaseModified);
  EXPECT_TRUE(ui.events.empty());
}

TEST(EntryEditorValidate, LineWiderThanTheLayoutKeepsTheOldLine) {
  // A "Mag Var :" of 99999 widens the line to 112 characters: the old line
  // stays, the editor stays open with what was typed.
  Database db = DatabaseWith(NavaidKind::Vor, {kDmeLine, kVorLine});
  EditorUi ui;
  EditorSession s = OpenEntryEditor(db, NavaidKind::Vor, 1);  // DMT
  UserEditsBox(NavaidKind::Vor, s.fields, EditorBox::MagneticVariation, "99999");
  EXPECT_EQ(BuildEditorLine(NavaidKind::Vor, s.fields).size(), 112u);
  EXPECT_EQ(ValidateEntry(db, s, ui.ui), EditorOutcome::StayOpen);
  EXPECT_EQ(Lines(db.List(NavaidKind::Vor)), (std::vector<std::string>{kVorLine, kDmeLine}));
  EXPECT_EQ(s.row, std::optional<size_t>(1));
  EXPECT_EQ(s.fields.magneticVariation, "99999");
  EXPECT_FALSE(db.databaseModified);
  ASSERT_EQ(ui.recording.messages.size(), 1u);
  EXPECT_EQ(ui.recording.messages[0].caption, "Error");
  EXPECT_EQ(ui.recording.messages[0].text, "Can't add entry to VOR list.");
  EXPECT_EQ(ui.recording.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.recording.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"message Error: Can't add entry to VOR list."}));
}

TEST(EntryEditorValidate, OnPlaceholderInsertsAndRemovesPlaceholder) {
  Database db;
  AddPlaceholdersToEmptyLists(db);
  EditorUi ui;
  EditorSession s = OpenEntryEditor(db, NavaidKind::Intersection, 0);
  TypeCommon(NavaidKind::Intersection, s.fields, "FIX", "");
  EXPECT_EQ(ValidateEntry(db, s, ui.ui), EditorOutcome::Close);
  const EntryList& list = db.List(NavaidKind::Intersection);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.GetLine(0).substr(0, 3), "FIX");
  EXPECT_EQ(ui.events, (std::vector<std::string>{"select INT 0", "count INT 1"}));
}

// ---------------------------------------------------------------- Add

TEST(EntryEditorAdd, OnPlaceholderPutsOneLineAndRemovesThePlaceholder) {
  Database db;
  AddPlaceholdersToEmptyLists(db);
  EditorUi ui;
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  EXPECT_FALSE(s.row.has_value());
  TypeCommon(NavaidKind::Ndb, s.fields, "ABC", "A NAME");
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
  const EntryList& list = db.List(NavaidKind::Ndb);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(std::string(list.GetLine(0)),
            L("ABC    A NAME                    000.0  N00*00'00.00  E000*00'00.00  00000  000"));
  EXPECT_EQ(s.row, std::optional<size_t>(0));
  EXPECT_TRUE(db.databaseModified);
  EXPECT_TRUE(ui.recording.messages.empty());
  EXPECT_EQ(ui.events, (std::vector<std::string>{"select NDB 0", "count NDB 1"}));
  // The other lists keep their placeholders.
  EXPECT_TRUE(db.List(NavaidKind::Vor).HoldsOnlyPlaceholder());
}

TEST(EntryEditorAdd, DuplicateQuestionOfEveryKindAfterSelectingTheFoundLine) {
  struct Row {
    NavaidKind kind;
    std::string line;
    const char* question;
  };
  const Row rows[] = {
      {NavaidKind::Ndb, kNdbLine,
       "This NDB already exists with same ID and Name.\rDo you really want to add it ?"},
      {NavaidKind::Vor, kVorLine,
       "This VOR already exists with same ID and Name.\rDo you really want to add it ?"},
      {NavaidKind::Airport, kRunwayLine,
       "This runway already exists with same ID, Name and Number.\rDo you really want to add it "
       "?"},
      {NavaidKind::Intersection, kIntersectionLine,
       "This Intersection already exists with same ID and Name.\rDo you really want to add it ?"},
  };
  for (const Row& row : rows) {
    const std::string tag(InfoOf(row.kind).indexTag);
    SCOPED_TRACE(tag);
    const std::string other = "AAA" + row.line.substr(3);
    Database db = DatabaseWith(row.kind, {row.line, other});
    EditorSession s = OpenEntryEditor(db, row.kind, 1);  // the original line, after AAA
    // Change a field past the prefix: still a duplicate.
    UserEditsBox(row.kind, s.fields, EditorBox::Altitude, "77");

    EditorUi no;
    no.Answer({MessageAnswer::No});
    EXPECT_EQ(AddEntry(db, s, no.ui), EditorOutcome::StayOpen);
    EXPECT_EQ(Lines(db.List(row.kind)).size(), 2u);
    EXPECT_TRUE(db.databaseModified);  // set before the question
    EXPECT_EQ(s.row, std::optional<size_t>(1));
    EXPECT_EQ(no.events,
              (std::vector<std::string>{"select " + tag + " 1",
                                        std::string("message Warning: ") + row.question}));
    ASSERT_EQ(no.recording.messages.size(), 1u);
    EXPECT_EQ(no.recording.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(no.recording.messages[0].buttons, MessageButtons::YesNo);

    EditorUi yes;
    yes.Answer({MessageAnswer::Yes});
    EXPECT_EQ(AddEntry(db, s, yes.ui), EditorOutcome::Close);
    ASSERT_EQ(db.List(row.kind).Count(), 3u);
    EXPECT_EQ(yes.events,
              (std::vector<std::string>{
                  "select " + tag + " 1", std::string("message Warning: ") + row.question,
                  "select " + tag + " " + std::to_string(*s.row), "count " + tag + " 3"}));
    EXPECT_EQ(std::string(db.List(row.kind).GetLine(*s.row)), BuildEditorLine(row.kind, s.fields));
  }
}

TEST(EntryEditorAdd, RunwayWithAnotherDesignationIsNoDuplicate) {
  Database db = DatabaseWith(NavaidKind::Airport, {kRunwayLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Airport, 0);
  RecordingUi rec;
  UserEditsBox(NavaidKind::Airport, s.fields, EditorBox::Runway, "09R");
  OnRunwayBoxLeft(s.fields, rec);
  EditorUi ui;
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_TRUE(ui.recording.messages.empty());
  ASSERT_EQ(db.List(NavaidKind::Airport).Count(), 2u);
  EXPECT_EQ(db.List(NavaidKind::Airport).GetLine(1).substr(33, 9), "09R/27L  ");
  EXPECT_EQ(ui.events, (std::vector<std::string>{"select APT 1", "count APT 2"}));
}

TEST(EntryEditorAdd, PrefixComparesTwentyNineCharactersIgnoringCase) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  // The name differs only after column 28 (the 29 characters end at column 28).
  s.fields.name = "test ndb" + std::string(14, ' ') + "X";
  EditorUi ui;
  ui.Answer({MessageAnswer::No});
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::StayOpen);
  EXPECT_EQ(ui.recording.messages.size(), 1u);

  s.fields.name = "test ndb" + std::string(13, ' ') + "X";  // column 28
  EditorUi ui2;
  EXPECT_EQ(AddEntry(db, s, ui2.ui), EditorOutcome::Close);
  EXPECT_TRUE(ui2.recording.messages.empty());
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 2u);
}

TEST(EntryEditorAdd, RefusedInsertionInAFullList) {
  Database db;
  db.lists[IndexOf(NavaidKind::Intersection)] = EntryList(1);
  db.List(NavaidKind::Intersection).AddLine(kIntersectionLine);
  EditorSession s = OpenEntryEditor(db, NavaidKind::Intersection, 0);
  UserEditsBox(NavaidKind::Intersection, s.fields, EditorBox::Identifier, "OTHER");
  EditorUi ui;
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_EQ(Lines(db.List(NavaidKind::Intersection)), std::vector<std::string>{kIntersectionLine});
  EXPECT_FALSE(s.row.has_value());
  EXPECT_TRUE(db.databaseModified);
  ASSERT_EQ(ui.recording.messages.size(), 1u);
  EXPECT_EQ(ui.recording.messages[0].caption, "Error");
  EXPECT_EQ(ui.recording.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.events,
            (std::vector<std::string>{"message Error: Can't add entry to Intersection list.\r\rA "
                                      "list holds at most 100,000 entries.",
                                      "count INT 1"}));
}

TEST(EntryEditorAdd, InsertionFailureTextsOfEveryKind) {
  EXPECT_EQ(MessagesOf(NavaidKind::Ndb).insertionFailure, "Can't add entry to NDB list.");
  EXPECT_EQ(MessagesOf(NavaidKind::Vor).insertionFailure, "Can't add entry to VOR list.");
  EXPECT_EQ(MessagesOf(NavaidKind::Airport).insertionFailure, "Can't add entry to Airport list.");
  EXPECT_EQ(MessagesOf(NavaidKind::Intersection).insertionFailure,
            "Can't add entry to Intersection list.");
  EXPECT_EQ(DuplicatePrefixLength(NavaidKind::Ndb), 29u);
  EXPECT_EQ(DuplicatePrefixLength(NavaidKind::Airport), 36u);
}

TEST(EntryEditorAdd, RefusedInsertionOfEveryKind) {
  const std::pair<NavaidKind, std::string> rows[] = {
      {NavaidKind::Ndb, kNdbLine},
      {NavaidKind::Vor, kVorLine},
      {NavaidKind::Airport, kRunwayLine},
      {NavaidKind::Intersection, kIntersectionLine},
  };
  for (const auto& [kind, line] : rows) {
    SCOPED_TRACE(InfoOf(kind).indexTag);
    Database db;
    db.lists[IndexOf(kind)] = EntryList(1);
    db.List(kind).AddLine(line);
    EditorSession s = OpenEntryEditor(db, kind, 0);
    s.fields.identifier = "NEW";
    EditorUi ui;
    EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
    ASSERT_EQ(ui.recording.messages.size(), 1u);
    // A full list is named with its limit.
    EXPECT_EQ(ui.recording.messages[0].text, std::string(MessagesOf(kind).insertionFailure) +
                                                 "\r\rA list holds at most 100,000 entries.");
  }
}

// ---------------------------------------------------------------- Delete, Cancel

TEST(EntryEditorDelete, QuestionOfEveryKindAndNoKeepsTheEditorOpen) {
  const std::pair<NavaidKind, const char*> rows[] = {
      {NavaidKind::Ndb, "Do you really want to delete this NDB ?"},
      {NavaidKind::Vor, "Do you really want to delete this VOR ?"},
      {NavaidKind::Airport, "Do you really want to delete this runway ?"},
      {NavaidKind::Intersection, "Do you really want to delete this Intersection ?"},
  };
  for (const auto& [kind, question] : rows) {
    SCOPED_TRACE(question);
    Database db = DatabaseWith(kind, {"AAA    ONE", "BBB    TWO"});
    EditorSession s = OpenEntryEditor(db, kind, 1);
    EditorUi no;
    no.Answer({MessageAnswer::No});
    EXPECT_EQ(DeleteEntry(db, s, no.ui), EditorOutcome::StayOpen);
    EXPECT_EQ(db.List(kind).Count(), 2u);
    EXPECT_FALSE(db.databaseModified);
    ASSERT_EQ(no.recording.messages.size(), 1u);
    EXPECT_EQ(no.recording.messages[0].caption, "Warning");
    EXPECT_EQ(no.recording.messages[0].text, question);
    EXPECT_EQ(no.recording.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(no.recording.messages[0].buttons, MessageButtons::YesNo);

    EditorUi yes;
    yes.Answer({MessageAnswer::Yes});
    EXPECT_EQ(DeleteEntry(db, s, yes.ui), EditorOutcome::Close);
    EXPECT_EQ(Lines(db.List(kind)), std::vector<std::string>{"AAA    ONE"});
    EXPECT_TRUE(db.databaseModified);
    const std::string tag(InfoOf(kind).indexTag);
    EXPECT_EQ(yes.events, (std::vector<std::string>{std::string("message Warning: ") + question,
                                                    "count " + tag + " 1"}));
  }
}

TEST(EntryEditorDelete, LastEntryLeavesAnEmptyListWithoutPlaceholder) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  EditorUi ui;
  ui.Answer({MessageAnswer::Yes});
  EXPECT_EQ(DeleteEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 0u);
  EXPECT_EQ(ui.recording.counts.back(), std::make_pair(NavaidKind::Ndb, 0));
}

TEST(EntryEditorDelete, WithoutAnyoneToAskNothingIsDeleted) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  EXPECT_EQ(DeleteEntry(db, s, Reporter()), EditorOutcome::StayOpen);
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 1u);
}

TEST(EntryEditorCancel, ChangesNothing) {
  Database db = DatabaseWith(NavaidKind::Ndb, {kNdbLine});
  EditorSession s = OpenEntryEditor(db, NavaidKind::Ndb, 0);
  s.fields.identifier = "XYZ";
  EXPECT_EQ(CancelEntry(), EditorOutcome::Close);
  EXPECT_EQ(Lines(db.List(NavaidKind::Ndb)), std::vector<std::string>{kNdbLine});
  EXPECT_FALSE(db.databaseModified);
}

// ---------------------------------------------------------------- VOR type

TEST(EntryEditorVorType, ChoicesSetDirectionAndDmeStates) {
  EditorFields f;
  ChooseVorType(f, VorTypeChoice::Ils);
  EXPECT_TRUE(f.directionEnabled);
  EXPECT_TRUE(f.dmeEnabled);
  f.direction = "275";

  ChooseVorType(f, VorTypeChoice::DmeOnly);
  EXPECT_EQ(f.vorType, VorTypeChoice::DmeOnly);
  EXPECT_TRUE(f.direction.empty());
  EXPECT_FALSE(f.directionEnabled);
  EXPECT_TRUE(f.dme);
  EXPECT_FALSE(f.dmeEnabled);

  f.direction = "123";
  ChooseVorType(f, VorTypeChoice::Vor);
  EXPECT_TRUE(f.direction.empty());
  EXPECT_FALSE(f.directionEnabled);
  EXPECT_TRUE(f.dmeEnabled);
  EXPECT_TRUE(f.dme);  // stays ticked; only enabled again
  EXPECT_TRUE(f.glideSlopeEnabled);
  EXPECT_TRUE(f.tacanEnabled);

  ChooseVorType(f, VorTypeChoice::Ils);
  EXPECT_TRUE(f.directionEnabled);
  EXPECT_TRUE(f.dmeEnabled);
}

TEST(EntryEditorVorType, TypeTextFromChoiceAndBoxes) {
  struct Row {
    VorTypeChoice choice;
    bool dme, gs, tacan;
    const char* columns33To49;
  };
  const Row rows[] = {
      {VorTypeChoice::Vor, true, true, true, "VOR/DME/GS /TCN  "},
      {VorTypeChoice::Vor, false, false, false, "VOR              "},
      {VorTypeChoice::Ils, true, true, false, "ILS/DME/GS       "},
      {VorTypeChoice::DmeOnly, true, false, true, "DME/TCN          "},
      {VorTypeChoice::None, false, false, true, "VOR/TCN          "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.columns33To49);
    EditorFields f;
    f.identifier = "V";
    f.vorType = row.choice;
    f.dme = row.dme;
    f.glideSlope = row.gs;
    f.tacan = row.tacan;
    EXPECT_EQ(BuildEditorLine(NavaidKind::Vor, f).substr(33, 17), row.columns33To49);
  }
}

// ---------------------------------------------------------------- runway helpers

TEST(EntryEditorRunwayHelpers, NumberAboveEighteenBeepsAndKeepsTheFocus) {
  RecordingUi rec;
  EditorFields f;
  f.runway = "27L";
  EXPECT_EQ(OnRunwayBoxLeft(f, rec), LeaveOutcome::FocusStays);
  EXPECT_EQ(rec.beeps, 1);
  f.runway = "18";
  EXPECT_EQ(OnRunwayBoxLeft(f, rec), LeaveOutcome::Leave);
  EXPECT_EQ(f.oppositeRunway, "36");
  EXPECT_EQ(rec.beeps, 1);
}

TEST(EntryEditorRunwayHelpers, HeadingAboveOneEightyBeepsAndKeepsTheFocus) {
  RecordingUi rec;
  EditorFields f;
  f.heading = "181";
  EXPECT_EQ(OnHeadingBoxLeft(f, rec), LeaveOutcome::FocusStays);
  EXPECT_EQ(rec.beeps, 1);
  f.heading = "180";
  EXPECT_EQ(OnHeadingBoxLeft(f, rec), LeaveOutcome::Leave);
  EXPECT_EQ(f.oppositeHeading, "360");
  f.heading = "5";
  EXPECT_EQ(OnHeadingBoxLeft(f, rec), LeaveOutcome::Leave);
  EXPECT_EQ(f.oppositeHeading, "185");
  f.heading = "";
  OnHeadingBoxLeft(f, rec);
  EXPECT_EQ(f.oppositeHeading, "180");
  EXPECT_EQ(rec.beeps, 1);
  f.heading = "5";
  OnHeadingBoxLeft(f, rec);
  EXPECT_EQ(BuildEditorLine(NavaidKind::Airport, f).substr(42, 9), "005/185  ");
}

// ---------------------------------------------------------------- intersection DMS/DM

TEST(EntryEditorIntersection, DmTenthsFiveSetsThirtySeconds) {
  EditorFields f;
  f.latitude.hundredths = "25";
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LatitudeDmTenths, "5");
  EXPECT_EQ(f.latitude.seconds, "30");
  EXPECT_EQ(f.latitude.hundredths, "25");  // left as it is
  EXPECT_EQ(f.latitude.dmTenths, "5");
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LongitudeDmTenths, "0");
  EXPECT_EQ(f.longitude.seconds, "00");
  EXPECT_TRUE(f.latitude.minutes.empty());
}

TEST(EntryEditorIntersection, SecondsAndHundredthsSetTheTenths) {
  EditorFields f;
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LatitudeSeconds, "45");
  EXPECT_EQ(f.latitude.dmTenths, "8");  // 45.0 / 6 = 7.5 rounds up
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LatitudeHundredths, "50");
  EXPECT_EQ(f.latitude.dmTenths, "8");  // 45.50 / 6 = 7.58
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LongitudeSeconds, "2");
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LongitudeHundredths, "99");
  EXPECT_EQ(f.longitude.dmTenths, "0");
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LongitudeSeconds, "57");
  EXPECT_EQ(f.longitude.dmTenths, "10");
  EXPECT_EQ(f.longitude.seconds, "57");
  EXPECT_EQ(f.longitude.hundredths, "99");
}

TEST(EntryEditorIntersection, MinutesFollowEachOther) {
  EditorFields f;
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LatitudeMinutes, "12");
  EXPECT_EQ(f.latitude.dmMinutes, "12");
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LatitudeDmMinutes, "34");
  EXPECT_EQ(f.latitude.minutes, "34");
  UserEditsBox(NavaidKind::Intersection, f, EditorBox::LongitudeDmMinutes, "7");
  EXPECT_EQ(f.longitude.minutes, "7");
  EXPECT_EQ(f.latitude.minutes, "34");
  OnDmsMinutesChanged(f, CoordinateAxis::Longitude);
  EXPECT_EQ(f.longitude.dmMinutes, "7");
}

TEST(EntryEditorIntersection, OtherEditorsHaveNoSynchronisation) {
  EditorFields f;
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::LatitudeMinutes, "12");
  UserEditsBox(NavaidKind::Ndb, f, EditorBox::LatitudeSeconds, "45");
  EXPECT_TRUE(f.latitude.dmMinutes.empty());
  EXPECT_TRUE(f.latitude.dmTenths.empty());
}

TEST(EntryEditorIntersection, DmEntryEndsUpInTheLine) {
  Database db;
  AddPlaceholdersToEmptyLists(db);
  EditorSession s = OpenEntryEditor(db, NavaidKind::Intersection, 0);
  const NavaidKind k = NavaidKind::Intersection;
  TypeCommon(k, s.fields, "DMFIX", "");
  s.fields.latitude.hemisphere = "S";
  UserEditsBox(k, s.fields, EditorBox::LatitudeDegrees, "12");
  UserEditsBox(k, s.fields, EditorBox::LatitudeDmMinutes, "34");
  UserEditsBox(k, s.fields, EditorBox::LatitudeDmTenths, "5");
  s.fields.longitude.hemisphere = "W";
  UserEditsBox(k, s.fields, EditorBox::LongitudeDegrees, "123");
  UserEditsBox(k, s.fields, EditorBox::LongitudeDmMinutes, "45");
  UserEditsBox(k, s.fields, EditorBox::LongitudeDmTenths, "9");
  EditorUi ui;
  EXPECT_EQ(AddEntry(db, s, ui.ui), EditorOutcome::Close);
  EXPECT_EQ(std::string(db.List(k).GetLine(0)),
            L("DMFIX                            S12*34'30.00  W123*45'54.00  00000"));
}

}  // namespace
}  // namespace shell
