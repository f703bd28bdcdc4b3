// Building entry lines from field values and taking them apart again.
//
// Fields are appended left to right; after each text field the line is
// filled with spaces up to the next field's column. A field longer than its
// width is not cut: producers keep the widths.
#pragma once

#include <string>
#include <string_view>

#include "navdb/navaid_kind.h"

namespace navdb {

struct NdbLineFields {
  std::string_view identifier;
  std::string_view name;
  std::string_view frequencyText;  // kHz, "375.0"
  std::string_view latitudeText;
  std::string_view longitudeText;
  long elevationFt = 0;
  long rangeNm = 0;
};

struct VorLineFields {
  std::string_view identifier;
  std::string_view name;
  std::string_view typeText;       // VorTypeText()
  std::string_view frequencyText;  // MHz, "113.90"
  std::string_view courseText;     // localizer course, empty unless ILS
  std::string_view latitudeText;
  std::string_view longitudeText;
  long elevationFt = 0;
  long rangeNm = 0;
  long magneticVariationTenths = 0;  // signed tenths of a degree
};

struct RunwayLineFields {
  std::string_view identifier;
  std::string_view name;
  std::string_view designation;  // "09L/27R", "09 /HEL", ...
  long headingDeg = 0;
  long oppositeHeadingDeg = 0;
  std::string_view latitudeText;
  std::string_view longitudeText;
  long elevationFt = 0;
  long lengthFt = 0;
  long widthFt = 0;
  std::string_view atisText;  // "118.05", "000.00" when none
};

struct IntersectionLineFields {
  std::string_view identifier;
  std::string_view comment;
  std::string_view latitudeText;
  std::string_view longitudeText;
  long elevationFt = 0;
};

std::string BuildNdbLine(const NdbLineFields& fields);
std::string BuildVorLine(const VorLineFields& fields);
std::string BuildRunwayLine(const RunwayLineFields& fields);
std::string BuildIntersectionLine(const IntersectionLineFields& fields);

enum class VorBase { Vor, Ils, DmeOnly };

// "VOR", "ILS" or "DME", then "/DME" (not for DME-only), "/GS " and "/TCN".
std::string VorTypeText(VorBase base, bool hasDme, bool hasGlideSlope, bool hasTacan);

// Designator kinds of a runway end.
enum class RunwayDesignator { LeftRight = 1, RightLeft = 2, Centre = 3, Helipad = 4, Plain = 5 };

int OppositeRunwayNumber(int number);
long OppositeHeading(long headingDeg);
// The 9-character designation: "09L/27R  ", "09 /HEL  ", "09 /27   ", ...
std::string RunwayDesignation(int number, RunwayDesignator designator);

// Measured-value conversions used when lines are built from scenery data.
long MetresToFeet(double metres);
long HeadingToWholeDegrees(double headingDeg);
long MagneticVariationTenths(double variationDeg);
// Columns 104-108 of a VOR line: sign column and "%02d.%1d" of the magnitude.
std::string FormatMagneticVariation(long tenths);

// Fields of a line taken apart by fixed columns; fields a kind does not have
// stay empty. Texts of identifier, name and comment lose trailing spaces.
struct EntryFields {
  std::string identifier;
  std::string name;
  std::string frequencyInteger, frequencyDecimals;
  std::string typeText;
  std::string courseText;
  std::string designation, oppositeDesignation;
  std::string heading, oppositeHeading;
  char latitudeHemisphere = ' ';
  std::string latitudeDegrees, latitudeMinutes, latitudeSeconds, latitudeHundredths;
  char longitudeHemisphere = ' ';
  std::string longitudeDegrees, longitudeMinutes, longitudeSeconds, longitudeHundredths;
  std::string latitudeText;  // the whole coordinate texts, from the hemisphere letter
  std::string longitudeText;
  std::string elevation;
  std::string range;
  std::string length, width;
  std::string magneticVariation;
  std::string atisInteger, atisDecimals;
};

EntryFields ParseEntryLine(NavaidKind kind, std::string_view line);

}  // namespace navdb
