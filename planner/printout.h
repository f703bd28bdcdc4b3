// The printed flight plan as a page layout: for each page, the texts and
// the line numbers they go on. A printer draws line n at n times the
// character height of a fixed-pitch font.
#pragma once

#include <string>
#include <vector>

#include "planner/flight_plan.h"

namespace planner {

struct PrintLine {
  int lineNumber;
  std::string text;  // Windows-1252 bytes
};

struct PrintPage {
  std::vector<PrintLine> lines;
};

inline constexpr std::string_view kPrintDocumentName = "ND Flight Plan";

// The pages of the current plan: header, two lines per row with the leg
// toward the next row, page footers and the "(last page)" line.
std::vector<PrintPage> LayoutPrintout(const PlannerState& state);

// The pages as plain text: every page's lines at their line numbers, LF
// line ends, pages separated by a form feed.
std::string PrintoutText(const std::vector<PrintPage>& pages);

}  // namespace planner
