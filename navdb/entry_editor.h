// The logic of the four entry editors over plain field values:
// opening an editor on a line, building the line from the boxes, Validate,
// Add, Delete and Cancel, the VOR type choice, the runway designation and
// heading helpers, and the intersection DMS/DM synchronisation. The widgets
// (a later shell) hold an EditorSession, copy box texts into it and call
// these functions; what they ask or tell the user goes through UiCallbacks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/database.h"
#include "navdb/navaid_kind.h"
#include "navdb/ui_callbacks.h"

namespace navdb {

// The boxes of one coordinate. The DM row (minutes and tenths of a minute)
// exists only in the intersection editor.
struct CoordinateBoxes {
  std::string hemisphere;  // "N"/"S" or "E"/"W"; empty when nothing is chosen
  std::string degrees, minutes, seconds, hundredths;
  std::string dmMinutes, dmTenths;
};

// Choices of the VOR editor's type box.
enum class VorTypeChoice { None, Vor, Ils, DmeOnly };
inline constexpr std::string_view kVorChoiceCaption = "VOR";
inline constexpr std::string_view kIlsChoiceCaption = "ILS   ->";
inline constexpr std::string_view kDmeOnlyChoiceCaption = "DME(only)";
std::string_view VorTypeCaption(VorTypeChoice choice);  // "" for None

// The box texts and check states of an editor. Numeric boxes hold digits
// and read as 0 when empty. Boxes a kind does not have stay empty.
struct EditorFields {
  std::string identifier;  // "ICAO ID :" in the airport editor
  std::string name;        // "Comment :" in the intersection editor
  CoordinateBoxes latitude, longitude;
  std::string altitude;

  // NDB ("Freq :" kHz "." one digit) and VOR ("Freq :" MHz "." decimals).
  std::string frequencyInteger, frequencyDecimals;
  std::string range;  // "Range (nm) :"

  // VOR only.
  VorTypeChoice vorType = VorTypeChoice::None;
  bool glideSlope = false, dme = false, tacan = false;
  bool glideSlopeEnabled = true, dmeEnabled = true, tacanEnabled = true;
  std::string direction;  // "Direction :", the localizer course
  bool directionEnabled = false;
  std::string magneticVariation;  // "Mag Var :", a signed decimal text

  // Airport only.
  std::string runway, oppositeRunway;    // "Runway :" and its display-only opposite
  std::string heading, oppositeHeading;  // "Hdg :" and its display-only opposite
  std::string length, width;
  std::string atisInteger, atisDecimals;
};

// Every box a user can type into (and the two display-only runway boxes).
enum class EditorBox {
  Identifier,
  Name,
  LatitudeDegrees,
  LatitudeMinutes,
  LatitudeSeconds,
  LatitudeHundredths,
  LatitudeDmMinutes,
  LatitudeDmTenths,
  LongitudeDegrees,
  LongitudeMinutes,
  LongitudeSeconds,
  LongitudeHundredths,
  LongitudeDmMinutes,
  LongitudeDmTenths,
  Altitude,
  FrequencyInteger,
  FrequencyDecimals,
  Range,
  Direction,
  MagneticVariation,
  Runway,
  OppositeRunway,
  Heading,
  OppositeHeading,
  Length,
  Width,
  AtisInteger,
  AtisDecimals,
};

// What a box accepts from the keyboard.
enum class BoxCharacters { Digits, Capitals, Text, SignedDecimal };
BoxCharacters CharactersOf(EditorBox box);
// The most characters a user can type into a box of the kind's editor.
size_t MaxLength(NavaidKind kind, EditorBox box);
std::string& BoxText(EditorFields& fields, EditorBox box);

// Text as the box would take it: characters it refuses dropped, letters in
// capitals for capital boxes, cut to MaxLength.
std::string CleanBoxText(NavaidKind kind, EditorBox box, std::string_view typed);

// The user changes a box's text to `typed`: the text is cleaned and stored,
// and in the intersection editor the DMS/DM synchronisation runs.
void UserEditsBox(NavaidKind kind, EditorFields& fields, EditorBox box, std::string_view typed);

// An open editor: its kind, the row it was opened on (none on the
// placeholder) and its boxes.
struct EditorSession {
  NavaidKind kind = NavaidKind::Ndb;
  std::optional<size_t> row;
  EditorFields fields;
};

// Opens the editor of `kind` on the selected row of the kind's list and
// fills its boxes from that line. The placeholder (or no valid row) gives
// row none and empty boxes.
EditorSession OpenEntryEditor(const Database& db, NavaidKind kind,
                              std::optional<size_t> selectedRow);

// The line the editor's boxes make.
// A hemisphere or VOR type with nothing chosen is written as "N"/"E" or
// "VOR", so that the columns of the layout hold.
std::string BuildEditorLine(NavaidKind kind, const EditorFields& fields);

// Whether the editor closes after a button, or stays open.
enum class EditorOutcome { Close, StayOpen };

// The fixed texts of a kind's editor messages.
struct EditorMessages {
  std::string_view deleteQuestion;
  std::string_view duplicateQuestion;
  std::string_view insertionFailure;
};
const EditorMessages& MessagesOf(NavaidKind kind);

// Characters of a new line compared with the list for the duplicate check
// on Add: identifier and name, and for runways the designation.
size_t DuplicatePrefixLength(NavaidKind kind);

// "Validate": replaces the remembered line by the built line.
EditorOutcome ValidateEntry(Database& db, EditorSession& session, const UiCallbacks& ui);
// "Add": inserts the built line as a new entry, asking first when an entry
// with the same prefix exists.
EditorOutcome AddEntry(Database& db, EditorSession& session, const UiCallbacks& ui);
// "Delete": deletes the remembered line after asking.
EditorOutcome DeleteEntry(Database& db, EditorSession& session, const UiCallbacks& ui);
// "Cancel": closes without change.
inline EditorOutcome CancelEntry() {
  return EditorOutcome::Close;
}

// The VOR editor's type box: sets the choice and the states of "Direction :"
// and the "DME" check box.
void ChooseVorType(EditorFields& fields, VorTypeChoice choice);

// Whether the focus may leave a box.
enum class LeaveOutcome { Leave, FocusStays };

// The user leaves "Runway :": the opposite designation is recomputed; a
// number above 18 beeps and keeps the focus in the box.
LeaveOutcome OnRunwayBoxLeft(EditorFields& fields, const UiCallbacks& ui);
// The user leaves "Hdg :": the opposite heading is recomputed; a heading
// above 180 beeps and keeps the focus in the box.
LeaveOutcome OnHeadingBoxLeft(EditorFields& fields, const UiCallbacks& ui);

// Intersection editor: a user change to one box of the DMS or DM row sets
// the matching box of the other row (the set does not start it again).
enum class CoordinateAxis { Latitude, Longitude };
void OnDmsMinutesChanged(EditorFields& fields, CoordinateAxis axis);
// Seconds or hundredths changed.
void OnDmsSecondsChanged(EditorFields& fields, CoordinateAxis axis);
void OnDmMinutesChanged(EditorFields& fields, CoordinateAxis axis);
void OnDmTenthsChanged(EditorFields& fields, CoordinateAxis axis);

}  // namespace navdb
