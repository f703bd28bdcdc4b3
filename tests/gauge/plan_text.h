// ND plan texts as the planner saves them, for the route tests.
#pragma once

#include <string>
#include <vector>

namespace gauge_test {

struct PlanRow {
  std::string kind;  // "APT", "VOR", "NDB", "INT", "TOC", "TOD", "ILS"
  std::string ident;
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  int altitudeFt = 0;
};

// One waypoint row: 103 characters (no line end).
std::string PlanRowText(const PlanRow& row);

// A whole plan file text with CR LF line ends.
std::string PlanText(const std::string& departureRunway, const std::string& arrivalRunway,
                     const std::vector<PlanRow>& rows);

}  // namespace gauge_test
