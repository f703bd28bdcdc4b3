// Arbitrary bytes as an ND plan file: the reader keeps to the staging
// table's limits, a plan that fits is held whole, every row is written back
// exactly as it was read, and the loaded plan can be computed, printed and
// saved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/planner/fuzz_database.h"
#include "planner/leg_computation.h"
#include "planner/plan_file.h"
#include "planner/printout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const navdb::Database db = planner_fuzz::SmallDatabase();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  planner::PlannerState state;
  const size_t rowCount = planner::DecodePlanFile(bytes, state.plan, state.staging);
  for (const planner::StagedWaypoint& record : state.staging.records) {
    if (record.rowText.size() > planner::kMaxStagedRowChars) std::abort();
  }
  if (state.plan.performance.cruiseSpeed.size() > planner::kMaxCruiseSpeedChars) std::abort();
  if (state.plan.departureAirport.size() > planner::kMaxAirportChars) std::abort();
  planner::OpenPlanDialog(state, planner::PlanOpenMode::Loaded);
  // Every row gives back the very text it was read from.
  for (size_t i = 0; i < state.dialog.rows.size(); ++i) {
    if (planner::FormatPlanRow(state.dialog.rows[i]) != state.staging.records[i].rowText) {
      std::abort();
    }
  }
  planner_fuzz::CheckRows(state.dialog.rows);
  // Every row the file holds is in the plan, or the loader refuses the file.
  if (rowCount <= planner::kMaxPlanRows && state.dialog.rows.size() != rowCount) std::abort();
  if (rowCount > planner::kMaxPlanRows && state.dialog.rows.size() != planner::kMaxPlanRows) {
    std::abort();
  }
  // Reading what was saved gives the same rows back.
  planner::PlannerState again;
  planner::DecodePlanFile(planner::EncodePlanFile(state), again.plan, again.staging);
  planner::OpenPlanDialog(again, planner::PlanOpenMode::Loaded);
  if (again.dialog.rows != state.dialog.rows) std::abort();

  planner::ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  planner::ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  planner_fuzz::CheckRows(state.dialog.rows);
  (void)planner::PrintoutText(planner::LayoutPrintout(state));
  return 0;
}
