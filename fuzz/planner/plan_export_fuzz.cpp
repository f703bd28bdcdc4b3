// Arbitrary bytes as an ND plan file, exported in the three formats: a row
// the exporter takes gives a position on the globe, the files keep their
// line and element counts, and no control character reaches them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "planner/plan_export.h"
#include "planner/plan_file.h"

namespace {

size_t CountOf(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Only the line ends the format writes may be below a blank.
void CheckNoControls(std::string_view text, bool crlf) {
  for (const char c : text) {
    const bool lineEnd = c == '\n' || (crlf && c == '\r');
    if (static_cast<unsigned char>(c) < 0x20 && !lineEnd && c != '\t') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  planner::PlannerState state;
  planner::DecodePlanFile(bytes, state.plan, state.staging);
  planner::OpenPlanDialog(state, planner::PlanOpenMode::Loaded);
  const platform::Result<planner::ExportRoute> built = planner::BuildExportRoute(state);
  if (!built) {
    if (built.error().message.empty()) std::abort();
    return 0;
  }
  const planner::ExportRoute& route = *built;
  if (route.points.size() != state.dialog.rows.size()) std::abort();
  for (const planner::ExportPoint& point : route.points) {
    if (!(std::fabs(point.latitudeDeg) <= 90.0) || !(point.longitudeDeg >= -180.0) ||
        !(point.longitudeDeg < 180.0) || point.identifier.empty()) {
      std::abort();
    }
  }
  const std::string fms = planner::EncodeXPlaneFms(route, 2612);
  CheckNoControls(fms, true);
  const size_t headerLines =
      6 + (route.departureRunway.empty() ? 0 : 1) + (route.arrivalRunway.empty() ? 0 : 1);
  if (CountOf(fms, "\r\n") != headerLines + route.points.size()) std::abort();

  const std::string gpx = planner::EncodeGpxRoute(route);
  CheckNoControls(gpx, false);
  if (CountOf(gpx, "<rtept ") != route.points.size() || CountOf(gpx, "<") != CountOf(gpx, ">")) {
    std::abort();
  }
  const std::string fgfs = planner::EncodeFlightGearRoute(route);
  CheckNoControls(fgfs, false);
  if (CountOf(fgfs, "<wp") != CountOf(fgfs, "</wp>") || CountOf(fgfs, "<") != CountOf(fgfs, ">")) {
    std::abort();
  }
  return 0;
}
