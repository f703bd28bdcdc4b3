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

// The minutes and seconds of a row's time; hours are not used, and a row
// without a time counts as 00:00.
long TimeMinutes(const PlanRow& row) {
  return row.time && row.time->known ? row.time->minutes : 0;
}
long TimeSeconds(const PlanRow& row) {
  return row.time && row.time->known ? row.time->seconds : 0;
}

// Leg distance and leg time from `row` to `next`.
std::string LegText(const PlanRow& row, const PlanRow& next) {
  const double legNm = next.DistanceNm() - row.DistanceNm();
  const long tenths = platform::RoundHalfAwayFromZero(legNm * 10);
  const long whole = static_cast<long>(tenths * 0.1);
  long seconds = TimeSeconds(next) - TimeSeconds(row);
  long minutes = TimeMinutes(next) - TimeMinutes(row);
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
  const std::vector<PlanRow>& rows = state.dialog.rows;
  std::vector<PrintPage> pages(1);
  AddHeader(pages.back(), state);
  int k = kFirstRowLine;
  for (size_t i = 0; i < rows.size(); ++i) {
    // The row's own columns, then the leg toward the next row.
    const PrintedColumns row = PrintedColumnsOf(rows[i]);
    std::vector<PrintLine>& lines = pages.back().lines;
    lines.push_back(
        {k + 1, row.kind + "    " + row.name + row.latitude + row.altitude + row.distanceTime});
    std::string second = row.identifier + "   Frequency : " + row.frequency + "      " +
                         row.longitude + " " + row.course;
    if (i + 1 < rows.size()) second += LegText(rows[i], rows[i + 1]);
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
