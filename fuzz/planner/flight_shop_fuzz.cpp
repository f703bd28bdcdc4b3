// Arbitrary bytes as a Flight Shop plan: parsed and imported against a small
// database, every missing waypoint skipped; nothing out of bounds, no NaN.
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
      planner::ParseForeignPlan(state, bytes, "fuzz.fsp", planner::ForeignPlanForm::FlightShop);
  // A refused plan says why and leaves the state as it was.
  if (!read) {
    if (read.error().message.empty() || !state.plan.planName.empty()) std::abort();
    return 0;
  }
  for (const planner::StagedWaypoint& record : state.staging.records) {
    if (record.identifier.size() > planner::kMaxStagedIdentifierChars) std::abort();
    if (record.name.size() > planner::kMaxStagedNameChars) std::abort();
    if (record.kind.size() > planner::kMaxStagedKindChars) std::abort();
  }
  // Every waypoint the database lacks is skipped.
  struct SkippingUi : planner::PlanReporter {
    navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
      return request.buttons == navdb::MessageButtons::OkCancel ? navdb::MessageAnswer::Cancel
                                                                : navdb::MessageAnswer::Ok;
    }
  } ui;
  planner::OpenPlanDialog(state, planner::PlanOpenMode::FlightShopImport);
  planner::ImportFlightShopWaypoints(state, db, ui);
  planner_fuzz::CheckRows(state.dialog.rows);
  return 0;
}
