// No value typed into an editor may lose or corrupt an entry: lines that do
// not fit the layout are refused before the list changes, and every line an
// editor stores comes back unchanged from the database files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "shell/core/entry_editor.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace shell {
namespace {

using namespace navdb;
using testing_support::RecordingUi;
using testing_support::TempFolder;

// Test lines are written with '*' for the degree sign byte 0xB0.
constexpr auto& L = testing_support::WithDegreeSigns;

const std::string kVorLine =
    L("ABV    ABBEVILLE                 VOR/DME          113.90       N50*08'00.00  E001*51'00.00  "
      "00220  100   00.7");
const std::string kRunwayLine = L(
    "LFPG   CHARLES DE GAULLE         09L/27R  090/270  N49*01'30.00  E002*33'00.00  00392  13829  "
    "197  118.05");

std::vector<std::string> Lines(const EntryList& list) {
  std::vector<std::string> lines;
  list.ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
  return lines;
}

// Types `text` into `box` of an editor opened on the only line of `kind`,
// runs the box's leave helper, and presses Validate, then Add.
struct RefusedCase {
  NavaidKind kind;
  EditorBox box;
  const char* text;
};

TEST(EditorMends, ValuesBeyondTheLayoutAreRefusedAndTheEntryStays) {
  const RefusedCase cases[] = {
      {NavaidKind::Vor, EditorBox::MagneticVariation, "12345"},
      {NavaidKind::Vor, EditorBox::MagneticVariation, "99.96"},
      {NavaidKind::Vor, EditorBox::MagneticVariation, "-100"},
      {NavaidKind::Vor, EditorBox::MagneticVariation, "+999"},
      {NavaidKind::Airport, EditorBox::Runway, "82L"},
      {NavaidKind::Airport, EditorBox::Runway, "999"},
      {NavaidKind::Airport, EditorBox::Heading, "820"},
      {NavaidKind::Airport, EditorBox::Heading, "999"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string& line = c.kind == NavaidKind::Vor ? kVorLine : kRunwayLine;
    Database db;
    db.List(c.kind).AddLine(line);
    EditorSession s = OpenEntryEditor(db, c.kind, 0);
    UserEditsBox(c.kind, s.fields, c.box, c.text);
    RecordingUi rec;
    LeaveOutcome left = LeaveOutcome::Leave;
    if (c.box == EditorBox::MagneticVariation) left = OnMagneticVariationBoxLeft(s.fields, rec);
    if (c.box == EditorBox::Runway) left = OnRunwayBoxLeft(s.fields, rec);
    if (c.box == EditorBox::Heading) left = OnHeadingBoxLeft(s.fields, rec);
    EXPECT_EQ(left, LeaveOutcome::FocusStays);
    EXPECT_EQ(rec.beeps, 1);
    EXPECT_FALSE(LineFitsLayout(c.kind, BuildEditorLine(c.kind, s.fields)));

    EXPECT_EQ(ValidateEntry(db, s, rec), EditorOutcome::StayOpen);
    EXPECT_EQ(AddEntry(db, s, rec), EditorOutcome::StayOpen);
    EXPECT_EQ(Lines(db.List(c.kind)), std::vector<std::string>{line});
    EXPECT_EQ(s.row, std::optional<size_t>(0));
    EXPECT_FALSE(db.databaseModified);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[0].text, MessagesOf(c.kind).insertionFailure);
    EXPECT_EQ(rec.messages[1].text, MessagesOf(c.kind).insertionFailure);
  }
}

TEST(EditorMends, MagneticVariationLimitsFollowTheRounding) {
  RecordingUi rec;
  EditorFields f;
  for (const char* fits : {"99.94", "-99.94", "-99.9", "0", "", "-0.04", "+5"}) {
    SCOPED_TRACE(fits);
    f.magneticVariation = fits;
    EXPECT_EQ(OnMagneticVariationBoxLeft(f, rec), LeaveOutcome::Leave);
    f.identifier = "V";
    EXPECT_TRUE(LineFitsLayout(NavaidKind::Vor, BuildEditorLine(NavaidKind::Vor, f)));
  }
  EXPECT_EQ(rec.beeps, 0);
  f.magneticVariation = "99.95";
  EXPECT_EQ(OnMagneticVariationBoxLeft(f, rec), LeaveOutcome::FocusStays);
  EXPECT_EQ(rec.beeps, 1);
}

TEST(EditorMends, OutOfRangeValuesThatFitAreWrittenAsTyped) {
  // Minutes 75 and heading 365 fit their columns: the helpers beep, the
  // values are stored as typed, the widest opposites still fit.
  Database db;
  db.List(NavaidKind::Airport).AddLine(kRunwayLine);
  EditorSession s = OpenEntryEditor(db, NavaidKind::Airport, 0);
  RecordingUi rec;
  UserEditsBox(NavaidKind::Airport, s.fields, EditorBox::LatitudeMinutes, "75");
  UserEditsBox(NavaidKind::Airport, s.fields, EditorBox::Heading, "365");
  EXPECT_EQ(OnHeadingBoxLeft(s.fields, rec), LeaveOutcome::FocusStays);
  EXPECT_EQ(ValidateEntry(db, s, rec), EditorOutcome::Close);
  EXPECT_EQ(db.List(NavaidKind::Airport).GetLine(0).substr(42, 7), "365/545");
  EXPECT_EQ(db.List(NavaidKind::Airport).GetLine(0).substr(51, 6), L("N49*75"));

  s = OpenEntryEditor(db, NavaidKind::Airport, 0);
  UserEditsBox(NavaidKind::Airport, s.fields, EditorBox::Heading, "819");
  OnHeadingBoxLeft(s.fields, rec);
  UserEditsBox(NavaidKind::Airport, s.fields, EditorBox::Runway, "81L");
  OnRunwayBoxLeft(s.fields, rec);
  EXPECT_EQ(ValidateEntry(db, s, rec), EditorOutcome::Close);
  EXPECT_EQ(db.List(NavaidKind::Airport).GetLine(0).substr(33, 16), "81L/99R  819/999");
  EXPECT_TRUE(rec.messages.empty());
}

void TypeCoordinates(NavaidKind kind, EditorFields& f) {
  f.latitude.hemisphere = "S";
  UserEditsBox(kind, f, EditorBox::LatitudeDegrees, "89");
  UserEditsBox(kind, f, EditorBox::LatitudeMinutes, "59");
  UserEditsBox(kind, f, EditorBox::LatitudeSeconds, "59");
  UserEditsBox(kind, f, EditorBox::LatitudeHundredths, "99");
  f.longitude.hemisphere = "W";
  UserEditsBox(kind, f, EditorBox::LongitudeDegrees, "179");
  UserEditsBox(kind, f, EditorBox::LongitudeMinutes, "5");
  UserEditsBox(kind, f, EditorBox::LongitudeSeconds, "7");
  UserEditsBox(kind, f, EditorBox::LongitudeHundredths, "1");
  UserEditsBox(kind, f, EditorBox::Altitude, "99999");
}

TEST(EditorMends, EveryStoredLineComesBackFromTheFiles) {
  TempFolder folder;
  Database db;
  db.folder = folder.path();
  AddPlaceholdersToEmptyLists(db);
  RecordingUi rec;
  const std::string longName = "\xC9t\xE9 name of 24 letters!";
  for (NavaidKind kind : kAllKinds) {
    for (int variant = 0; variant < 2; ++variant) {
      EditorSession s = OpenEntryEditor(db, kind, std::nullopt);
      EditorFields& f = s.fields;
      UserEditsBox(kind, f, EditorBox::Identifier, variant ? "zz9" : "ABCDEFG");
      UserEditsBox(kind, f, EditorBox::Name, variant ? "" : longName);
      TypeCoordinates(kind, f);
      UserEditsBox(kind, f, EditorBox::FrequencyInteger, "1150");
      UserEditsBox(kind, f, EditorBox::FrequencyDecimals, "95");
      UserEditsBox(kind, f, EditorBox::Range, "999");
      if (kind == NavaidKind::Vor) {
        ChooseVorType(f, variant ? VorTypeChoice::DmeOnly : VorTypeChoice::Ils);
        f.glideSlope = f.tacan = true;
        UserEditsBox(kind, f, EditorBox::Direction, "359");
        UserEditsBox(kind, f, EditorBox::MagneticVariation, variant ? "-99.9" : "99.94");
        ASSERT_EQ(OnMagneticVariationBoxLeft(f, rec), LeaveOutcome::Leave);
      }
      if (kind == NavaidKind::Airport) {
        UserEditsBox(kind, f, EditorBox::Runway, variant ? "1" : "18C");
        OnRunwayBoxLeft(f, rec);
        UserEditsBox(kind, f, EditorBox::Heading, "819");
        OnHeadingBoxLeft(f, rec);
        UserEditsBox(kind, f, EditorBox::Length, "99999");
        UserEditsBox(kind, f, EditorBox::Width, "999");
        UserEditsBox(kind, f, EditorBox::AtisInteger, "136");
        UserEditsBox(kind, f, EditorBox::AtisDecimals, "9");
      }
      ASSERT_EQ(AddEntry(db, s, rec), EditorOutcome::Close);
    }
  }
  EXPECT_TRUE(rec.messages.empty());
  RebuildIndex(db.lists, db.index, rec);
  ASSERT_TRUE(SaveDatabase(db, rec));

  Database loaded;
  loaded.folder = folder.path();
  RecordingUi loadUi;
  LoadDatabase(loaded, loadUi);
  EXPECT_TRUE(loadUi.messages.empty());
  for (NavaidKind kind : kAllKinds) {
    SCOPED_TRACE(InfoOf(kind).indexTag);
    EXPECT_EQ(Lines(db.List(kind)).size(), 2u);
    EXPECT_EQ(Lines(loaded.List(kind)), Lines(db.List(kind)));
  }
}

// A control byte (a tab pasted into a name) keeps the length and the
// separators, but the database file's reader sets such a line aside: the
// entry would be gone at the next load.
TEST(EditorMends, ALineWithAControlByteDoesNotFit) {
  std::string line = testing_support::NdbLine("ABC", "ALPHA", 48.0, 2.0);
  ASSERT_TRUE(LineFitsLayout(NavaidKind::Ndb, line));
  line[9] = '\t';
  EXPECT_FALSE(LineFitsLayout(NavaidKind::Ndb, line));
}

}  // namespace
}  // namespace shell
