// The boxes of the four entry editors: the values they hold and, for each
// box, one row of a table saying which characters it takes, how many, which
// field it fills and which other box follows it in the intersection editor.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "navdb/navaid_kind.h"

namespace shell {

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
// The order is the order of the box table.
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
inline constexpr size_t kEditorBoxCount = 28;

// What a box accepts from the keyboard.
enum class BoxCharacters { Digits, Capitals, Text, SignedDecimal };

enum class CoordinateAxis { Latitude, Longitude };

// What the intersection editor does after a user change to a box: the DMS
// and DM rows of one coordinate follow each other.
enum class BoxSync { None, DmsMinutes, DmsSeconds, DmMinutes, DmTenths };

struct BoxSpec {
  EditorBox box;
  BoxCharacters characters;
  size_t maxChars;
  // The NDB editor's frequency decimals hold one digit where the VOR's hold two.
  size_t ndbMaxChars;
  std::string& (*text)(EditorFields&);
  BoxSync sync;
  CoordinateAxis axis;
};

const BoxSpec& SpecOf(EditorBox box);

BoxCharacters CharactersOf(EditorBox box);
// The most characters a user can type into a box of the kind's editor.
size_t MaxChars(navdb::NavaidKind kind, EditorBox box);
std::string& BoxText(EditorFields& fields, EditorBox box);

// Text as the box would take it: characters it refuses dropped, letters in
// capitals for capital boxes, cut to MaxChars.
std::string CleanBoxText(navdb::NavaidKind kind, EditorBox box, std::string_view typed);

// The user changes a box's text to `typed`: the text is cleaned and stored,
// and in the intersection editor the DMS/DM synchronisation runs.
void UserEditsBox(navdb::NavaidKind kind, EditorFields& fields, EditorBox box,
                  std::string_view typed);

// Intersection editor: a user change to one box of the DMS or DM row sets
// the matching box of the other row (the set does not start it again).
void OnDmsMinutesChanged(EditorFields& fields, CoordinateAxis axis);
// Seconds or hundredths changed.
void OnDmsSecondsChanged(EditorFields& fields, CoordinateAxis axis);
void OnDmMinutesChanged(EditorFields& fields, CoordinateAxis axis);
void OnDmTenthsChanged(EditorFields& fields, CoordinateAxis axis);

}  // namespace shell
