#include "navdb/entry_lines.h"

#include <algorithm>
#include <cstring>

#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace navdb {

using platform::Columns;
using platform::TrimEnd;

namespace {

// Appends fields and pads with spaces up to given columns, writing into a
// string sized up front (lines are built by the thousand during a scan).
class LineWriter {
 public:
  // Room for the line and one number more, so that no field makes it grow.
  explicit LineWriter(size_t lineLength) : line_(lineLength + kLongestNumber, ' ') {}
  LineWriter& text(std::string_view field) {
    Room(field.size());
    if (!field.empty()) std::memcpy(line_.data() + size_, field.data(), field.size());
    size_ += field.size();
    return *this;
  }
  LineWriter& padTo(size_t column) {
    if (size_ < column) {
      Room(column - size_);
      std::memset(line_.data() + size_, ' ', column - size_);
      size_ = column;
    }
    return *this;
  }
  // "%0<width>ld" of `value`.
  LineWriter& number(long value, int width) {
    Room(kLongestNumber);
    char* const at = line_.data() + size_;
    size_ += static_cast<size_t>(platform::WriteZeroPadded(at, value, width) - at);
    return *this;
  }
  std::string take() {
    line_.resize(size_);
    return std::move(line_);
  }

 private:
  static constexpr size_t kLongestNumber = 47;  // what WriteZeroPadded writes at most
  void Room(size_t bytes) {
    if (size_ + bytes > line_.size()) line_.resize(std::max(2 * line_.size(), size_ + bytes));
  }
  std::string line_;
  size_t size_ = 0;
};

char CharAt(std::string_view line, size_t column) {
  return column < line.size() ? line[column] : ' ';
}

// Parts of a coordinate whose hemisphere letter is at `column`; `degreeDigits` is 2 or 3.
void ParseCoordinateColumns(std::string_view line, size_t column, size_t degreeDigits,
                            char& hemisphere, std::string& degrees, std::string& minutes,
                            std::string& seconds, std::string& hundredths, std::string& whole) {
  hemisphere = CharAt(line, column);
  const size_t d = column + 1;
  degrees = Columns(line, d, degreeDigits);
  minutes = Columns(line, d + degreeDigits + 1, 2);
  seconds = Columns(line, d + degreeDigits + 4, 2);
  hundredths = Columns(line, d + degreeDigits + 7, 2);
  whole = Columns(line, column, degreeDigits + 10);
}

}  // namespace

std::string BuildNdbLine(const NdbLineFields& f) {
  return LineWriter(80)
      .text(f.identifier)
      .padTo(7)
      .text(f.name)
      .padTo(33)
      .text(f.frequencyText)
      .padTo(40)
      .text(f.latitudeText)
      .padTo(54)
      .text(f.longitudeText)
      .padTo(69)
      .number(f.elevationFt, 5)
      .padTo(76)
      .number(f.rangeNm, 3)
      .take();
}

std::string BuildVorLine(const VorLineFields& f) {
  return LineWriter(110)
      .text(f.identifier)
      .padTo(7)
      .text(f.name)
      .padTo(33)
      .text(f.typeText)
      .padTo(50)
      .text(f.frequencyText)
      .padTo(58)
      .text(f.courseText)
      .padTo(63)
      .text(f.latitudeText)
      .padTo(77)
      .text(f.longitudeText)
      .padTo(92)
      .number(f.elevationFt, 5)
      .padTo(99)
      .number(f.rangeNm, 3)
      .padTo(104)
      .text(FormatMagneticVariation(f.magneticVariationTenths))
      .take();
}

std::string BuildRunwayLine(const RunwayLineFields& f) {
  return LineWriter(106)
      .text(f.identifier)
      .padTo(7)
      .text(f.name)
      .padTo(33)
      .text(f.designation)
      .padTo(42)
      .number(f.headingDeg, 3)
      .text("/")
      .number(f.oppositeHeadingDeg, 3)
      .padTo(51)
      .text(f.latitudeText)
      .padTo(65)
      .text(f.longitudeText)
      .padTo(80)
      .number(f.elevationFt, 5)
      .padTo(87)
      .number(f.lengthFt, 5)
      .padTo(94)
      .number(f.widthFt, 3)
      .padTo(99)
      .text(f.atisText)
      .take();
}

std::string BuildIntersectionLine(const IntersectionLineFields& f) {
  return LineWriter(68)
      .text(f.identifier)
      .padTo(7)
      .text(f.comment)
      .padTo(33)
      .text(f.latitudeText)
      .padTo(47)
      .text(f.longitudeText)
      .padTo(62)
      .number(f.elevationFt, 5)
      .take();
}

std::string VorTypeText(VorBase base, bool hasDme, bool hasGlideSlope, bool hasTacan) {
  std::string type = base == VorBase::Ils ? "ILS" : base == VorBase::DmeOnly ? "DME" : "VOR";
  if (hasDme && base != VorBase::DmeOnly) type += "/DME";
  if (hasGlideSlope) type += "/GS ";
  if (hasTacan) type += "/TCN";
  return type;
}

int OppositeRunwayNumber(int number) {
  return number > 18 ? number - 18 : number + 18;
}

long OppositeHeading(long headingDeg) {
  return headingDeg > 180 ? headingDeg - 180 : headingDeg + 180;
}

std::string RunwayDesignation(int number, RunwayDesignator designator) {
  const int opposite = OppositeRunwayNumber(number);
  // "%02dL/%02dR  " and the like, written in place.
  char text[2 * 20 + 8];
  char* out = platform::WriteZeroPadded(text, number, 2);
  const auto put = [&out](std::string_view part) {
    for (char c : part) *out++ = c;
  };
  switch (designator) {
    case RunwayDesignator::LeftRight:
      put("L/");
      out = platform::WriteZeroPadded(out, opposite, 2);
      put("R  ");
      break;
    case RunwayDesignator::RightLeft:
      put("R/");
      out = platform::WriteZeroPadded(out, opposite, 2);
      put("L  ");
      break;
    case RunwayDesignator::Centre:
      put("C/");
      out = platform::WriteZeroPadded(out, opposite, 2);
      put("C  ");
      break;
    case RunwayDesignator::Helipad:
      put(" /HEL  ");
      break;
    default:
      put(" /");
      out = platform::WriteZeroPadded(out, opposite, 2);
      put("   ");
      break;
  }
  return std::string(text, out);
}

long MetresToFeet(double metres) {
  return platform::RoundHalfAwayFromZero(metres * 3.280839895013123);
}

long HeadingToWholeDegrees(double headingDeg) {
  if (headingDeg < 0) headingDeg += 360;
  return platform::RoundHalfAwayFromZero(headingDeg);
}

long MagneticVariationTenths(double variationDeg) {
  return platform::RoundHalfAwayFromZero(variationDeg * 10);
}

std::string FormatMagneticVariation(long tenths) {
  const long magnitude = tenths < 0 ? -tenths : tenths;
  std::string text(1, tenths < 0 ? '-' : ' ');
  platform::AppendZeroPadded(text, magnitude / 10, 2);
  text += '.';
  platform::AppendZeroPadded(text, magnitude % 10, 1);
  return text;
}

EntryFields ParseEntryLine(NavaidKind kind, std::string_view line) {
  EntryFields f;
  f.identifier = std::string(TrimEnd(Columns(line, 0, 5)));
  f.name = std::string(TrimEnd(Columns(line, 7, 24)));
  const KindInfo& info = InfoOf(kind);
  ParseCoordinateColumns(line, info.latitudeColumn, 2, f.latitudeHemisphere, f.latitudeDegrees,
                         f.latitudeMinutes, f.latitudeSeconds, f.latitudeHundredths,
                         f.latitudeText);
  ParseCoordinateColumns(line, info.longitudeColumn, 3, f.longitudeHemisphere, f.longitudeDegrees,
                         f.longitudeMinutes, f.longitudeSeconds, f.longitudeHundredths,
                         f.longitudeText);
  switch (kind) {
    case NavaidKind::Ndb:
      f.frequencyInteger = Columns(line, 33, 3);
      f.frequencyDecimals = Columns(line, 37, 1);
      f.elevation = Columns(line, 69, 5);
      f.range = Columns(line, 76, 3);
      break;
    case NavaidKind::Vor:
      f.typeText = Columns(line, 33, 15);
      f.frequencyInteger = Columns(line, 50, 3);
      f.frequencyDecimals = Columns(line, 54, 2);
      f.courseText = Columns(line, 58, 3);
      f.elevation = Columns(line, 92, 5);
      f.range = Columns(line, 99, 3);
      f.magneticVariation = Columns(line, 104, 5);
      break;
    case NavaidKind::Airport:
      f.designation = Columns(line, 33, 3);
      f.oppositeDesignation = Columns(line, 37, 3);
      f.heading = Columns(line, 42, 3);
      f.oppositeHeading = Columns(line, 46, 3);
      f.elevation = Columns(line, 80, 5);
      f.length = Columns(line, 87, 5);
      f.width = Columns(line, 94, 3);
      f.atisInteger = Columns(line, 99, 3);
      f.atisDecimals = Columns(line, 103, 2);
      break;
    case NavaidKind::Intersection:
      f.elevation = Columns(line, 62, 5);
      break;
  }
  return f;
}

}  // namespace navdb
