// What the planner asks beyond the database's reports: a navaid picked in
// the database's lists, for a plan's waypoint.
#pragma once

#include <cstddef>
#include <optional>

#include "navdb/navaid_kind.h"
#include "navdb/reporter.h"

namespace planner {

// A navaid picked for the flight planner: a row of one kind's list.
struct WaypointPick {
  navdb::NavaidKind kind;
  size_t row;
};

struct WaypointPickRequest {
  bool clearSelections = false;           // clear what is selected in the four lists first
  std::optional<WaypointPick> suggested;  // a line to select before the user picks
};

class PlanReporter : public virtual navdb::Reporter {
 public:
  // Lets the user pick a navaid in the database's lists; nothing when the
  // pick was aborted (Escape), and nothing when nobody can pick.
  virtual std::optional<WaypointPick> PickWaypoint(const WaypointPickRequest& /*request*/) const {
    return std::nullopt;
  }
};

// A pick made beforehand (by a script, on a command line) given as the
// user's answer; tells nobody anything else.
class ChosenPick : public PlanReporter {
 public:
  explicit ChosenPick(const WaypointPick& pick) : pick_(pick) {}
  std::optional<WaypointPick> PickWaypoint(const WaypointPickRequest&) const override {
    return pick_;
  }

 private:
  WaypointPick pick_;
};

}  // namespace planner
