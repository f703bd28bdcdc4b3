#include "planner/printout.h"

#include <cstdint>
#include <cstdio>

#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

constexpr int kFirstRowLine = 16;
constexpr int kLastRowLine = 56;
const std::string kSeparator(72, '-');

// `count` characters from column `first`, padded where the row is shorter.
std::string Field(std::string_view row, size_t first, size_t count) {
  return platform::Fitted(platform::Columns(row, first, count), count);
}

std::string NumberText(int32_t value) {
  return std::to_string(static_cast<uint32_t>(value));
}

void AddHeader(PrintPage& page, const PlannerState& state) {
  const AircraftPerformance& p = state.plan.performance;
  const PlanDialog& dialog = state.dialog;
  page.lines = {
      {2, "ND Flight Plan (generated for Vistrel.ND by Skyatlas v1.3)"},
      {3, kSeparator},
      {6, "Aircraft: " + p.aircraftName},
      {7, "Cruise altitude (ft): " + NumberText(p.cruiseAltitudeFt) +
              "   Cruise  speed (kt): " + p.cruiseSpeed},
      {8, "Climb   rate(ft/min): " + NumberText(p.climbRateFpm) +
              "    Climb   speed (kt): " + NumberText(p.climbSpeedKt)},
      {9, "Descent rate(ft/min): " + NumberText(p.descentRateFpm) +
              "    Descent speed (kt): " + NumberText(p.descentSpeedKt)},
      {11, "Departure: " + dialog.departureAirportText +
               "    Runway: " + dialog.departureRunway.Text() + "  (N\xB0/hdg/length)"},
      {12, "Arrival  : " + dialog.arrivalAirportText +
               "    Runway: " + dialog.arrivalRunway.Text() + "  (N\xB0/hdg/length)"},
      {14, kSeparator},
      {15, "Waypoint  Full name / Frequency    GPS Location  Alt/Hdg Dist.   Time"},
      {16, kSeparator},
  };
}

// Leg distance and leg time from `row` to `next`.
std::string LegText(std::string_view row, std::string_view next) {
  const double legNm = platform::ReadDouble(next, 87) - platform::ReadDouble(row, 87);
  const long tenths = platform::RoundHalfAwayFromZero(legNm * 10);
  const long whole = static_cast<long>(tenths * 0.1);
  long seconds = platform::ReadLong(next, 101) - platform::ReadLong(row, 101);
  long minutes = platform::ReadLong(next, 98) - platform::ReadLong(row, 98);
  if (seconds < 0) {
    seconds += 60;
    minutes -= 1;
  }
  if (minutes < 0) minutes += 60;
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "+%03ld.%1ld  +  %02ld:%02ld  ", whole, tenths - 10 * whole,
                minutes, seconds);
  return buffer;
}

}  // namespace

std::vector<PrintPage> LayoutPrintout(const PlannerState& state) {
  const std::vector<std::string>& rows = state.dialog.rows;
  std::vector<PrintPage> pages(1);
  AddHeader(pages.back(), state);
  int k = kFirstRowLine;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string_view row = rows[i];
    std::vector<PrintLine>& lines = pages.back().lines;
    lines.push_back({k + 1, Field(row, 0, 5) + "    " + Field(row, 12, 26) + Field(row, 46, 14) +
                                Field(row, 75, 7) +
                                std::string(platform::Columns(row, 87, std::string_view::npos))});
    std::string second = Field(row, 5, 6) + "   Frequency : " + Field(row, 38, 8) + "      " +
                         Field(row, 60, 15) + " " + Field(row, 82, 5);
    if (i + 1 < rows.size()) second += LegText(row, rows[i + 1]);
    lines.push_back({k + 2, second});
    k += 3;
    // A full page ends only when another row follows, so the closing lines
    // of a plan that just fits stay on its last page.
    if (k > kLastRowLine && i + 1 < rows.size()) {
      char footer[32];
      std::snprintf(footer, sizeof footer, "page: %d/..", static_cast<int>(pages.size()));
      lines.push_back({k - 3 + 5, std::string(60, ' ') + footer});
      pages.emplace_back();
      k = 1;
    }
  }
  std::string fileLine = "File: " + state.plan.planName;
  platform::PadTo(fileLine, 60);
  pages.back().lines.push_back({k, kSeparator});
  pages.back().lines.push_back({k + 1, fileLine + "(last page)"});
  return pages;
}

std::string PrintoutText(const std::vector<PrintPage>& pages) {
  std::string text;
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) text += '\f';
    int line = 0;
    for (const PrintLine& printed : pages[p].lines) {
      for (; line < printed.lineNumber; ++line) text += '\n';
      text += printed.text;
    }
    text += '\n';
  }
  return text;
}

}  // namespace planner
