// Arbitrary bytes as one plan row: the row gives back exactly the text it
// was read from, and a row read as typed values holds what the columns of
// that text read as (the coordinate texts by navdb's own reading), so the
// planner computes on the numbers the text shows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "navdb/coordinates.h"
#include "planner/plan_row.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const planner::PlanRow row = planner::ParsePlanRow(text);
  if (planner::FormatPlanRow(row) != text) std::abort();
  if (row.IsVerbatim()) return 0;
  // Read once more from its own text, a typed row is the same row.
  if (!(planner::ParsePlanRow(planner::FormatPlanRow(row)) == row)) std::abort();
  if (row.LatitudeDeg() != navdb::ParseLatitude(platform::Columns(text, 46, 12)) ||
      row.LongitudeDeg() != navdb::ParseLongitude(platform::Columns(text, 60, 13))) {
    std::abort();
  }
  if (!std::string_view(text).starts_with(planner::KindCode(row.kind))) std::abort();
  if (row.altitudeFt && *row.altitudeFt != platform::ReadLong(text, 75)) std::abort();
  // When the numbers before it keep their widths, the distance stands at its column.
  const bool usualWidths = row.altitudeFt && *row.altitudeFt >= -9999 && *row.altitudeFt <= 99999 &&
                           (!row.courseDeg || (*row.courseDeg >= -99 && *row.courseDeg <= 999));
  if (usualWidths && row.distanceTenthsNm && *row.distanceTenthsNm < 100000 &&
      row.DistanceNm() != platform::ReadDouble(text, 87)) {
    std::abort();
  }
  return 0;
}
