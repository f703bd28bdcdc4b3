#include "planner/plan_row.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>

#include "navdb/coordinates.h"
#include "planner/flight_plan.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

// The row layout, columns counted from 0. A row begins with its kind (0-4),
// the navaid's identifier (5-11) and name (12-37), its frequency (38-43),
// latitude (46-57) and longitude (60-72): the head, 75 characters with its
// blanks. The computed fields follow: altitude "%05d" at 75, course "%03d"
// at 82, cumulative distance "%04d.%1d" at 87 and time "hh:mm:ss" at 95,
// each two blanks after the one before when a number outgrows its width.
constexpr size_t kIdentifierColumn = 5;
constexpr size_t kNameColumn = 12;
constexpr size_t kFrequencyColumn = 38;
constexpr size_t kLatitudeColumn = 46;
constexpr size_t kLongitudeColumn = 60;
constexpr size_t kHeadChars = 75;
constexpr size_t kAltitudeColumn = 75;
constexpr size_t kCourseColumn = 82;
constexpr size_t kDistanceColumn = 87;
constexpr size_t kTimeColumn = 95;
constexpr size_t kKindChars = 5;
constexpr size_t kIdentifierChars = 7;
constexpr size_t kNameChars = 26;
constexpr size_t kFrequencyChars = 6;
constexpr size_t kLatitudeChars = 12;
constexpr size_t kLongitudeChars = 13;
constexpr size_t kFieldGapChars = 2;
// A row's identity as a moved row is found again: kind, identifier and name.
constexpr size_t kIdentityChars = 38;
constexpr std::string_view kGeneratedIdentifier = "*****";
constexpr std::string_view kNoTime = "--:--:--";

struct KindText {
  PlanRowKind kind;
  std::string_view text;     // the kind column, blanks included
  std::string_view caption;  // the name column of a generated point
};

constexpr std::array<KindText, 11> kKindTexts{{
    {PlanRowKind::Ndb, "NDB  ", ""},
    {PlanRowKind::Vor, "VOR  ", ""},
    {PlanRowKind::Ils, "ILS  ", ""},
    {PlanRowKind::Airport, "APT  ", ""},
    {PlanRowKind::Intersection, "INT  ", ""},
    {PlanRowKind::TopOfClimb, "TOC  ", "(Top Of Climb)"},
    {PlanRowKind::TopOfDescent, "TOD  ", "(Top Of Descent)"},
    {PlanRowKind::DepartureTurnStart, "BRD  ", "(Begin of Rotation Dep)"},
    {PlanRowKind::DepartureTurnEnd, "ERD  ", "(End   of Rotation Dep)"},
    {PlanRowKind::ArrivalTurnStart, "BRA  ", "(Begin of Rotation Arr)"},
    {PlanRowKind::ArrivalTurnEnd, "ERA  ", "(End   of Rotation Arr)"},
}};

const KindText& KindTextOf(PlanRowKind kind) {
  for (const KindText& entry : kKindTexts) {
    if (entry.kind == kind) return entry;
  }
  return kKindTexts[0];
}

// Cuts toward zero; values outside int (and NaN) saturate, as the row's
// numbers never hold them.
int CutToInt(double value) {
  if (!(value > INT_MIN && value < INT_MAX)) return value > 0 ? INT_MAX : (value < 0 ? INT_MIN : 0);
  return static_cast<int>(value);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The value of a "%0*d" field, only when the text is exactly what "%0*d"
// writes for it (no plus sign, no extra zeros, no other character).
std::optional<int> ZeroPaddedValue(std::string_view text, int width) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  const size_t digitsFrom = text[0] == '-' ? 1 : 0;
  if (digitsFrom == text.size() ||
      !std::all_of(text.begin() + static_cast<long>(digitsFrom), text.end(), IsDigit)) {
    return std::nullopt;
  }
  const long value = platform::ReadLong(text);
  if (value < INT_MIN || value > INT_MAX || platform::ZeroPadded(value, width) != text) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

void AppendCoordinate(std::string& out, const RowCoordinate& coordinate, char positive,
                      char negative, int degreeDigits) {
  out += coordinate.negative ? negative : positive;
  platform::AppendZeroPadded(out, coordinate.degrees, degreeDigits);
  out += navdb::kDegreeSign;
  platform::AppendZeroPadded(out, coordinate.minutes, 2);
  out += '\'';
  platform::AppendZeroPadded(out, coordinate.hundredthsOfSecond / 100, 2);
  out += '.';
  platform::AppendZeroPadded(out, coordinate.hundredthsOfSecond % 100, 2);
}

std::optional<RowCoordinate> ReadCoordinateText(std::string_view text, char positive, char negative,
                                                size_t degreeDigits) {
  const size_t d = degreeDigits;
  if (text.size() != d + 10 || (text[0] != positive && text[0] != negative)) return std::nullopt;
  const auto digits = [&](size_t from, size_t count) {
    const std::string_view part = text.substr(from, count);
    return std::all_of(part.begin(), part.end(), IsDigit);
  };
  if (!digits(1, d) || text[1 + d] != navdb::kDegreeSign || !digits(2 + d, 2) ||
      text[4 + d] != '\'' || !digits(5 + d, 2) || text[7 + d] != '.' || !digits(8 + d, 2)) {
    return std::nullopt;
  }
  RowCoordinate coordinate;
  coordinate.negative = text[0] == negative;
  coordinate.degrees = static_cast<int>(platform::ReadLong(text.substr(1, d)));
  coordinate.minutes = static_cast<int>(platform::ReadLong(text.substr(2 + d, 2)));
  coordinate.hundredthsOfSecond = static_cast<int>(platform::ReadLong(text.substr(5 + d, 2)) * 100 +
                                                   platform::ReadLong(text.substr(8 + d, 2)));
  return coordinate;
}

std::string DistanceText(int64_t tenthsNm) {
  std::string text = platform::ZeroPadded(static_cast<long>(tenthsNm / 10), 4);
  text += '.';
  text += static_cast<char>('0' + tenthsNm % 10);
  return text;
}

std::optional<int64_t> ReadDistanceText(std::string_view text) {
  const size_t point = text.find('.');
  if (point == std::string_view::npos || point + 2 != text.size() || !IsDigit(text.back()) ||
      text[0] == '-') {
    return std::nullopt;
  }
  const std::optional<int> whole = ZeroPaddedValue(text.substr(0, point), 4);
  if (!whole) return std::nullopt;
  return int64_t{*whole} * 10 + (text.back() - '0');
}

std::string TimeText(const RowTime& time) {
  if (!time.known) return std::string(kNoTime);
  std::string text = platform::ZeroPadded(time.hours, 2);
  text += ':';
  platform::AppendZeroPadded(text, time.minutes, 2);
  text += ':';
  platform::AppendZeroPadded(text, time.seconds, 2);
  return text;
}

std::optional<RowTime> ReadTimeText(std::string_view text) {
  if (text == kNoTime) return RowTime::Unknown();
  const size_t first = text.find(':');
  const size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::optional<int> hours = ZeroPaddedValue(text.substr(0, first), 2);
  const std::optional<int> minutes = ZeroPaddedValue(text.substr(first + 1, second - first - 1), 2);
  const std::optional<int> seconds = ZeroPaddedValue(text.substr(second + 1), 2);
  if (!hours || !minutes || !seconds || *hours < 0 || *minutes < 0 || *seconds < 0) {
    return std::nullopt;
  }
  return RowTime{true, *hours, *minutes, *seconds};
}

bool HasComputedField(const PlanRow& row) {
  return row.altitudeFt || row.courseDeg || row.distanceTenthsNm || row.time;
}

// The computed fields after the head. A TOC or TOD row puts its time at
// column 95 however long its distance is; every other row two blanks after
// its distance.
void AppendComputedFields(std::string& out, const PlanRow& row) {
  if (!HasComputedField(row)) return;
  if (row.altitudeFt) {
    platform::AppendZeroPadded(out, *row.altitudeFt, 5);
  } else {
    out.append(5, ' ');
  }
  if (!row.courseDeg && !row.distanceTenthsNm && !row.time) return;
  platform::PadTo(out, std::max(kCourseColumn, out.size() + kFieldGapChars));
  if (row.courseDeg) {
    platform::AppendZeroPadded(out, *row.courseDeg, 3);
  } else {
    out.append(3, ' ');
  }
  if (!row.distanceTenthsNm && !row.time) return;
  platform::PadTo(out, std::max(kDistanceColumn, out.size() + kFieldGapChars));
  out += row.distanceTenthsNm ? DistanceText(*row.distanceTenthsNm) : std::string(6, ' ');
  if (!row.time) return;
  const bool climbOrDescent =
      row.kind == PlanRowKind::TopOfClimb || row.kind == PlanRowKind::TopOfDescent;
  platform::PadTo(out, std::max(kTimeColumn, out.size() + (climbOrDescent ? 0 : kFieldGapChars)));
  out += TimeText(*row.time);
}

// Reads the computed fields from the blank-separated words after the head:
// the altitude right at its column, then course, distance and time, each
// when present. Where the words stand is checked by formatting them again.
bool ReadComputedFields(std::string_view tail, PlanRow& row) {
  size_t at = 0;
  size_t end = 0;
  int field = 0;  // 0 altitude, 1 course, 2 distance, 3 time, 4 none left
  while (true) {
    while (at < tail.size() && tail[at] == ' ') ++at;
    if (at == tail.size()) break;
    size_t wordEnd = std::min(tail.find(' ', at), tail.size());
    // A TOC or TOD row's time stands at its column however long the
    // distance before it: past 99,999 NM the two touch.
    const size_t point = tail.find('.', at);
    if (field <= 2 && point < wordEnd && point + 2 < wordEnd) wordEnd = point + 2;
    const std::string_view word = tail.substr(at, wordEnd - at);
    if (field == 0 && at == 0) {
      row.altitudeFt = ZeroPaddedValue(word, 5);
      if (!row.altitudeFt) return false;
      field = 1;
    } else if (field <= 1 && word.find_first_of(".:") == std::string_view::npos) {
      row.courseDeg = ZeroPaddedValue(word, 3);
      if (!row.courseDeg) return false;
      field = 2;
    } else if (field <= 2 && word.find('.') != std::string_view::npos) {
      row.distanceTenthsNm = ReadDistanceText(word);
      if (!row.distanceTenthsNm) return false;
      field = 3;
    } else if (field <= 3) {
      row.time = ReadTimeText(word);
      if (!row.time) return false;
      field = 4;
    } else {
      return false;
    }
    at = end = wordEnd;
  }
  // Blanks after the last field pad the text to its width.
  if (end < tail.size()) row.paddedChars = static_cast<int>(kHeadChars + tail.size());
  return true;
}

std::optional<PlanRowKind> KindOfText(std::string_view text) {
  for (const KindText& entry : kKindTexts) {
    if (!text.starts_with(entry.text)) continue;
    // A generated point is known only by its whole prefix, "TOC  *****".
    if (IsGenerated(entry.kind) &&
        platform::Columns(text, kIdentifierColumn, kGeneratedIdentifier.size()) !=
            kGeneratedIdentifier) {
      return std::nullopt;
    }
    return entry.kind;
  }
  return std::nullopt;
}

// The typed values of a text in the row layout, before the check that they
// give the text back.
std::optional<PlanRow> ReadLayout(std::string_view text) {
  if (text.size() < kHeadChars) return std::nullopt;
  const std::optional<PlanRowKind> kind = KindOfText(text);
  const std::optional<RowCoordinate> latitude =
      ReadLatitudeText(text.substr(kLatitudeColumn, kLatitudeChars));
  const std::optional<RowCoordinate> longitude =
      ReadLongitudeText(text.substr(kLongitudeColumn, kLongitudeChars));
  if (!kind || !latitude || !longitude) return std::nullopt;
  PlanRow row;
  row.kind = *kind;
  row.identifier = platform::TrimEnd(text.substr(kIdentifierColumn, kIdentifierChars));
  row.name = platform::TrimEnd(text.substr(kNameColumn, kNameChars));
  row.frequency = platform::TrimEnd(text.substr(kFrequencyColumn, kFrequencyChars));
  row.latitude = *latitude;
  row.longitude = *longitude;
  if (!ReadComputedFields(text.substr(kHeadChars), row)) return std::nullopt;
  return row;
}

std::string Field(std::string_view text, size_t first, size_t count) {
  return platform::Fitted(platform::Columns(text, first, count), count);
}

}  // namespace

bool IsGenerated(PlanRowKind kind) {
  switch (kind) {
    case PlanRowKind::Ndb:
    case PlanRowKind::Vor:
    case PlanRowKind::Ils:
    case PlanRowKind::Airport:
    case PlanRowKind::Intersection:
      return false;
    default:
      return true;
  }
}

std::string_view KindCode(PlanRowKind kind) {
  return KindTextOf(kind).text.substr(0, 3);
}

double RowCoordinate::Degrees() const {
  // The arithmetic of navdb::ParseLatitude on the text, step for step.
  const double seconds = hundredthsOfSecond / 100.0;
  const double angle = navdb::DegreesFromParts(degrees, minutes, seconds);
  return negative ? -angle : angle;
}

RowCoordinate RowCoordinate::FromDegrees(double degrees) {
  // The steps of navdb::FormatLatitude, each cut toward zero.
  RowCoordinate coordinate;
  if (!std::isfinite(degrees)) return coordinate;
  coordinate.negative = degrees < 0;
  const double a = std::fabs(degrees);
  const int d = CutToInt(a);
  const int m = CutToInt((a - d) * 60);
  const double s = (a + m * (-navdb::kOneSixtieth) - d) * 3600;
  const int w = CutToInt(s);
  const int h = CutToInt((s - w) * 100);
  coordinate.degrees = d;
  coordinate.minutes = m;
  coordinate.hundredthsOfSecond = w * 100 + h;
  return coordinate;
}

RowTime RowTime::FromMinutes(double minutes) {
  RowTime time;
  time.hours = CutToInt(minutes / 60);
  time.minutes = CutToInt(minutes - 60.0 * time.hours);
  time.seconds = CutToInt(static_cast<double>(
      platform::RoundHalfAwayFromZero((minutes - 60.0 * time.hours - time.minutes) * 60)));
  if (time.seconds == 60) {
    time.seconds = 0;
    if (++time.minutes == 60) {
      time.minutes = 0;
      ++time.hours;
    }
  }
  return time;
}

double PlanRow::DistanceNm() const {
  // Tenths over ten: the value the distance text reads as.
  return distanceTenthsNm ? static_cast<double>(*distanceTenthsNm) / 10 : 0.0;
}

int64_t TenthsOfNm(double distanceNm) {
  const int whole = CutToInt(distanceNm);
  const int tenth = CutToInt((distanceNm - whole) * 10);
  return std::max<int64_t>(0, int64_t{whole} * 10 + tenth);
}

std::string FormatDistance(double distanceNm) {
  return DistanceText(TenthsOfNm(distanceNm));
}

std::string FormatTime(double minutes) {
  return TimeText(RowTime::FromMinutes(minutes));
}

std::string FormatPlanRow(const PlanRow& row) {
  if (row.IsVerbatim()) return *row.verbatim;
  std::string text(KindTextOf(row.kind).text);
  text += row.identifier;
  platform::PadTo(text, kNameColumn);
  text += row.name;
  platform::PadTo(text, kFrequencyColumn);
  text += row.frequency;
  platform::PadTo(text, kLatitudeColumn);
  AppendCoordinate(text, row.latitude, 'N', 'S', 2);
  platform::PadTo(text, kLongitudeColumn);
  AppendCoordinate(text, row.longitude, 'E', 'W', 3);
  platform::PadTo(text, kAltitudeColumn);
  AppendComputedFields(text, row);
  platform::PadTo(text, static_cast<size_t>(std::max(0, row.paddedChars)));
  return text;
}

PlanRow ParsePlanRow(std::string_view text) {
  std::optional<PlanRow> row = ReadLayout(text);
  if (row && FormatPlanRow(*row) == text) return std::move(*row);
  PlanRow verbatim;
  verbatim.verbatim.emplace(text);
  return verbatim;
}

PlanRow InsertedRow(PlanRowKind kind, std::string_view identity, std::string_view frequency,
                    std::string_view position) {
  constexpr size_t kInsertedRowChars = 105;
  std::string text(KindTextOf(kind).text);
  text.append(kInsertedRowChars - text.size(), ' ');
  const auto put = [&text](size_t column, std::string_view part, size_t count) {
    part = part.substr(0, std::min(part.size(), count));
    text.replace(column, part.size(), part);
  };
  put(kIdentifierColumn, identity, kIdentifierChars + kNameChars);
  put(kFrequencyColumn, frequency, kFrequencyChars);
  put(kLatitudeColumn, position, 36);
  return ParsePlanRow(text);
}

PlanRow ForeignWaypointRow(PlanRowKind kind, std::string_view identifier, double latitudeDeg,
                           double longitudeDeg) {
  PlanRow row;
  row.kind = kind;
  row.identifier = std::string(platform::TrimEnd(identifier));
  row.frequency = std::string(kNoFrequency);
  row.latitude = RowCoordinate::FromDegrees(latitudeDeg);
  row.longitude = RowCoordinate::FromDegrees(longitudeDeg);
  row.altitudeFt = 0;
  // The import writes one blank after the altitude.
  row.paddedChars = static_cast<int>(kAltitudeColumn + 6);
  return row;
}

PlanRow GeneratedRow(PlanRowKind kind, double latitudeDeg, double longitudeDeg) {
  PlanRow row;
  row.kind = kind;
  row.identifier = std::string(kGeneratedIdentifier);
  row.name = std::string(KindTextOf(kind).caption);
  row.frequency = std::string(kNoFrequency);
  row.latitude = RowCoordinate::FromDegrees(latitudeDeg);
  row.longitude = RowCoordinate::FromDegrees(longitudeDeg);
  return row;
}

std::string LineIdentity(const PlanRow& row) {
  return platform::Fitted(row.identifier, kIdentifierChars) +
         platform::Fitted(row.name, kNameChars);
}

std::optional<PlanRowKind> MarkedKind(const PlanRow& row) {
  if (!row.IsVerbatim()) return row.kind;
  return KindOfText(*row.verbatim);
}

std::optional<RowCoordinate> ReadLatitudeText(std::string_view text) {
  return ReadCoordinateText(text, 'N', 'S', 2);
}

std::optional<RowCoordinate> ReadLongitudeText(std::string_view text) {
  return ReadCoordinateText(text, 'E', 'W', 3);
}

bool SameNavaid(const PlanRow& row, const PlanRow& moved) {
  const std::string identity = FormatPlanRow(moved);
  return StartsWithNoCase(FormatPlanRow(row), platform::Columns(identity, 0, kIdentityChars));
}

PrintedColumns PrintedColumnsOf(const PlanRow& row) {
  const std::string text = FormatPlanRow(row);
  PrintedColumns columns;
  columns.kind = Field(text, 0, kKindChars);
  columns.identifier = Field(text, kIdentifierColumn, 6);
  columns.name = Field(text, kNameColumn, kNameChars);
  columns.frequency = Field(text, kFrequencyColumn, 8);
  columns.latitude = Field(text, kLatitudeColumn, 14);
  columns.longitude = Field(text, kLongitudeColumn, 15);
  columns.altitude = Field(text, kAltitudeColumn, 7);
  columns.course = Field(text, kCourseColumn, 5);
  columns.distanceTime = std::string(platform::Columns(text, kDistanceColumn));
  return columns;
}

}  // namespace planner
