#include "data/route_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/coordinate_text.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

constexpr size_t kMaxRows = LUMARO_ROUTE_CAPACITY;
constexpr std::string_view kWaypointsSection = "[WAYPOINTS]";

std::string_view RestOfLine(std::string_view text, size_t position) {
  std::string_view rest = platform::Columns(text, position);
  return rest.substr(0, rest.find_first_of("\r\n"));
}

void CopyText(char* target, size_t capacityBytes, std::string_view text) {
  size_t lengthChars = std::min(text.size(), capacityBytes - 1);
  if (lengthChars > 0) std::memcpy(target, text.data(), lengthChars);
  target[lengthChars] = '\0';
}

// "AIRPORT=" and "RUNWAY=" of one section; runway text as 09L/087/11000.
void ReadRunwaySection(std::string_view text, std::string_view section, RunwayRecord& runway) {
  size_t sectionAt = text.find(section);
  if (sectionAt == std::string_view::npos) return;
  constexpr std::string_view kAirport = "AIRPORT=";
  constexpr std::string_view kRunway = "RUNWAY=";
  size_t searchFrom = sectionAt;
  size_t airportAt = text.find(kAirport, sectionAt);
  if (airportAt != std::string_view::npos) {
    CopyText(runway.airport, 6, RestOfLine(text, airportAt + kAirport.size()).substr(0, 5));
    searchFrom = airportAt;
  }
  size_t runwayAt = text.find(kRunway, searchFrom);
  if (runwayAt == std::string_view::npos) return;
  std::string_view value = RestOfLine(text, runwayAt + kRunway.size());
  CopyText(runway.designation, 6, value.substr(0, value.find('/')));
  size_t slashAt = 3;
  if (value.size() > 3 && value[3] == '/') {
    runway.headingDeg = static_cast<int32_t>(platform::ReadLong(platform::Columns(value, 4, 16)));
    slashAt = 4;
  }
  if (value.size() > slashAt + 3 && value[slashAt + 3] == '/') {
    runway.lengthFt =
        static_cast<int32_t>(platform::ReadLong(platform::Columns(value, slashAt + 4, 16)));
  }
}

// Row positions 105 bytes apart after "[WAYPOINTS]"; a row needs its 103
// characters inside the text, and a row whose byte 104 is the end stops it.
size_t FindRows(std::string_view text, std::array<size_t, kMaxRows>& rows) {
  size_t sectionAt = text.find(kWaypointsSection);
  if (sectionAt == std::string_view::npos) return 0;
  size_t rowAt = sectionAt + kWaypointsSection.size() + 2;
  size_t count = 0;
  while (count < kMaxRows && rowAt + 103 <= text.size()) {
    rows[count++] = rowAt;
    if (rowAt + 104 >= text.size()) break;
    rowAt += kRouteRowBytes;
  }
  return count;
}

DisplayRecord MakeRoutePoint(std::string_view row, bool firstRow) {
  DisplayRecord point{};
  point.latitudeDeg =
      static_cast<float>(platform::ReadLatitudeText(platform::Columns(row, 46, 14)));
  point.longitudeDeg =
      static_cast<float>(platform::ReadLongitudeText(platform::Columns(row, 60, 15)));
  point.row = -1;
  point.shown = 1;
  std::string_view kindText = platform::Columns(row, 0, 3);
  std::string label(platform::Columns(row, 5, 5));
  std::string altitude(platform::Columns(row, 75, 3));
  if (kindText == "VOR") {
    point.kind = LUMARO_KIND_VOR;
  } else if (kindText == "NDB") {
    point.kind = LUMARO_KIND_NDB;
  } else if (kindText == "INT") {
    point.kind = LUMARO_KIND_INTERSECTION;
  } else if (kindText == "TOC") {
    point.kind = LUMARO_KIND_TOP_OF_CLIMB;
    label = "FL" + altitude;
  } else if (kindText == "TOD") {
    point.kind = LUMARO_KIND_TOP_OF_DESCENT;
    label = "FL" + altitude + "D";
  } else if (kindText == "APT") {
    point.kind = firstRow ? LUMARO_KIND_DEPARTURE : LUMARO_KIND_ARRIVAL;
  }
  CopyText(point.label, sizeof(point.label), label);
  return point;
}

}  // namespace

RouteReadOutcome ReadRouteText(std::span<const char> block, RouteData& route) {
  route.departure = {};
  route.arrival = {};
  const void* end = block.empty() ? nullptr : std::memchr(block.data(), '\0', block.size());
  if (end == nullptr) return RouteReadOutcome::Fault;
  std::string_view text(block.data(),
                        static_cast<size_t>(static_cast<const char*>(end) - block.data()));
  ReadRunwaySection(text, "[DEPARTURE]", route.departure);
  ReadRunwaySection(text, "[ARRIVAL]", route.arrival);
  std::array<size_t, kMaxRows> rows{};
  size_t rowCount = FindRows(text, rows);
  route.points = {};
  for (size_t index = 0; index < rowCount; ++index) {
    route.points[index] =
        MakeRoutePoint(platform::Columns(text, rows[index], kRouteRowBytes), index == 0);
  }
  return RouteReadOutcome::Complete;
}

std::string RouteBlockName(int blockNumber) {
  return "fltplanMap" + std::to_string(blockNumber);
}

bool PollRoute(RoutePoller& poller, RouteData& route) {
  if (poller.notYetFound) poller.blockNumber = 1 - poller.blockNumber;
  std::optional<std::string> block =
      platform::CopySharedBlock(RouteBlockName(poller.blockNumber), kRouteBlockMaxBytes);
  if (!block) return false;
  poller.notYetFound = false;
  poller.blockNumber = 1 - poller.blockNumber;
  if (!block->empty()) {
    ReadRouteText(*block, route);
    ++poller.reads;
  }
  return true;
}

}  // namespace lumaro
