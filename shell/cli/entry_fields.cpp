#include "shell/cli/entry_fields.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "navdb/coordinates.h"
#include "platform/win1252.h"
#include "shell/core/editor_boxes.h"

namespace cli {
namespace {

using navdb::NavaidKind;
using shell::CoordinateAxis;
using shell::EditorBox;
using shell::EditorFields;

// What one field's value fills.
enum class Form {
  Box,         // one box, as typed
  Frequency,   // the whole and decimal boxes of "Freq :" (or of "ATIS :")
  Coordinate,  // a hemisphere choice and four boxes
  VorType,     // the VOR editor's type choice
  Check,       // a check box of the VOR editor
};

enum class Check { None, Dme, GlideSlope, Tacan };

constexpr unsigned kNdb = 1, kVor = 2, kApt = 4, kInt = 8, kAll = 15;

struct Field {
  std::string_view name;
  unsigned kinds;
  Form form;
  EditorBox box;  // the box; the whole-number box of a frequency; a coordinate's degrees
  Check check;
};

// In the order of the editors' boxes; "entry show" lists them so.
constexpr std::array<Field, 19> kFields = {{
    {"id", kAll, Form::Box, EditorBox::Identifier, Check::None},
    {"name", kNdb | kVor | kApt | kInt, Form::Box, EditorBox::Name, Check::None},
    {"comment", kInt, Form::Box, EditorBox::Name, Check::None},
    {"type", kVor, Form::VorType, EditorBox::Identifier, Check::None},
    {"dme", kVor, Form::Check, EditorBox::Identifier, Check::Dme},
    {"gs", kVor, Form::Check, EditorBox::Identifier, Check::GlideSlope},
    {"tacan", kVor, Form::Check, EditorBox::Identifier, Check::Tacan},
    {"freq", kNdb | kVor, Form::Frequency, EditorBox::FrequencyInteger, Check::None},
    {"direction", kVor, Form::Box, EditorBox::Direction, Check::None},
    {"runway", kApt, Form::Box, EditorBox::Runway, Check::None},
    {"hdg", kApt, Form::Box, EditorBox::Heading, Check::None},
    {"lat", kAll, Form::Coordinate, EditorBox::LatitudeDegrees, Check::None},
    {"lon", kAll, Form::Coordinate, EditorBox::LongitudeDegrees, Check::None},
    {"alt", kAll, Form::Box, EditorBox::Altitude, Check::None},
    {"length", kApt, Form::Box, EditorBox::Length, Check::None},
    {"width", kApt, Form::Box, EditorBox::Width, Check::None},
    {"atis", kApt, Form::Frequency, EditorBox::AtisInteger, Check::None},
    {"range", kNdb | kVor, Form::Box, EditorBox::Range, Check::None},
    {"magvar", kVor, Form::Box, EditorBox::MagneticVariation, Check::None},
}};

bool HasKind(const Field& field, NavaidKind kind) {
  return (field.kinds & (1u << navdb::IndexOf(kind))) != 0;
}

const Field* FindField(NavaidKind kind, std::string_view name) {
  for (const Field& field : kFields) {
    if (field.name == name && HasKind(field, kind)) return &field;
  }
  return nullptr;
}

bool IsDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Refused(std::string_view field, std::string_view value, std::string_view why) {
  return std::string(field) + ": '" + platform::Win1252ToUtf8(value) + "' " + std::string(why);
}

// A value typed into one box: refused when the box would drop a character
// of it or cut it short.
platform::Status TypeIntoBox(NavaidKind kind, EditorFields& fields, EditorBox box,
                             std::string_view field, std::string_view value) {
  const size_t maxChars = shell::MaxChars(kind, box);
  const shell::BoxCharacters characters = shell::CharactersOf(box);
  const auto notIn = [&](std::string_view allowed) {
    return value.find_first_not_of(allowed) != std::string_view::npos;
  };
  std::string why;
  if (std::any_of(value.begin(), value.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    why = "holds a control character";
  } else if (characters == shell::BoxCharacters::Digits && notIn("0123456789")) {
    why = "is not a whole number of digits";
  } else if (characters == shell::BoxCharacters::SignedDecimal && notIn("0123456789+-.")) {
    why = "is not a decimal number";
  } else if (value.size() > maxChars) {
    why = "is too long: the box holds " + std::to_string(maxChars) +
          (maxChars == 1 ? " character" : " characters");
  }
  if (!why.empty()) return platform::Failure(Refused(field, value, why));
  shell::UserEditsBox(kind, fields, box, value);
  return {};
}

// "113.90": the whole part and the decimals, each into its box.
platform::Status TypeFrequency(NavaidKind kind, EditorFields& fields, const Field& field,
                               std::string_view value) {
  const EditorBox decimalsBox =
      field.box == EditorBox::AtisInteger ? EditorBox::AtisDecimals : EditorBox::FrequencyDecimals;
  const size_t point = value.find('.');
  const std::string_view whole = value.substr(0, point);
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view() : value.substr(point + 1);
  const size_t decimalChars = shell::MaxChars(kind, decimalsBox);
  if (whole.empty() || whole.size() > 3 || !IsDigits(whole) || !IsDigits(decimals) ||
      decimals.size() > decimalChars) {
    return platform::Failure(Refused(field.name, value,
                                     "is not a frequency of at most 3 digits and " +
                                         std::to_string(decimalChars) +
                                         (decimalChars == 1 ? " decimal" : " decimals")));
  }
  shell::UserEditsBox(kind, fields, field.box, whole);
  shell::UserEditsBox(kind, fields, decimalsBox, decimals);
  return {};
}

struct Dms {
  char hemisphere;
  long degrees, minutes, seconds, hundredths;
};

// "N48°51'24.00", "N48 51 24.00", "N48:51:24" (Windows-1252).
std::optional<Dms> ReadDms(std::string_view text, std::string_view hemispheres, long maxDegrees) {
  Dms dms{static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))), 0, 0, 0, 0};
  if (hemispheres.find(dms.hemisphere) == std::string_view::npos) return std::nullopt;
  std::string rest(text.substr(1));
  for (char& c : rest) {
    if (c == navdb::kDegreeSign || c == '\'' || c == ':' || c == '"') c = ' ';
  }
  std::vector<std::string_view> parts;
  std::string_view scan = rest;
  while (!scan.empty()) {
    const size_t start = scan.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    const size_t end = std::min(scan.find(' ', start), scan.size());
    parts.push_back(scan.substr(start, end - start));
    scan.remove_prefix(end);
  }
  if (parts.size() != 3) return std::nullopt;
  const size_t point = parts[2].find('.');
  const std::string_view seconds = parts[2].substr(0, point);
  std::string hundredths(point == std::string_view::npos ? "" : parts[2].substr(point + 1));
  if (parts[0].empty() || parts[0].size() > 3 || !IsDigits(parts[0]) || parts[1].empty() ||
      parts[1].size() > 2 || !IsDigits(parts[1]) || seconds.empty() || seconds.size() > 2 ||
      !IsDigits(seconds) || (point != std::string_view::npos && hundredths.empty()) ||
      hundredths.size() > 2 || !IsDigits(hundredths)) {
    return std::nullopt;
  }
  hundredths.resize(2, '0');  // "24.5" is 24.50 seconds
  dms.degrees = std::atol(std::string(parts[0]).c_str());
  dms.minutes = std::atol(std::string(parts[1]).c_str());
  dms.seconds = std::atol(std::string(seconds).c_str());
  dms.hundredths = std::atol(hundredths.c_str());
  const bool beyond = dms.degrees > maxDegrees ||
                      (dms.degrees == maxDegrees && dms.minutes + dms.seconds + dms.hundredths > 0);
  if (beyond || dms.minutes > 59 || dms.seconds > 59) return std::nullopt;
  return dms;
}

// Decimal degrees, south and west negative: the text the program writes.
std::optional<Dms> ReadDecimalDegrees(std::string_view text, CoordinateAxis axis, long maxDegrees) {
  const std::string_view digits =
      text.starts_with('-') || text.starts_with('+') ? text.substr(1) : text;
  const size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
  if (whole.empty() || !IsDigits(whole) || !IsDigits(fraction) ||
      (point != std::string_view::npos && fraction.empty())) {
    return std::nullopt;
  }
  const double degrees = std::strtod(std::string(text).c_str(), nullptr);
  if (!(degrees >= -maxDegrees && degrees <= maxDegrees)) return std::nullopt;
  const std::string formatted = axis == CoordinateAxis::Latitude ? navdb::FormatLatitude(degrees)
                                                                 : navdb::FormatLongitude(degrees);
  const size_t at = axis == CoordinateAxis::Latitude ? 1 : 2;  // past the wider degrees
  const auto number = [&](size_t from, size_t count) {
    return std::atol(formatted.substr(from, count).c_str());
  };
  return Dms{formatted[0], number(1, at + 1), number(at + 3, 2), number(at + 6, 2),
             number(at + 9, 2)};
}

platform::Status TypeCoordinate(NavaidKind kind, EditorFields& fields, const Field& field,
                                std::string_view value) {
  const CoordinateAxis axis = field.box == EditorBox::LatitudeDegrees ? CoordinateAxis::Latitude
                                                                      : CoordinateAxis::Longitude;
  const bool latitude = axis == CoordinateAxis::Latitude;
  const long maxDegrees = latitude ? 90 : 180;
  const std::optional<Dms> dms =
      !value.empty() && std::isalpha(static_cast<unsigned char>(value[0]))
          ? ReadDms(value, latitude ? "NS" : "EW", maxDegrees)
          : ReadDecimalDegrees(value, axis, maxDegrees);
  if (!dms) {
    return platform::Failure(
        Refused(field.name, value,
                latitude ? "is not a latitude: decimal degrees from -90 to 90 (south "
                           "negative), or N48°51'24.00 or N48 51 24.00"
                         : "is not a longitude: decimal degrees from -180 to 180 (west "
                           "negative), or E002°21'03.00 or E2 21 3.00"));
  }
  shell::CoordinateBoxes& boxes = latitude ? fields.latitude : fields.longitude;
  boxes.hemisphere = std::string(1, dms->hemisphere);
  const EditorBox first = field.box;  // degrees, then minutes, seconds, hundredths
  const long parts[] = {dms->degrees, dms->minutes, dms->seconds, dms->hundredths};
  for (size_t i = 0; i < 4; ++i) {
    shell::UserEditsBox(kind, fields, static_cast<EditorBox>(static_cast<size_t>(first) + i),
                        (i == 3 && parts[i] < 10 ? "0" : "") + std::to_string(parts[i]));
  }
  return {};
}

platform::Status TypeVorType(EditorFields& fields, std::string_view value) {
  const shell::VorTypeChoice choice = value == "vor"   ? shell::VorTypeChoice::Vor
                                      : value == "ils" ? shell::VorTypeChoice::Ils
                                      : value == "dme" ? shell::VorTypeChoice::DmeOnly
                                                       : shell::VorTypeChoice::None;
  if (choice == shell::VorTypeChoice::None) {
    return platform::Failure(Refused("type", value, "is not vor, ils or dme"));
  }
  shell::ChooseVorType(fields, choice);
  return {};
}

platform::Status TypeCheck(EditorFields& fields, const Field& field, std::string_view value) {
  if (value != "yes" && value != "no") {
    return platform::Failure(Refused(field.name, value, "is not yes or no"));
  }
  const bool checked = value == "yes";
  switch (field.check) {
    case Check::Dme:
      if (!fields.dmeEnabled && !checked) {
        return platform::Failure(
            Refused(field.name, value, "is not taken: a DME-only station has its DME"));
      }
      fields.dme = checked;
      break;
    case Check::GlideSlope:
      fields.glideSlope = checked;
      break;
    case Check::Tacan:
      fields.tacan = checked;
      break;
    case Check::None:
      break;
  }
  return {};
}

platform::Status TypeField(NavaidKind kind, EditorFields& fields, const Field& field,
                           std::string_view value) {
  switch (field.form) {
    case Form::Box:
      if (field.box == EditorBox::Direction && !fields.directionEnabled) {
        return platform::Failure(
            Refused(field.name, value, "is not taken: only an ILS has a localizer course"));
      }
      return TypeIntoBox(kind, fields, field.box, field.name, value);
    case Form::Frequency:
      return TypeFrequency(kind, fields, field, value);
    case Form::Coordinate:
      return TypeCoordinate(kind, fields, field, value);
    case Form::VorType:
      return TypeVorType(fields, value);
    case Form::Check:
      return TypeCheck(fields, field, value);
  }
  return platform::Failure(std::string(field.name) + ": no box takes it");
}

// The checks the editors make when the user leaves a box.
platform::Status LeaveBoxes(EditorFields& fields, const std::vector<const Field*>& typed) {
  for (const Field* field : typed) {
    if (field->box == EditorBox::Runway && field->form == Form::Box &&
        shell::OnRunwayBoxLeft(fields, {}) == shell::LeaveOutcome::FocusStays) {
      return platform::Failure(
          Refused("runway", fields.runway,
                  "is refused: the designated end is numbered 1 to 18 (the opposite end "
                  "follows)"));
    }
    if (field->box == EditorBox::Heading &&
        shell::OnHeadingBoxLeft(fields, {}) == shell::LeaveOutcome::FocusStays) {
      return platform::Failure(
          Refused("hdg", fields.heading,
                  "is refused: the designated end's heading is 0 to 180 (the opposite "
                  "follows)"));
    }
    if (field->box == EditorBox::MagneticVariation &&
        shell::OnMagneticVariationBoxLeft(fields, {}) == shell::LeaveOutcome::FocusStays) {
      return platform::Failure(
          Refused("magvar", fields.magneticVariation, "is outside -99.9 to 99.9"));
    }
  }
  return {};
}

std::string ShellQuoted(const std::string& value) {
  const bool plain = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("._:+-/,").find(c) != std::string_view::npos;
  });
  if (plain) return value;
  std::string quoted = "'";
  for (const char c : value) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ValueOf(EditorFields& fields, const Field& field) {
  switch (field.form) {
    case Form::Box:
      return shell::BoxText(fields, field.box);
    case Form::Frequency: {
      const EditorBox decimals = field.box == EditorBox::AtisInteger ? EditorBox::AtisDecimals
                                                                     : EditorBox::FrequencyDecimals;
      const std::string& whole = shell::BoxText(fields, field.box);
      const std::string& fraction = shell::BoxText(fields, decimals);
      return fraction.empty() ? whole : whole + "." + fraction;
    }
    case Form::Coordinate: {
      // The colon form needs no quoting in a shell, and reads back as typed.
      const shell::CoordinateBoxes& boxes =
          field.box == EditorBox::LatitudeDegrees ? fields.latitude : fields.longitude;
      return boxes.hemisphere + boxes.degrees + ":" + boxes.minutes + ":" + boxes.seconds + "." +
             boxes.hundredths;
    }
    case Form::VorType:
      return fields.vorType == shell::VorTypeChoice::Ils       ? "ils"
             : fields.vorType == shell::VorTypeChoice::DmeOnly ? "dme"
                                                               : "vor";
    case Form::Check: {
      const bool checked = field.check == Check::Dme          ? fields.dme
                           : field.check == Check::GlideSlope ? fields.glideSlope
                                                              : fields.tacan;
      return checked ? "yes" : "no";
    }
  }
  return {};
}

}  // namespace

std::string EntryFieldsHelp() {
  return "Fields (FIELD=VALUE, as the editor's boxes take them):\n"
         "  every kind  id=ID            identifier, at most 5 characters (capitals;\n"
         "                               the ICAO code of an airport)\n"
         "              name=TEXT        name, at most 24 characters (of an intersection:\n"
         "                               its comment, also comment=TEXT)\n"
         "              lat=LATITUDE     decimal degrees (48.8566; south negative), or\n"
         "                               N48°51'24.00, N48 51 24.00 or N48:51:24.00\n"
         "              lon=LONGITUDE    the same: 2.3508 (west negative) or E002°21'03.00\n"
         "              alt=FEET         altitude, at most 5 digits\n"
         "  ndb         freq=KHZ         375.0 (at most 3 digits and 1 decimal)\n"
         "              range=NM         at most 3 digits\n"
         "  vor         type=vor|ils|dme (dme: a DME-only station)\n"
         "              dme=yes|no  gs=yes|no  tacan=yes|no\n"
         "              freq=MHZ         113.90 (at most 3 digits and 2 decimals; 113.9 is\n"
         "                               113.90)\n"
         "              direction=DEG    localizer course, ILS only, at most 3 digits\n"
         "              magvar=DEG       magnetic variation, -99.9 to 99.9\n"
         "              range=NM         at most 3 digits\n"
         "  apt         runway=RWY       the designated end, 1 to 18 and L, R or C (9L);\n"
         "                               the opposite end (27R) follows\n"
         "              hdg=DEG          its heading, 0 to 180; the opposite follows\n"
         "              length=FEET      at most 5 digits\n"
         "              width=FEET       at most 3 digits\n"
         "              atis=MHZ         118.05 (000.00: none)\n"
         "  int         comment=TEXT     at most 24 characters\n"
         "Seconds take at most 2 decimals (24.5 is 24.50); a decimal latitude or\n"
         "longitude is cut to hundredths of a second, as the program writes them.\n";
}

platform::Status CheckFieldNames(NavaidKind kind, const std::vector<std::string>& assignments) {
  std::vector<const Field*> seen;
  for (const std::string& assignment : assignments) {
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
      return platform::Failure("expected FIELD=VALUE, found '" + assignment + "'");
    }
    const Field* field = FindField(kind, std::string_view(assignment).substr(0, equals));
    if (!field) {
      return platform::Failure("no field '" + assignment.substr(0, equals) + "' for " +
                               std::string(navdb::JournalKindWord(kind)) +
                               " (see 'skat-cli entry --help')");
    }
    // name= and comment= fill the same box.
    const auto sameBox = [&](const Field* other) {
      return other->form == field->form && other->box == field->box && other->check == field->check;
    };
    if (std::any_of(seen.begin(), seen.end(), sameBox)) {
      return platform::Failure("field '" + std::string(field->name) + "' given twice");
    }
    seen.push_back(field);
  }
  return {};
}

platform::Status ApplyFields(NavaidKind kind, shell::EditorSession& session,
                             const std::vector<std::string>& assignments) {
  if (platform::Status names = CheckFieldNames(kind, assignments); !names) return names;
  std::vector<std::pair<const Field*, std::string>> values;
  for (const std::string& assignment : assignments) {
    const size_t equals = assignment.find('=');
    const Field* field = FindField(kind, std::string_view(assignment).substr(0, equals));
    const std::string utf8 = assignment.substr(equals + 1);
    std::string value = platform::Utf8ToWin1252(utf8);
    if (platform::Win1252ToUtf8(value) != utf8) {
      return platform::Failure(
          std::string(field->name) + ": '" + utf8 +
          "' has characters that Windows-1252, the database's code page, cannot hold");
    }
    values.emplace_back(field, std::move(value));
  }
  // The type first, as a user chooses it before the boxes it enables.
  std::stable_partition(values.begin(), values.end(),
                        [](const auto& value) { return value.first->form == Form::VorType; });
  std::vector<const Field*> typed;
  for (const auto& [field, value] : values) {
    if (platform::Status typedValue = TypeField(kind, session.fields, *field, value); !typedValue) {
      return typedValue;
    }
    typed.push_back(field);
  }
  return LeaveBoxes(session.fields, typed);
}

std::string FieldsText(NavaidKind kind, const EditorFields& fields) {
  EditorFields copy = fields;
  std::string text;
  for (const Field& field : kFields) {
    if (!HasKind(field, kind)) continue;
    // An intersection's name box is its comment.
    if (field.name == (kind == NavaidKind::Intersection ? "name" : "comment")) continue;
    if (field.box == EditorBox::Direction && !copy.directionEnabled) continue;
    const std::string value = platform::Win1252ToUtf8(ValueOf(copy, field));
    if (!text.empty()) text += ' ';
    text += std::string(field.name) + "=" + ShellQuoted(value);
  }
  return text;
}

}  // namespace cli
