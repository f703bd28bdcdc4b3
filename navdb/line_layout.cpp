#include "navdb/line_layout.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>

#include "navdb/coordinates.h"

namespace navdb {
namespace {

enum class Form {
  Text,            // any bytes but control bytes
  Blank,           // spaces only: separator columns and padding
  Digits,          // "%0Nd" of a number that cannot be negative
  Elevation,       // "%05d": five digits, or a minus sign and four
  OptionalDigits,  // digits, or all spaces (the course of a station without localizer)
  Pattern,         // `pattern`: 'd' a digit, 's' a space or a minus sign, else that byte
  Latitude,
  Longitude,
};

struct Field {
  size_t column;
  size_t width;
  Form form;
  std::string_view name;
  std::string_view pattern = {};
};

constexpr Field kIdentifier{0, 5, Form::Text, "identifier"};
constexpr Field kAfterIdentifier{5, 2, Form::Blank, ""};
constexpr Field kName{7, 24, Form::Text, "name"};
constexpr Field kAfterName{31, 2, Form::Blank, ""};

constexpr std::array kNdbFields = {
    kIdentifier,
    kAfterIdentifier,
    kName,
    kAfterName,
    Field{33, 5, Form::Pattern, "frequency", "ddd.d"},
    Field{38, 2, Form::Blank, ""},
    Field{40, 12, Form::Latitude, "latitude"},
    Field{52, 2, Form::Blank, ""},
    Field{54, 13, Form::Longitude, "longitude"},
    Field{67, 2, Form::Blank, ""},
    Field{69, 5, Form::Elevation, "elevation"},
    Field{74, 2, Form::Blank, ""},
    Field{76, 3, Form::Digits, "range"},
};

constexpr std::array kVorFields = {
    kIdentifier,
    kAfterIdentifier,
    kName,
    kAfterName,
    Field{33, 15, Form::Text, "type"},
    Field{48, 2, Form::Blank, ""},
    Field{50, 6, Form::Pattern, "frequency", "ddd.dd"},
    Field{56, 2, Form::Blank, ""},
    Field{58, 3, Form::OptionalDigits, "localizer course"},
    Field{61, 2, Form::Blank, ""},
    Field{63, 12, Form::Latitude, "latitude"},
    Field{75, 2, Form::Blank, ""},
    Field{77, 13, Form::Longitude, "longitude"},
    Field{90, 2, Form::Blank, ""},
    Field{92, 5, Form::Elevation, "elevation"},
    Field{97, 2, Form::Blank, ""},
    Field{99, 3, Form::Digits, "range"},
    Field{102, 2, Form::Blank, ""},
    Field{104, 5, Form::Pattern, "magnetic variation", "sdd.d"},
};

constexpr std::array kRunwayFields = {
    kIdentifier,
    kAfterIdentifier,
    kName,
    kAfterName,
    Field{33, 2, Form::Digits, "runway number"},
    Field{35, 1, Form::Text, "runway side"},
    Field{36, 1, Form::Pattern, "designation", "/"},
    Field{37, 3, Form::Text, "opposite designation"},
    Field{40, 2, Form::Blank, ""},
    Field{42, 7, Form::Pattern, "headings", "ddd/ddd"},
    Field{49, 2, Form::Blank, ""},
    Field{51, 12, Form::Latitude, "latitude"},
    Field{63, 2, Form::Blank, ""},
    Field{65, 13, Form::Longitude, "longitude"},
    Field{78, 2, Form::Blank, ""},
    Field{80, 5, Form::Elevation, "elevation"},
    Field{85, 2, Form::Blank, ""},
    Field{87, 5, Form::Digits, "length"},
    Field{92, 2, Form::Blank, ""},
    Field{94, 3, Form::Digits, "width"},
    Field{97, 2, Form::Blank, ""},
    Field{99, 6, Form::Pattern, "ATIS frequency", "ddd.dd"},
};

constexpr std::array kIntersectionFields = {
    kIdentifier,
    kAfterIdentifier,
    Field{7, 24, Form::Text, "comment"},
    kAfterName,
    Field{33, 12, Form::Latitude, "latitude"},
    Field{45, 2, Form::Blank, ""},
    Field{47, 13, Form::Longitude, "longitude"},
    Field{60, 2, Form::Blank, ""},
    Field{62, 5, Form::Elevation, "elevation"},
};

std::span<const Field> FieldsOf(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return kNdbFields;
    case NavaidKind::Vor:
      return kVorFields;
    case NavaidKind::Airport:
      return kRunwayFields;
    case NavaidKind::Intersection:
      break;
  }
  return kIntersectionFields;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}
bool AllSpaces(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char want = pattern[i];
    const char c = text[i];
    const bool ok = want == 'd' ? IsDigit(c) : want == 's' ? (c == ' ' || c == '-') : c == want;
    if (!ok) return false;
  }
  return true;
}

long TwoDigits(std::string_view text, size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool CoordinateInRange(std::string_view text, size_t degreeDigits, long maxDegrees);

// "N48°51'24.00": a hemisphere letter, `degreeDigits` digits of degrees up
// to `maxDegrees` (which only an angle of no minutes or seconds reaches),
// then minutes and seconds below 60 and hundredths.
bool IsCoordinateText(std::string_view text, size_t degreeDigits, char positive, char negative,
                      long maxDegrees) {
  constexpr std::string_view kTwoDigitDegrees =
      "dd\xB0"
      "dd'dd.dd";
  constexpr std::string_view kThreeDigitDegrees =
      "ddd\xB0"
      "dd'dd.dd";
  if (text.empty() || (text[0] != positive && text[0] != negative)) return false;
  if (!MatchesPattern(text.substr(1), degreeDigits == 2 ? kTwoDigitDegrees : kThreeDigitDegrees))
    return false;
  return CoordinateInRange(text, degreeDigits, maxDegrees);
}

// The degrees, minutes and seconds of a coordinate text of the right shape
// within range.
bool CoordinateInRange(std::string_view text, size_t degreeDigits, long maxDegrees) {
  long degrees = 0;
  for (size_t i = 1; i <= degreeDigits; ++i) degrees = degrees * 10 + (text[i] - '0');
  const size_t minutesAt = degreeDigits + 2;
  const long minutes = TwoDigits(text, minutesAt);
  const long seconds = TwoDigits(text, minutesAt + 3);
  const long hundredths = TwoDigits(text, minutesAt + 6);
  if (minutes > 59 || seconds > 59) return false;
  if (degrees < maxDegrees) return true;
  return degrees == maxDegrees && minutes == 0 && seconds == 0 && hundredths == 0;
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::optional<std::string> FieldProblem(const Field& field, std::string_view text) {
  switch (field.form) {
    case Form::Text:
      return std::nullopt;  // control bytes are looked for over the whole line
    case Form::Blank:
      if (AllSpaces(text)) return std::nullopt;
      return "column " + std::to_string(field.column + text.find_first_not_of(' ')) + " holds " +
             Quoted(text.substr(text.find_first_not_of(' '), 1)) + " where the layout has a space";
    case Form::Digits:
      if (AllDigits(text)) return std::nullopt;
      return std::string(field.name) + " " + Quoted(text) + " is not " +
             std::to_string(field.width) + " digits";
    case Form::Elevation:
      if (AllDigits(text) || (text[0] == '-' && AllDigits(text.substr(1)))) return std::nullopt;
      return std::string(field.name) + " " + Quoted(text) + " is not a number of " +
             std::to_string(field.width) + " characters";
    case Form::OptionalDigits:
      if (AllDigits(text) || AllSpaces(text)) return std::nullopt;
      return std::string(field.name) + " " + Quoted(text) + " is not " +
             std::to_string(field.width) + " digits";
    case Form::Pattern:
      if (MatchesPattern(text, field.pattern)) return std::nullopt;
      return std::string(field.name) + " " + Quoted(text) + " is not written " +
             std::string(field.pattern);
    case Form::Latitude:
      if (IsLatitudeText(text)) return std::nullopt;
      return "latitude " + Quoted(text) + " is not a latitude from S90 to N90";
    case Form::Longitude:
      if (IsLongitudeText(text)) return std::nullopt;
      return "longitude " + Quoted(text) + " is not a longitude from W180 to E180";
  }
  return std::nullopt;
}

// The quick check of a whole line: each byte's classes (one bit each), and
// for each column of a kind the classes its byte may have. A line whose
// every byte fits is taken apart field by field only for what classes do
// not tell; any other line goes the long way, which also says why.
constexpr uint16_t kAnyByte = 1;  // no control byte
constexpr uint16_t kSpace = 2;
constexpr uint16_t kDigit = 4;
constexpr uint16_t kMinus = 8;
constexpr uint16_t kDot = 16;
constexpr uint16_t kSlash = 32;
constexpr uint16_t kQuote = 64;
constexpr uint16_t kDegree = 128;
constexpr uint16_t kNorthSouth = 256;
constexpr uint16_t kEastWest = 512;

constexpr std::array<uint16_t, 256> kClassesOfByte = [] {
  std::array<uint16_t, 256> classes{};
  for (size_t byte = 0x20; byte < 256; ++byte) classes[byte] |= kAnyByte;
  for (char digit = '0'; digit <= '9'; ++digit) classes[static_cast<uint8_t>(digit)] |= kDigit;
  classes[' '] |= kSpace;
  classes['-'] |= kMinus;
  classes['.'] |= kDot;
  classes['/'] |= kSlash;
  classes['\''] |= kQuote;
  classes[0xB0] |= kDegree;
  classes['N'] |= kNorthSouth;
  classes['S'] |= kNorthSouth;
  classes['E'] |= kEastWest;
  classes['W'] |= kEastWest;
  return classes;
}();

constexpr uint16_t ClassOfPattern(char c) {
  switch (c) {
    case 'd':
      return kDigit;
    case 's':
      return kSpace | kMinus;
    case '.':
      return kDot;
    case '/':
      return kSlash;
    case '\'':
      return kQuote;
    case '\xB0':
      return kDegree;
    default:
      return 0;
  }
}

using ColumnClasses = std::array<uint16_t, kMaxLineLength>;

template <size_t N>
constexpr ColumnClasses ClassesOfColumns(const std::array<Field, N>& fields) {
  constexpr std::string_view kLatitudeRest =
      "dd\xB0"
      "dd'dd.dd";
  constexpr std::string_view kLongitudeRest =
      "ddd\xB0"
      "dd'dd.dd";
  ColumnClasses classes{};
  for (const Field& field : fields) {
    for (size_t i = 0; i < field.width; ++i) {
      uint16_t& column = classes[field.column + i];
      switch (field.form) {
        case Form::Text:
          column = kAnyByte;
          break;
        case Form::Blank:
          column = kSpace;
          break;
        case Form::Digits:
          column = kDigit;
          break;
        case Form::Elevation:
          column = i == 0 ? kDigit | kMinus : kDigit;
          break;
        case Form::OptionalDigits:
          column = kDigit | kSpace;
          break;
        case Form::Pattern:
          column = ClassOfPattern(field.pattern[i]);
          break;
        case Form::Latitude:
          column = i == 0 ? kNorthSouth : ClassOfPattern(kLatitudeRest[i - 1]);
          break;
        case Form::Longitude:
          column = i == 0 ? kEastWest : ClassOfPattern(kLongitudeRest[i - 1]);
          break;
      }
    }
  }
  return classes;
}

constexpr std::array<ColumnClasses, 4> kClassesOfColumns = {
    ClassesOfColumns(kNdbFields), ClassesOfColumns(kVorFields), ClassesOfColumns(kRunwayFields),
    ClassesOfColumns(kIntersectionFields)};

bool HasLayoutQuickly(NavaidKind kind, std::string_view line) {
  const ColumnClasses& classes = kClassesOfColumns[IndexOf(kind)];
  for (size_t column = 0; column < line.size(); ++column) {
    if ((kClassesOfByte[static_cast<uint8_t>(line[column])] & classes[column]) == 0) return false;
  }
  // What the classes do not tell: coordinates within range, a course of
  // digits or of spaces only.
  for (const Field& field : FieldsOf(kind)) {
    const std::string_view text = line.substr(field.column, field.width);
    switch (field.form) {
      case Form::Latitude:
        if (!CoordinateInRange(text, 2, 90)) return false;
        break;
      case Form::Longitude:
        if (!CoordinateInRange(text, 3, 180)) return false;
        break;
      case Form::OptionalDigits:
        if (!AllDigits(text) && !AllSpaces(text)) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace

bool IsLatitudeText(std::string_view text) {
  return IsCoordinateText(text, 2, 'N', 'S', 90);
}

bool IsLongitudeText(std::string_view text) {
  return IsCoordinateText(text, 3, 'E', 'W', 180);
}

std::optional<std::string> LineLayoutProblem(NavaidKind kind, std::string_view line) {
  const size_t length = InfoOf(kind).lineLength;
  if (line.size() == length && HasLayoutQuickly(kind, line)) return std::nullopt;
  if (line.size() != length) {
    return "the line is " + std::to_string(line.size()) + " characters long, not " +
           std::to_string(length);
  }
  for (size_t column = 0; column < line.size(); ++column) {
    const auto byte = static_cast<unsigned char>(line[column]);
    if (byte >= 0x20) continue;
    char text[64];
    std::snprintf(text, sizeof text, "control byte 0x%02X at column %zu", byte, column);
    return std::string(text);
  }
  for (const Field& field : FieldsOf(kind)) {
    if (std::optional<std::string> problem =
            FieldProblem(field, line.substr(field.column, field.width))) {
      return problem;
    }
  }
  return std::nullopt;
}

}  // namespace navdb
