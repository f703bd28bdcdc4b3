// Writes small navaid databases by hand, in the fixed-column file forms the
// display reads: ndb.dat, vor.dat, apt.dat, int.dat and idx.dat.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace gauge_test {

struct TestNavaid {
  char kind = 'N';  // 'N' NDB, 'V' VOR/ILS/DME, 'A' runway, 'I' intersection
  std::string ident;
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  std::string vorType = "VOR";  // "VOR", "ILS", "DME", "VOR/DME", ...
  int headingDeg = 90;          // runways, and the localizer course of an ILS
  int lengthFt = 8000;          // runways
};

std::string LatitudeText(double latitudeDeg);    // N48°51'24.00 (0xB0 degree sign)
std::string LongitudeText(double longitudeDeg);  // W002°21'03.00

// File lines without their CR LF, separators set.
std::string NdbFileLine(const TestNavaid& navaid);
std::string VorFileLine(const TestNavaid& navaid);
std::string RunwayFileLine(const TestNavaid& navaid);
std::string IntersectionFileLine(const TestNavaid& navaid);
std::string IndexLine(const std::string& latitudeText, const std::string& longitudeText,
                      const char* tag, int row);

struct DatabaseFiles {
  std::string ndb;
  std::string vor;
  std::string airports;
  std::string intersections;
  std::string index;
};

// The five file texts; rows follow the order of the navaids of each kind,
// index lines are sorted by longitude from 180 degrees west eastwards.
DatabaseFiles BuildDatabase(const std::vector<TestNavaid>& navaids);

// Writes the files into simulatorRoot/NavData (created when missing).
void WriteDatabase(const std::filesystem::path& simulatorRoot, const DatabaseFiles& files);

}  // namespace gauge_test
