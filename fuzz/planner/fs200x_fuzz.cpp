// Arbitrary bytes as an FS200X plan: a plan beyond the staging table is
// refused, fields are cut to their widths, and the import computes cleanly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/planner/fuzz_database.h"
#include "planner/plan_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const navdb::Database db = planner_fuzz::SmallDatabase();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  planner::PlannerState state;
  const platform::Status read =
      planner::ParseForeignPlan(state, bytes, "fuzz.pln", planner::ForeignPlanForm::Fs200x);
  // A refused plan says why and leaves the state as it was.
  if (!read) {
    if (read.error().message.empty() || !state.plan.planName.empty()) std::abort();
    return 0;
  }
  for (const planner::StagedWaypoint& record : state.staging.records) {
    if (record.identifier.size() > planner::kMaxStagedIdentifierChars) std::abort();
    if (record.kind.size() > planner::kMaxStagedKindChars) std::abort();
  }
  planner::OpenPlanDialog(state, planner::PlanOpenMode::Fs200xImport);
  planner::ImportFs200xWaypoints(state, db);
  planner_fuzz::CheckRows(state.dialog.rows);
  return 0;
}
