#include "tests/support/database_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <utility>

namespace gauge_test {

namespace {

constexpr char kDegreeSign = static_cast<char>(0xB0);

std::string CoordinateText(double valueDeg, char positive, char negative, int degreeDigits) {
  double magnitude = std::fabs(valueDeg);
  long hundredths = std::lround(magnitude * 360000.0);
  int degrees = static_cast<int>(hundredths / 360000);
  int minutes = static_cast<int>(hundredths / 6000 % 60);
  int seconds = static_cast<int>(hundredths / 100 % 60);
  int fraction = static_cast<int>(hundredths % 100);
  char text[32];
  std::snprintf(text, sizeof(text), "%c%0*d%c%02d'%02d.%02d", valueDeg < 0 ? negative : positive,
                degreeDigits, degrees, kDegreeSign, minutes, seconds, fraction);
  return text;
}

// A line of spaces with each field written at its column.
class FixedLine {
 public:
  explicit FixedLine(size_t lengthChars) : text_(lengthChars, ' ') {}
  FixedLine& At(size_t column, const std::string& field) {
    text_.replace(column, std::min(field.size(), text_.size() - column),
                  field.substr(0, text_.size() - column));
    return *this;
  }
  std::string WithSeparators(std::initializer_list<size_t> columns) {
    for (size_t column : columns) text_[column] = ';';
    return text_;
  }

 private:
  std::string text_;
};

std::string Number(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

// Magnitude of a coordinate text as the index computes it (cut at each step).
double TextMagnitude(const std::string& text, size_t minutesAt) {
  double degrees = std::strtol(text.c_str() + 1, nullptr, 10);
  double minutes = std::strtol(text.c_str() + minutesAt, nullptr, 10);
  double seconds = std::strtod(text.c_str() + minutesAt + 3, nullptr);
  return (seconds * 0.016666666666666666 + minutes) * 0.016666666666666666 + degrees;
}

std::string WithHeader(const char* header, const std::vector<std::string>& lines) {
  std::string text = std::string(header) + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

std::string LatitudeText(double latitudeDeg) {
  return CoordinateText(latitudeDeg, 'N', 'S', 2);
}

std::string LongitudeText(double longitudeDeg) {
  return CoordinateText(longitudeDeg, 'E', 'W', 3);
}

std::string NdbFileLine(const TestNavaid& navaid) {
  return FixedLine(79)
      .At(0, navaid.ident)
      .At(7, navaid.ident + " NDB")
      .At(33, "375.0")
      .At(40, LatitudeText(navaid.latitudeDeg))
      .At(54, LongitudeText(navaid.longitudeDeg))
      .At(69, "00100")
      .At(76, "025")
      .WithSeparators({5, 31, 38, 52, 67, 74});
}

std::string VorFileLine(const TestNavaid& navaid) {
  bool ils = navaid.vorType.starts_with("ILS");
  return FixedLine(109)
      .At(0, navaid.ident)
      .At(7, navaid.ident + " STATION")
      .At(33, navaid.vorType)
      .At(50, "113.90")
      .At(58, ils ? Number("%03d", navaid.headingDeg) : "")
      .At(63, LatitudeText(navaid.latitudeDeg))
      .At(77, LongitudeText(navaid.longitudeDeg))
      .At(92, "00200")
      .At(99, "130")
      .At(105, "01.0")
      .WithSeparators({5, 31, 48, 56, 61, 75, 90, 97, 102});
}

std::string RunwayFileLine(const TestNavaid& navaid) {
  int number = (navaid.headingDeg + 5) / 10 % 36;
  if (number == 0) number = 36;
  int opposite = number > 18 ? number - 18 : number + 18;
  int oppositeHeading = navaid.headingDeg > 180 ? navaid.headingDeg - 180 : navaid.headingDeg + 180;
  char designation[32];
  std::snprintf(designation, sizeof(designation), "%02d /%02d   ", number, opposite);
  char headings[32];
  std::snprintf(headings, sizeof(headings), "%03d/%03d  ", navaid.headingDeg, oppositeHeading);
  return FixedLine(105)
      .At(0, navaid.ident)
      .At(7, navaid.ident + " AIRPORT")
      .At(33, designation)
      .At(42, headings)
      .At(51, LatitudeText(navaid.latitudeDeg))
      .At(65, LongitudeText(navaid.longitudeDeg))
      .At(80, "00300")
      .At(87, Number("%05d", navaid.lengthFt))
      .At(94, "150")
      .At(99, "118.05")
      .WithSeparators({5, 31, 40, 49, 63, 78, 85, 92, 97});
}

std::string IntersectionFileLine(const TestNavaid& navaid) {
  return FixedLine(67)
      .At(0, navaid.ident)
      .At(33, LatitudeText(navaid.latitudeDeg))
      .At(47, LongitudeText(navaid.longitudeDeg))
      .At(62, "00000")
      .WithSeparators({5, 31, 45, 60});
}

std::string IndexLine(const std::string& latitudeText, const std::string& longitudeText,
                      const char* tag, int row) {
  auto wholeAndMillionths = [](double magnitude) {
    int whole = static_cast<int>(magnitude);
    int millionths = static_cast<int>((magnitude - whole) * 1000000.0);
    return std::pair(whole, millionths);
  };
  auto [lonWhole, lonMillionths] = wholeAndMillionths(TextMagnitude(longitudeText, 5));
  auto [latWhole, latMillionths] = wholeAndMillionths(TextMagnitude(latitudeText, 4));
  char text[64];
  std::snprintf(text, sizeof(text), " %03d.%06d %c%02d.%06d  %s%05d", lonWhole, lonMillionths,
                latitudeText[0] == 'N' ? ' ' : '-', latWhole, latMillionths, tag, row);
  if (longitudeText[0] != 'E') text[0] = '-';
  return text;
}

DatabaseFiles BuildDatabase(const std::vector<TestNavaid>& navaids) {
  std::vector<std::string> ndbs, vors, runways, intersections;
  std::vector<std::pair<double, std::string>> index;
  for (const TestNavaid& navaid : navaids) {
    std::string latitude = LatitudeText(navaid.latitudeDeg);
    std::string longitude = LongitudeText(navaid.longitudeDeg);
    std::vector<std::string>* lines = nullptr;
    const char* tag = "NDB";
    switch (navaid.kind) {
      case 'N':
        lines = &ndbs;
        ndbs.push_back(NdbFileLine(navaid));
        break;
      case 'V':
        lines = &vors;
        tag = "VOR";
        vors.push_back(VorFileLine(navaid));
        break;
      case 'A':
        lines = &runways;
        tag = "APT";
        runways.push_back(RunwayFileLine(navaid));
        break;
      default:
        lines = &intersections;
        tag = "INT";
        intersections.push_back(IntersectionFileLine(navaid));
        break;
    }
    std::string line = IndexLine(latitude, longitude, tag, static_cast<int>(lines->size()) - 1);
    double signedLongitude = std::strtod(line.c_str() + 1, nullptr) * (line[0] == '-' ? -1 : 1);
    index.emplace_back(signedLongitude, line);
  }
  std::stable_sort(index.begin(), index.end(),
                   [](const auto& left, const auto& right) { return left.first < right.first; });
  std::vector<std::string> indexLines;
  for (const auto& entry : index) indexLines.push_back(entry.second);
  return {WithHeader("// NDB database for Skyatlas", ndbs),
          WithHeader("// VOR database for Skyatlas", vors),
          WithHeader("// Airport database for Skyatlas", runways),
          WithHeader("// Intersection database for Skyatlas", intersections),
          WithHeader("// Index for Skyatlas 99", indexLines)};
}

void WriteDatabase(const std::filesystem::path& simulatorRoot, const DatabaseFiles& files) {
  std::filesystem::path folder = simulatorRoot / "NavData";
  std::filesystem::create_directories(folder);
  auto write = [&folder](const char* name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
  };
  write("ndb.dat", files.ndb);
  write("vor.dat", files.vor);
  write("apt.dat", files.airports);
  write("int.dat", files.intersections);
  write("idx.dat", files.index);
}

}  // namespace gauge_test
