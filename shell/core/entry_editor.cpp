#include "shell/core/entry_editor.h"

#include <array>
#include <cstdio>

#include "navdb/coordinates.h"
#include "navdb/edit_journal.h"
#include "navdb/entry_lines.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace shell {

// The editors work on the database's own types throughout.
using namespace navdb;

namespace {

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

void ShowCount(const Database& db, NavaidKind kind, const Reporter& ui) {
  ui.EntryCountChanged(kind, static_cast<int>(db.List(kind).EntryCount()));
}

void SelectRow(NavaidKind kind, size_t row, const Reporter& ui) {
  ui.EntryInFocus(kind, static_cast<int>(row));
}

bool FirstThirtyAreSpaces(std::string_view line) {
  for (size_t i = 0; i < 30 && i < line.size(); ++i) {
    if (line[i] != ' ') return false;
  }
  return true;
}

// The journal's record of an editor's change: the entry's line before it
// and after it (nothing for an entry added or deleted).
void NoteEdit(Database& db, NavaidKind kind, const std::optional<std::string>& before,
              const std::optional<std::string>& after) {
  if (before == after) return;
  const JournalAction action = !before  ? JournalAction::Add
                               : !after ? JournalAction::Delete
                                        : JournalAction::Modify;
  db.unsavedEdits.push_back(
      MakeJournalRecord(action, kind, before.value_or(""), after.value_or("")));
}

enum class Button { Validate, Add };

// Validate and Add. A full list is named with its limit; a line the
// layout cannot hold is the user's to correct, and the limit has no part in it.
void ShowInsertionFailure(NavaidKind kind, const Reporter& ui, bool listFull) {
  std::string text(MessagesOf(kind).insertionFailure);
  if (listFull) text += "\r\r" + std::string(kListLimitText);
  ShowMessage(ui, "Error", text, MessageIcon::Error, MessageButtons::Ok);
}

// Validate and Add. The new line is built and checked before anything in
// the list changes, so that a value the layout cannot hold never costs the
// entry it was meant to replace.
EditorOutcome StoreEntry(Database& db, EditorSession& session, const Reporter& ui, Button button) {
  const NavaidKind kind = session.kind;
  const std::string line = BuildEditorLine(kind, session.fields);
  if (FirstThirtyAreSpaces(line)) return EditorOutcome::Close;
  if (!LineFitsLayout(kind, line)) {
    // The editor stays open with what the user typed, to be corrected.
    ShowInsertionFailure(kind, ui, false);
    return EditorOutcome::StayOpen;
  }
  db.databaseModified = true;
  EntryList& list = db.List(kind);
  std::optional<std::string> replaced;
  if (button == Button::Add) {
    const std::string_view prefix = std::string_view(line).substr(0, DuplicatePrefixLength(kind));
    if (const std::optional<size_t> found = list.FindPrefix(prefix)) {
      SelectRow(kind, *found, ui);
      const MessageAnswer answer =
          ShowMessage(ui, "Warning", std::string(MessagesOf(kind).duplicateQuestion),
                      MessageIcon::Warning, MessageButtons::YesNo);
      if (answer != MessageAnswer::Yes) return EditorOutcome::StayOpen;
    }
  } else if (session.row) {
    replaced = std::string(list.GetLine(*session.row));
    list.DeleteLine(*session.row);
    session.row.reset();
  }
  if (list.HoldsOnlyPlaceholder()) list.DeleteLine(0);
  std::optional<size_t> row = list.AddLine(line);
  if (!row && replaced) row = list.AddLine(*replaced);  // its own slot is free again
  if (row) {
    SelectRow(kind, *row, ui);
    session.row = row;
  } else {
    session.row.reset();
  }
  if (!row || (replaced && list.GetLine(*row) != line)) ShowInsertionFailure(kind, ui, true);
  NoteEdit(db, kind, replaced, row ? std::optional<std::string>(list.GetLine(*row)) : std::nullopt);
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

EditorSession OpenEntryEditor(const Database& db, NavaidKind kind,
                              std::optional<size_t> selectedRow) {
  EditorSession session;
  session.kind = kind;
  EditorFields& f = session.fields;
  const EntryList& list = db.List(kind);
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
      f.latitude.dmTenths = SecondsToTenths(platform::Columns(line, info.latitudeColumn + 7, 5));
      f.longitude.dmMinutes = f.longitude.minutes;
      f.longitude.dmTenths = SecondsToTenths(platform::Columns(line, info.longitudeColumn + 8, 5));
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

bool LineFitsLayout(NavaidKind kind, std::string_view line) {
  return IsStorableLine(kind, line);
}

EditorOutcome ValidateEntry(Database& db, EditorSession& session, const Reporter& ui) {
  return StoreEntry(db, session, ui, Button::Validate);
}

EditorOutcome AddEntry(Database& db, EditorSession& session, const Reporter& ui) {
  return StoreEntry(db, session, ui, Button::Add);
}

EditorOutcome DeleteEntry(Database& db, EditorSession& session, const Reporter& ui) {
  const MessageAnswer answer =
      ShowMessage(ui, "Warning", std::string(MessagesOf(session.kind).deleteQuestion),
                  MessageIcon::Warning, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return EditorOutcome::StayOpen;
  db.databaseModified = true;
  if (session.row) {
    EntryList& list = db.List(session.kind);
    NoteEdit(db, session.kind, std::string(list.GetLine(*session.row)), std::nullopt);
    list.DeleteLine(*session.row);
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

LeaveOutcome OnRunwayBoxLeft(EditorFields& fields, const Reporter& ui) {
  const long n = platform::ReadLong(fields.runway);
  LeaveOutcome outcome = LeaveOutcome::Leave;
  if (n > 18) {
    ui.Alert();
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

LeaveOutcome OnMagneticVariationBoxLeft(const EditorFields& fields, const Reporter& ui) {
  const long tenths = MagneticVariationTenths(platform::ReadDouble(fields.magneticVariation));
  if (tenths >= -kMaxVariationTenths && tenths <= kMaxVariationTenths) return LeaveOutcome::Leave;
  ui.Alert();
  return LeaveOutcome::FocusStays;
}

LeaveOutcome OnHeadingBoxLeft(EditorFields& fields, const Reporter& ui) {
  const long h = platform::ReadLong(fields.heading);
  LeaveOutcome outcome = LeaveOutcome::Leave;
  if (h > 180) {
    ui.Alert();
    outcome = LeaveOutcome::FocusStays;
  }
  fields.oppositeHeading = Format("%03ld", h + 180);
  return outcome;
}

}  // namespace shell
