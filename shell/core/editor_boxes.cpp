#include "shell/core/editor_boxes.h"

#include <array>

#include "navdb/coordinates.h"

namespace shell {
namespace {

using navdb::NavaidKind;
using Axis = CoordinateAxis;
using Chars = BoxCharacters;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Upper case of a Windows-1252 byte, as an upper-case edit box shows it.
char ToCapital(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 0x20);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 0x20);
  switch (byte) {
    case 0x9A:
      return '\x8A';  // s caron
    case 0x9C:
      return '\x8C';  // oe
    case 0x9E:
      return '\x8E';  // z caron
    case 0xFF:
      return '\x9F';  // y diaeresis
    default:
      return c;
  }
}

bool Accepts(BoxCharacters characters, char c) {
  switch (characters) {
    case Chars::Digits:
      return IsDigit(c);
    case Chars::SignedDecimal:
      return IsDigit(c) || c == '-' || c == '+' || c == '.';
    case Chars::Capitals:
    case Chars::Text:
      return true;
  }
  return false;
}

CoordinateBoxes& Boxes(EditorFields& fields, CoordinateAxis axis) {
  return axis == Axis::Latitude ? fields.latitude : fields.longitude;
}

// The opposite runway designation and heading are display only, so their
// lengths are those of what the helpers write: "%02d" and a suffix, "%03d".
constexpr std::array<BoxSpec, kEditorBoxCount> kBoxSpecs = {{
    {EditorBox::Identifier, Chars::Capitals, 5, 5,
     [](EditorFields& f) -> std::string& { return f.identifier; }, BoxSync::None, Axis::Latitude},
    {EditorBox::Name, Chars::Text, 24, 24, [](EditorFields& f) -> std::string& { return f.name; },
     BoxSync::None, Axis::Latitude},
    {EditorBox::LatitudeDegrees, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.latitude.degrees; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::LatitudeMinutes, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.latitude.minutes; }, BoxSync::DmsMinutes,
     Axis::Latitude},
    {EditorBox::LatitudeSeconds, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.latitude.seconds; }, BoxSync::DmsSeconds,
     Axis::Latitude},
    {EditorBox::LatitudeHundredths, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.latitude.hundredths; }, BoxSync::DmsSeconds,
     Axis::Latitude},
    {EditorBox::LatitudeDmMinutes, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.latitude.dmMinutes; }, BoxSync::DmMinutes,
     Axis::Latitude},
    {EditorBox::LatitudeDmTenths, Chars::Digits, 1, 1,
     [](EditorFields& f) -> std::string& { return f.latitude.dmTenths; }, BoxSync::DmTenths,
     Axis::Latitude},
    {EditorBox::LongitudeDegrees, Chars::Digits, 3, 3,
     [](EditorFields& f) -> std::string& { return f.longitude.degrees; }, BoxSync::None,
     Axis::Longitude},
    {EditorBox::LongitudeMinutes, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.longitude.minutes; }, BoxSync::DmsMinutes,
     Axis::Longitude},
    {EditorBox::LongitudeSeconds, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.longitude.seconds; }, BoxSync::DmsSeconds,
     Axis::Longitude},
    {EditorBox::LongitudeHundredths, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.longitude.hundredths; }, BoxSync::DmsSeconds,
     Axis::Longitude},
    {EditorBox::LongitudeDmMinutes, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.longitude.dmMinutes; }, BoxSync::DmMinutes,
     Axis::Longitude},
    {EditorBox::LongitudeDmTenths, Chars::Digits, 1, 1,
     [](EditorFields& f) -> std::string& { return f.longitude.dmTenths; }, BoxSync::DmTenths,
     Axis::Longitude},
    {EditorBox::Altitude, Chars::Digits, 5, 5,
     [](EditorFields& f) -> std::string& { return f.altitude; }, BoxSync::None, Axis::Latitude},
    {EditorBox::FrequencyInteger, Chars::Digits, 3, 3,
     [](EditorFields& f) -> std::string& { return f.frequencyInteger; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::FrequencyDecimals, Chars::Digits, 2, 1,
     [](EditorFields& f) -> std::string& { return f.frequencyDecimals; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::Range, Chars::Digits, 3, 3, [](EditorFields& f) -> std::string& { return f.range; },
     BoxSync::None, Axis::Latitude},
    {EditorBox::Direction, Chars::Digits, 3, 3,
     [](EditorFields& f) -> std::string& { return f.direction; }, BoxSync::None, Axis::Latitude},
    {EditorBox::MagneticVariation, Chars::SignedDecimal, 5, 5,
     [](EditorFields& f) -> std::string& { return f.magneticVariation; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::Runway, Chars::Capitals, 3, 3,
     [](EditorFields& f) -> std::string& { return f.runway; }, BoxSync::None, Axis::Latitude},
    {EditorBox::OppositeRunway, Chars::Capitals, 4, 4,
     [](EditorFields& f) -> std::string& { return f.oppositeRunway; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::Heading, Chars::Digits, 3, 3,
     [](EditorFields& f) -> std::string& { return f.heading; }, BoxSync::None, Axis::Latitude},
    {EditorBox::OppositeHeading, Chars::Digits, 4, 4,
     [](EditorFields& f) -> std::string& { return f.oppositeHeading; }, BoxSync::None,
     Axis::Latitude},
    {EditorBox::Length, Chars::Digits, 5, 5,
     [](EditorFields& f) -> std::string& { return f.length; }, BoxSync::None, Axis::Latitude},
    {EditorBox::Width, Chars::Digits, 3, 3, [](EditorFields& f) -> std::string& { return f.width; },
     BoxSync::None, Axis::Latitude},
    {EditorBox::AtisInteger, Chars::Digits, 3, 3,
     [](EditorFields& f) -> std::string& { return f.atisInteger; }, BoxSync::None, Axis::Latitude},
    {EditorBox::AtisDecimals, Chars::Digits, 2, 2,
     [](EditorFields& f) -> std::string& { return f.atisDecimals; }, BoxSync::None, Axis::Latitude},
}};

constexpr bool TableFollowsTheBoxOrder() {
  for (size_t i = 0; i < kBoxSpecs.size(); ++i) {
    if (static_cast<size_t>(kBoxSpecs[i].box) != i) return false;
  }
  return true;
}
static_assert(TableFollowsTheBoxOrder(), "one row per EditorBox, in its order");

}  // namespace

std::string_view VorTypeCaption(VorTypeChoice choice) {
  switch (choice) {
    case VorTypeChoice::Vor:
      return kVorChoiceCaption;
    case VorTypeChoice::Ils:
      return kIlsChoiceCaption;
    case VorTypeChoice::DmeOnly:
      return kDmeOnlyChoiceCaption;
    default:
      return {};
  }
}

const BoxSpec& SpecOf(EditorBox box) {
  return kBoxSpecs[static_cast<size_t>(box)];
}

BoxCharacters CharactersOf(EditorBox box) {
  return SpecOf(box).characters;
}

size_t MaxChars(NavaidKind kind, EditorBox box) {
  const BoxSpec& rules = SpecOf(box);
  return kind == NavaidKind::Ndb ? rules.ndbMaxChars : rules.maxChars;
}

std::string& BoxText(EditorFields& fields, EditorBox box) {
  return SpecOf(box).text(fields);
}

std::string CleanBoxText(NavaidKind kind, EditorBox box, std::string_view typed) {
  const BoxCharacters characters = CharactersOf(box);
  const size_t maxChars = MaxChars(kind, box);
  std::string text;
  for (char c : typed) {
    if (text.size() >= maxChars) break;
    if (!Accepts(characters, c)) continue;
    text += characters == Chars::Capitals ? ToCapital(c) : c;
  }
  return text;
}

void UserEditsBox(NavaidKind kind, EditorFields& fields, EditorBox box, std::string_view typed) {
  BoxText(fields, box) = CleanBoxText(kind, box, typed);
  if (kind != NavaidKind::Intersection) return;
  const BoxSpec& rules = SpecOf(box);
  switch (rules.sync) {
    case BoxSync::DmsMinutes:
      OnDmsMinutesChanged(fields, rules.axis);
      break;
    case BoxSync::DmsSeconds:
      OnDmsSecondsChanged(fields, rules.axis);
      break;
    case BoxSync::DmMinutes:
      OnDmMinutesChanged(fields, rules.axis);
      break;
    case BoxSync::DmTenths:
      OnDmTenthsChanged(fields, rules.axis);
      break;
    case BoxSync::None:
      break;
  }
}

void OnDmsMinutesChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.dmMinutes = boxes.minutes;
}

void OnDmsSecondsChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.dmTenths = navdb::SecondsToTenths(boxes.seconds + '.' + boxes.hundredths);
}

void OnDmMinutesChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.minutes = boxes.dmMinutes;
}

void OnDmTenthsChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.seconds = navdb::TenthsToSeconds(boxes.dmTenths);
}

}  // namespace shell
