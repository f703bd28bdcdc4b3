#include "navdb/entry_editor.h"

#include <array>
#include <cstdio>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace navdb {
namespace {

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

std::string TrimSpaces(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  return std::string(text.substr(first, last - first));
}

// A numeric box read as a number; an empty box reads as 0.
long BoxNumber(std::string_view text) {
  return platform::ReadLong(text);
}

template <class... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

// Decimals box of two digits: a text of one character counts tenths (113.9
// is 113.90).
long TwoDigitDecimals(std::string_view text) {
  const long value = BoxNumber(text);
  return text.size() == 1 ? value * 10 : value;
}

std::string CoordinateText(const CoordinateBoxes& boxes, char defaultHemisphere,
                           const char* degreesFormat) {
  const char hemisphere = boxes.hemisphere.empty() ? defaultHemisphere : boxes.hemisphere[0];
  return std::string(1, hemisphere) + Format(degreesFormat, BoxNumber(boxes.degrees)) +
         kDegreeSign + Format("%02ld", BoxNumber(boxes.minutes)) + '\'' +
         Format("%02ld", BoxNumber(boxes.seconds)) + '.' +
         Format("%02ld", BoxNumber(boxes.hundredths));
}

std::string LatitudeText(const EditorFields& f) {
  return CoordinateText(f.latitude, 'N', "%02ld");
}
std::string LongitudeText(const EditorFields& f) {
  return CoordinateText(f.longitude, 'E', "%03ld");
}

// "Runway :" cut to 3 characters, '0' in front of a single character, a
// space after two characters; then "/" and the opposite designation.
std::string DesignationText(const EditorFields& f) {
  std::string runway = f.runway.substr(0, 3);
  if (runway.size() == 1) runway.insert(runway.begin(), '0');
  if (runway.size() == 2) runway += ' ';
  return runway + '/' + f.oppositeRunway;
}

std::string VorType(const EditorFields& f) {
  const VorBase base = f.vorType == VorTypeChoice::Ils       ? VorBase::Ils
                       : f.vorType == VorTypeChoice::DmeOnly ? VorBase::DmeOnly
                                                             : VorBase::Vor;
  return VorTypeText(base, f.dme, f.glideSlope, f.tacan);
}

void FillCoordinate(CoordinateBoxes& boxes, char hemisphere, const std::string& degrees,
                    const std::string& minutes, const std::string& seconds,
                    const std::string& hundredths) {
  boxes.hemisphere = hemisphere == ' ' ? std::string() : std::string(1, hemisphere);
  boxes.degrees = degrees;
  boxes.minutes = minutes;
  boxes.seconds = seconds;
  boxes.hundredths = hundredths;
}

void FillVorType(EditorFields& f, std::string_view typeText) {
  const std::string_view base = platform::Columns(typeText, 0, 3);
  if (base == "VOR") {
    f.vorType = VorTypeChoice::Vor;
  } else if (base == "ILS") {
    f.vorType = VorTypeChoice::Ils;
  } else if (base == "DME") {
    f.vorType = VorTypeChoice::DmeOnly;
    f.dme = true;
    f.dmeEnabled = false;
  }
  for (size_t offset : {4, 8, 12}) {
    const std::string_view piece = platform::Columns(typeText, offset, 3);
    if (piece == "DME") f.dme = true;
    if (piece == "GS ") f.glideSlope = true;
    if (piece == "TCN") f.tacan = true;
  }
  f.directionEnabled = f.vorType == VorTypeChoice::Ils;
}

CoordinateBoxes& Boxes(EditorFields& fields, CoordinateAxis axis) {
  return axis == CoordinateAxis::Latitude ? fields.latitude : fields.longitude;
}

void ShowCount(const Database& db, NavaidKind kind, const UiCallbacks& ui) {
  if (ui.showEntryCount) ui.showEntryCount(kind, static_cast<int>(db.list(kind).EntryCount()));
}

void SelectRow(NavaidKind kind, size_t row, const UiCallbacks& ui) {
  if (ui.selectRow) ui.selectRow(kind, static_cast<int>(row));
}

bool FirstThirtyAreSpaces(std::string_view line) {
  for (size_t i = 0; i < 30 && i < line.size(); ++i) {
    if (line[i] != ' ') return false;
  }
  return true;
}

enum class Button { Validate, Add };

// Validate and Add.
EditorOutcome StoreEntry(Database& db, EditorSession& session, const UiCallbacks& ui,
                         Button button) {
  const NavaidKind kind = session.kind;
  const std::string line = BuildEditorLine(kind, session.fields);
  if (FirstThirtyAreSpaces(line)) return EditorOutcome::Close;
  db.databaseModified = true;
  EntryList& list = db.list(kind);
  const EditorMessages& messages = MessagesOf(kind);
  if (button == Button::Add) {
    const std::string_view prefix = std::string_view(line).substr(0, DuplicatePrefixLength(kind));
    if (const std::optional<size_t> found = list.FindPrefix(prefix)) {
      SelectRow(kind, *found, ui);
      const MessageAnswer answer =
          ShowMessage(ui, "Warning", std::string(messages.duplicateQuestion), MessageIcon::Warning,
                      MessageButtons::YesNo);
      if (answer != MessageAnswer::Yes) return EditorOutcome::StayOpen;
    }
  } else if (session.row) {
    list.DeleteLine(*session.row);
    session.row.reset();
  }
  if (list.HoldsOnlyPlaceholder()) list.DeleteLine(0);
  if (const std::optional<size_t> row = list.AddLine(line)) {
    SelectRow(kind, *row, ui);
    session.row = row;
  } else {
    session.row.reset();
    ShowMessage(ui, "Error", std::string(messages.insertionFailure), MessageIcon::Error,
                MessageButtons::Ok);
  }
  ShowCount(db, kind, ui);
  return EditorOutcome::Close;
}

constexpr std::array<EditorMessages, 4> kMessages = {{
    {"Do you really want to delete this NDB ?",
     "This NDB already exists with same ID and Name.\rDo you really want to add it ?",
     "Can't add entry to NDB list."},
    {"Do you really want to delete this VOR ?",
     "This VOR already exists with same ID and Name.\rDo you really want to add it ?",
     "Can't add entry to VOR list."},
    {"Do you really want to delete this runway ?",
     "This runway already exists with same ID, Name and Number.\rDo you really want to add it ?",
     "Can't add entry to Airport list."},
    {"Do you really want to delete this Intersection ?",
     "This Intersection already exists with same ID and Name.\rDo you really want to add it ?",
     "Can't add entry to Intersection list."},
}};

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

BoxCharacters CharactersOf(EditorBox box) {
  switch (box) {
    case EditorBox::Identifier:
    case EditorBox::Runway:
    case EditorBox::OppositeRunway:
      return BoxCharacters::Capitals;
    case EditorBox::Name:
      return BoxCharacters::Text;
    case EditorBox::MagneticVariation:
      return BoxCharacters::SignedDecimal;
    default:
      return BoxCharacters::Digits;
  }
}

size_t MaxLength(NavaidKind kind, EditorBox box) {
  switch (box) {
    case EditorBox::Identifier:
      return 5;
    case EditorBox::Name:
      return 24;
    case EditorBox::LatitudeDegrees:
      return 2;
    case EditorBox::LongitudeDegrees:
      return 3;
    case EditorBox::LatitudeMinutes:
    case EditorBox::LatitudeSeconds:
    case EditorBox::LatitudeHundredths:
    case EditorBox::LatitudeDmMinutes:
    case EditorBox::LongitudeMinutes:
    case EditorBox::LongitudeSeconds:
    case EditorBox::LongitudeHundredths:
    case EditorBox::LongitudeDmMinutes:
      return 2;
    case EditorBox::LatitudeDmTenths:
    case EditorBox::LongitudeDmTenths:
      return 1;
    case EditorBox::Altitude:
      return 5;
    case EditorBox::FrequencyInteger:
      return 3;
    case EditorBox::FrequencyDecimals:
      return kind == NavaidKind::Ndb ? 1 : 2;
    case EditorBox::Range:
      return 3;
    case EditorBox::Direction:
      return 3;
    case EditorBox::MagneticVariation:
      return 5;
    case EditorBox::Runway:
      return 3;
    case EditorBox::OppositeRunway:
      return 4;  // display only: "%02d" of n + 18 and a suffix
    case EditorBox::Heading:
      return 3;
    case EditorBox::OppositeHeading:
      return 4;  // display only: "%03d" of h + 180
    case EditorBox::Length:
      return 5;
    case EditorBox::Width:
      return 3;
    case EditorBox::AtisInteger:
      return 3;
    case EditorBox::AtisDecimals:
      return 2;
  }
  return 0;
}

std::string& BoxText(EditorFields& f, EditorBox box) {
  switch (box) {
    case EditorBox::Identifier:
      return f.identifier;
    case EditorBox::Name:
      return f.name;
    case EditorBox::LatitudeDegrees:
      return f.latitude.degrees;
    case EditorBox::LatitudeMinutes:
      return f.latitude.minutes;
    case EditorBox::LatitudeSeconds:
      return f.latitude.seconds;
    case EditorBox::LatitudeHundredths:
      return f.latitude.hundredths;
    case EditorBox::LatitudeDmMinutes:
      return f.latitude.dmMinutes;
    case EditorBox::LatitudeDmTenths:
      return f.latitude.dmTenths;
    case EditorBox::LongitudeDegrees:
      return f.longitude.degrees;
    case EditorBox::LongitudeMinutes:
      return f.longitude.minutes;
    case EditorBox::LongitudeSeconds:
      return f.longitude.seconds;
    case EditorBox::LongitudeHundredths:
      return f.longitude.hundredths;
    case EditorBox::LongitudeDmMinutes:
      return f.longitude.dmMinutes;
    case EditorBox::LongitudeDmTenths:
      return f.longitude.dmTenths;
    case EditorBox::Altitude:
      return f.altitude;
    case EditorBox::FrequencyInteger:
      return f.frequencyInteger;
    case EditorBox::FrequencyDecimals:
      return f.frequencyDecimals;
    case EditorBox::Range:
      return f.range;
    case EditorBox::Direction:
      return f.direction;
    case EditorBox::MagneticVariation:
      return f.magneticVariation;
    case EditorBox::Runway:
      return f.runway;
    case EditorBox::OppositeRunway:
      return f.oppositeRunway;
    case EditorBox::Heading:
      return f.heading;
    case EditorBox::OppositeHeading:
      return f.oppositeHeading;
    case EditorBox::Length:
      return f.length;
    case EditorBox::Width:
      return f.width;
    case EditorBox::AtisInteger:
      return f.atisInteger;
    case EditorBox::AtisDecimals:
      return f.atisDecimals;
  }
  return f.identifier;
}

std::string CleanBoxText(NavaidKind kind, EditorBox box, std::string_view typed) {
  const BoxCharacters characters = CharactersOf(box);
  const size_t maxLength = MaxLength(kind, box);
  std::string text;
  for (char c : typed) {
    if (text.size() >= maxLength) break;
    switch (characters) {
      case BoxCharacters::Digits:
        if (IsDigit(c)) text += c;
        break;
      case BoxCharacters::SignedDecimal:
        if (IsDigit(c) || c == '-' || c == '+' || c == '.') text += c;
        break;
      case BoxCharacters::Capitals:
        text += ToCapital(c);
        break;
      case BoxCharacters::Text:
        text += c;
        break;
    }
  }
  return text;
}

void UserEditsBox(NavaidKind kind, EditorFields& fields, EditorBox box, std::string_view typed) {
  BoxText(fields, box) = CleanBoxText(kind, box, typed);
  if (kind != NavaidKind::Intersection) return;
  switch (box) {
    case EditorBox::LatitudeMinutes:
      OnDmsMinutesChanged(fields, CoordinateAxis::Latitude);
      break;
    case EditorBox::LongitudeMinutes:
      OnDmsMinutesChanged(fields, CoordinateAxis::Longitude);
      break;
    case EditorBox::LatitudeSeconds:
    case EditorBox::LatitudeHundredths:
      OnDmsSecondsChanged(fields, CoordinateAxis::Latitude);
      break;
    case EditorBox::LongitudeSeconds:
    case EditorBox::LongitudeHundredths:
      OnDmsSecondsChanged(fields, CoordinateAxis::Longitude);
      break;
    case EditorBox::LatitudeDmMinutes:
      OnDmMinutesChanged(fields, CoordinateAxis::Latitude);
      break;
    case EditorBox::LongitudeDmMinutes:
      OnDmMinutesChanged(fields, CoordinateAxis::Longitude);
      break;
    case EditorBox::LatitudeDmTenths:
      OnDmTenthsChanged(fields, CoordinateAxis::Latitude);
      break;
    case EditorBox::LongitudeDmTenths:
      OnDmTenthsChanged(fields, CoordinateAxis::Longitude);
      break;
    default:
      break;
  }
}

EditorSession OpenEntryEditor(const Database& db, NavaidKind kind,
                              std::optional<size_t> selectedRow) {
  EditorSession session;
  session.kind = kind;
  EditorFields& f = session.fields;
  const EntryList& list = db.list(kind);
  if (!selectedRow || *selectedRow >= list.Count()) return session;
  const std::string_view line = list.GetLine(*selectedRow);
  if (line == kPlaceholderLine) return session;
  session.row = selectedRow;

  const EntryFields parsed = ParseEntryLine(kind, line);
  f.identifier = parsed.identifier;
  f.name = parsed.name;
  FillCoordinate(f.latitude, parsed.latitudeHemisphere, parsed.latitudeDegrees,
                 parsed.latitudeMinutes, parsed.latitudeSeconds, parsed.latitudeHundredths);
  FillCoordinate(f.longitude, parsed.longitudeHemisphere, parsed.longitudeDegrees,
                 parsed.longitudeMinutes, parsed.longitudeSeconds, parsed.longitudeHundredths);
  f.altitude = parsed.elevation;
  switch (kind) {
    case NavaidKind::Ndb:
      f.frequencyInteger = parsed.frequencyInteger;
      f.frequencyDecimals = parsed.frequencyDecimals;
      f.range = parsed.range;
      break;
    case NavaidKind::Vor:
      FillVorType(f, parsed.typeText);
      f.frequencyInteger = parsed.frequencyInteger;
      f.frequencyDecimals = parsed.frequencyDecimals;
      f.direction = TrimSpaces(parsed.courseText);
      f.magneticVariation = TrimSpaces(parsed.magneticVariation);
      f.range = parsed.range;
      break;
    case NavaidKind::Airport:
      f.runway = TrimSpaces(parsed.designation);
      f.oppositeRunway = TrimSpaces(parsed.oppositeDesignation);
      f.heading = parsed.heading;
      f.oppositeHeading = parsed.oppositeHeading;
      f.length = parsed.length;
      f.width = parsed.width;
      f.atisInteger = parsed.atisInteger;
      f.atisDecimals = parsed.atisDecimals;
      break;
    case NavaidKind::Intersection: {
      const KindInfo& info = InfoOf(kind);
      // The seconds with their hundredths start 7 (latitude) or 8
      // (longitude) characters after the hemisphere letter.
      f.latitude.dmMinutes = f.latitude.minutes;
      f.latitude.dmTenths =
          SecondsToTenths(platform::Columns(line, info.latitudeColumn + 7, 5));
      f.longitude.dmMinutes = f.longitude.minutes;
      f.longitude.dmTenths =
          SecondsToTenths(platform::Columns(line, info.longitudeColumn + 8, 5));
      break;
    }
  }
  return session;
}

std::string BuildEditorLine(NavaidKind kind, const EditorFields& f) {
  const std::string latitude = LatitudeText(f);
  const std::string longitude = LongitudeText(f);
  switch (kind) {
    case NavaidKind::Ndb: {
      const std::string frequency = Format("%03ld", BoxNumber(f.frequencyInteger)) + '.' +
                                    Format("%01ld", BoxNumber(f.frequencyDecimals));
      return BuildNdbLine({f.identifier, f.name, frequency, latitude, longitude,
                           BoxNumber(f.altitude), BoxNumber(f.range)});
    }
    case NavaidKind::Vor: {
      const std::string type = VorType(f);
      const std::string frequency = Format("%03ld", BoxNumber(f.frequencyInteger)) + '.' +
                                    Format("%02ld", TwoDigitDecimals(f.frequencyDecimals));
      const long variationTenths =
          MagneticVariationTenths(platform::ReadDouble(f.magneticVariation));
      return BuildVorLine({f.identifier, f.name, type, frequency, f.direction, latitude, longitude,
                           BoxNumber(f.altitude), BoxNumber(f.range), variationTenths});
    }
    case NavaidKind::Airport: {
      const std::string designation = DesignationText(f);
      const std::string atis = Format("%03ld", BoxNumber(f.atisInteger)) + '.' +
                               Format("%02ld", TwoDigitDecimals(f.atisDecimals));
      return BuildRunwayLine({f.identifier, f.name, designation, BoxNumber(f.heading),
                              BoxNumber(f.oppositeHeading), latitude, longitude,
                              BoxNumber(f.altitude), BoxNumber(f.length), BoxNumber(f.width),
                              atis});
    }
    case NavaidKind::Intersection:
      return BuildIntersectionLine(
          {f.identifier, f.name, latitude, longitude, BoxNumber(f.altitude)});
  }
  return {};
}

const EditorMessages& MessagesOf(NavaidKind kind) {
  return kMessages[IndexOf(kind)];
}

size_t DuplicatePrefixLength(NavaidKind kind) {
  return kind == NavaidKind::Airport ? 36 : 29;
}

EditorOutcome ValidateEntry(Database& db, EditorSession& session, const UiCallbacks& ui) {
  return StoreEntry(db, session, ui, Button::Validate);
}

EditorOutcome AddEntry(Database& db, EditorSession& session, const UiCallbacks& ui) {
  return StoreEntry(db, session, ui, Button::Add);
}

EditorOutcome DeleteEntry(Database& db, EditorSession& session, const UiCallbacks& ui) {
  const MessageAnswer answer =
      ShowMessage(ui, "Warning", std::string(MessagesOf(session.kind).deleteQuestion),
                  MessageIcon::Warning, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return EditorOutcome::StayOpen;
  db.databaseModified = true;
  if (session.row) {
    db.list(session.kind).DeleteLine(*session.row);
    session.row.reset();
  }
  ShowCount(db, session.kind, ui);
  return EditorOutcome::Close;
}

void ChooseVorType(EditorFields& fields, VorTypeChoice choice) {
  fields.vorType = choice;
  switch (choice) {
    case VorTypeChoice::Vor:
      fields.direction.clear();
      fields.directionEnabled = false;
      fields.dmeEnabled = true;
      break;
    case VorTypeChoice::Ils:
      fields.directionEnabled = true;
      fields.dmeEnabled = true;
      break;
    case VorTypeChoice::DmeOnly:
      fields.direction.clear();
      fields.directionEnabled = false;
      fields.dme = true;
      fields.dmeEnabled = false;
      break;
    case VorTypeChoice::None:
      break;
  }
}

LeaveOutcome OnRunwayBoxLeft(EditorFields& fields, const UiCallbacks& ui) {
  const long n = platform::ReadLong(fields.runway);
  LeaveOutcome outcome = LeaveOutcome::Leave;
  if (n > 18) {
    if (ui.beep) ui.beep();
    outcome = LeaveOutcome::FocusStays;
  }
  std::string opposite = Format("%02ld", n + 18);
  if (!fields.runway.empty()) {
    switch (fields.runway.back()) {
      case 'C':
        opposite += 'C';
        break;
      case 'L':
        opposite += 'R';
        break;
      case 'R':
        opposite += 'L';
        break;
      default:
        break;
    }
  }
  fields.oppositeRunway = opposite;
  return outcome;
}

LeaveOutcome OnHeadingBoxLeft(EditorFields& fields, const UiCallbacks& ui) {
  const long h = platform::ReadLong(fields.heading);
  LeaveOutcome outcome = LeaveOutcome::Leave;
  if (h > 180) {
    if (ui.beep) ui.beep();
    outcome = LeaveOutcome::FocusStays;
  }
  fields.oppositeHeading = Format("%03ld", h + 180);
  return outcome;
}

void OnDmsMinutesChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.dmMinutes = boxes.minutes;
}

void OnDmsSecondsChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.dmTenths = SecondsToTenths(boxes.seconds + '.' + boxes.hundredths);
}

void OnDmMinutesChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.minutes = boxes.dmMinutes;
}

void OnDmTenthsChanged(EditorFields& fields, CoordinateAxis axis) {
  CoordinateBoxes& boxes = Boxes(fields, axis);
  boxes.seconds = TenthsToSeconds(boxes.dmTenths);
}

}  // namespace navdb
