#include "planner/plan_rows.h"

#include <algorithm>
#include <array>

#include "planner/leg_computation.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

// Where a database line of each list holds what a plan row takes from it.
struct ListColumns {
  PlanRowKind kind;
  int frequencyColumn;  // -1: no frequency
  size_t latitudeColumn;
};

constexpr std::array<ListColumns, 4> kListColumns = {{
    {PlanRowKind::Ndb, 33, 40},
    {PlanRowKind::Vor, 50, 63},
    {PlanRowKind::Airport, 99, 51},
    {PlanRowKind::Intersection, -1, 33},
}};

// The line's identifier and name, its frequency text and the 36 characters
// from its latitude on: latitude, longitude and elevation.
constexpr size_t kIdentityChars = 33;
constexpr size_t kFrequencyChars = 6;
constexpr size_t kPositionChars = 36;

void InsertRowAt(std::vector<PlanRow>& rows, int position, PlanRow row) {
  if (position < 0 || static_cast<size_t>(position) >= rows.size()) {
    rows.push_back(std::move(row));
  } else {
    rows.insert(rows.begin() + position, std::move(row));
  }
}

// Deletes the TOC and TOD rows, keeping the selection on the same row.
void DeleteClimbAndDescentRows(PlanDialog& dialog) {
  for (PlanRowKind kind : {PlanRowKind::TopOfClimb, PlanRowKind::TopOfDescent}) {
    const std::optional<size_t> row = FindRow(dialog.rows, kind);
    if (!row) continue;
    dialog.rows.erase(dialog.rows.begin() + static_cast<long>(*row));
    if (!dialog.selectedRow) continue;
    if (*dialog.selectedRow == *row) {
      dialog.selectedRow.reset();
    } else if (*dialog.selectedRow > *row) {
      --*dialog.selectedRow;
    }
  }
}

void ComputeAndReselect(PlannerState& state, const navdb::Database& db,
                        const std::optional<PlanRow>& moved) {
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  if (!moved) return;
  const std::vector<PlanRow>& rows = state.dialog.rows;
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [&](const PlanRow& row) { return SameNavaid(row, *moved); });
  if (found != rows.end()) state.dialog.selectedRow = static_cast<size_t>(found - rows.begin());
}

void SwapRows(PlanDialog& dialog, size_t from, size_t to) {
  std::swap(dialog.rows[from], dialog.rows[to]);
  dialog.selectedRow = to;
}

}  // namespace

PlanRowKind RowKindOf(navdb::NavaidKind kind) {
  return kListColumns[navdb::IndexOf(kind)].kind;
}

PlanRow BuildPlanRow(navdb::NavaidKind kind, std::string_view line, bool keepVorForIls) {
  const ListColumns& columns = kListColumns[navdb::IndexOf(kind)];
  const std::string_view frequency =
      columns.frequencyColumn < 0
          ? kNoFrequency
          : platform::Columns(line, static_cast<size_t>(columns.frequencyColumn), kFrequencyChars);
  const bool ils = !keepVorForIls && platform::Columns(line, 33, 3) == "ILS";
  return InsertedRow(ils ? PlanRowKind::Ils : columns.kind,
                     platform::Columns(line, 0, kIdentityChars), frequency,
                     platform::Columns(line, columns.latitudeColumn, kPositionChars));
}

void InsertPickedWaypoint(PlannerState& state, const navdb::Database& db, int position,
                          const WaypointPick& pick) {
  const navdb::EntryList& list = db.List(pick.kind);
  if (pick.row >= list.Count()) return;
  PlanDialog& dialog = state.dialog;
  if (pick.kind == navdb::NavaidKind::Airport) {
    const int lastRow = static_cast<int>(dialog.rows.size()) - 1;
    if (position == 1) {
      position = 0;
      dialog.departureRunway.Clear();
    } else if (position == lastRow) {
      position = -1;
      dialog.arrivalRunway.Clear();
    }
  }
  InsertRowAt(dialog.rows, position, BuildPlanRow(pick.kind, list.GetLine(pick.row)));
}

void RunWaypointSelection(PlannerState& state, const navdb::Database& db, int position,
                          const PlanReporter& ui, WaypointPickRequest request) {
  ui.Status(navdb::StatusIcon::Selecting, "Status : Waypoint selection");
  ui.ProgressText("Select a navaid or press [Esc] to abort.");
  if (position != -1) request.clearSelections = true;
  const std::optional<WaypointPick> pick = ui.PickWaypoint(request);
  // A pick given up changes nothing, not even the legs: computing them
  // again would move the turn points the user has seen.
  if (pick) {
    InsertPickedWaypoint(state, db, position, *pick);
    ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  }
  ui.Status(navdb::StatusIcon::Ready, "");
  ui.ProgressText(" ");
}

void PlaceWaypoint(PlannerState& state, const navdb::Database& db, int position,
                   const WaypointPick& pick) {
  InsertPickedWaypoint(state, db, position, pick);
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
}

void InsertBeforeArrival(PlannerState& state, const navdb::Database& db, const WaypointPick& pick) {
  const navdb::EntryList& list = db.List(pick.kind);
  if (pick.row >= list.Count()) return;
  std::vector<PlanRow>& rows = state.dialog.rows;
  rows.insert(rows.empty() ? rows.end() : rows.end() - 1,
              BuildPlanRow(pick.kind, list.GetLine(pick.row)));
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
}

namespace {

bool IsAirport(const PlanRow& row) {
  return MarkedKind(row) == PlanRowKind::Airport;
}

}  // namespace

void ReplaceDeparture(PlannerState& state, const navdb::Database& db, const WaypointPick& pick) {
  PlanDialog& dialog = state.dialog;
  const bool startsWithAirport = !dialog.rows.empty() && IsAirport(dialog.rows.front());
  dialog.selectedRow = dialog.rows.empty() ? std::nullopt : std::optional<size_t>(0);
  if (startsWithAirport) {
    ReplaceCommand(state, db, ChosenPick(pick));
  } else {
    InsertCommand(state, db, ChosenPick(pick));
  }
}

void ReplaceArrival(PlannerState& state, const navdb::Database& db, const WaypointPick& pick) {
  PlanDialog& dialog = state.dialog;
  const bool endsWithAirport = dialog.rows.size() >= 2 && IsAirport(dialog.rows.back());
  if (endsWithAirport) {
    dialog.selectedRow = dialog.rows.size() - 1;
    ReplaceCommand(state, db, ChosenPick(pick));
  } else {
    dialog.selectedRow.reset();
    InsertCommand(state, db, ChosenPick(pick));
  }
}

void InsertCommand(PlannerState& state, const navdb::Database& db, const PlanReporter& ui) {
  int position = -1;
  if (state.dialog.selectedRow) {
    position = static_cast<int>(*state.dialog.selectedRow);
    if (position == 0) position = 1;  // nothing goes before the departure
  }
  RunWaypointSelection(state, db, position, ui);
}

namespace {

// The caller's reports, except that a pick given up first puts the dialog
// back as it was before the replaced row was taken out.
class RestoringPick : public PlanReporter {
 public:
  RestoringPick(const PlanReporter& ui, PlannerState& state, const PlanDialog& before)
      : ui_(ui), state_(state), before_(before) {}

  std::optional<WaypointPick> PickWaypoint(const WaypointPickRequest& request) const override {
    std::optional<WaypointPick> pick = ui_.PickWaypoint(request);
    if (!pick) state_.dialog = before_;
    return pick;
  }
  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
    return ui_.Message(request);
  }
  void Status(navdb::StatusIcon icon, const std::string& text) const override {
    ui_.Status(icon, text);
  }
  void Progress(navdb::ProgressTask task, int percent) const override {
    ui_.Progress(task, percent);
  }
  void ProgressText(const std::string& text) const override { ui_.ProgressText(text); }
  void EntryCountChanged(navdb::NavaidKind kind, int count) const override {
    ui_.EntryCountChanged(kind, count);
  }
  void EntryInFocus(navdb::NavaidKind kind, int row) const override { ui_.EntryInFocus(kind, row); }
  void KindInFocus(navdb::NavaidKind kind) const override { ui_.KindInFocus(kind); }
  void IndexInFlux(bool inFlux) const override { ui_.IndexInFlux(inFlux); }
  void Alert() const override { ui_.Alert(); }
  void DatabaseBusy(bool busy) const override { ui_.DatabaseBusy(busy); }

 private:
  const PlanReporter& ui_;
  PlannerState& state_;
  const PlanDialog& before_;
};

}  // namespace

void ReplaceCommand(PlannerState& state, const navdb::Database& db, const PlanReporter& ui) {
  PlanDialog& dialog = state.dialog;
  // The row is out while its successor is picked; a pick given up puts the
  // plan back as it was, the replaced row and the selection with it.
  const PlanDialog before = dialog;
  const RestoringPick picking(ui, state, before);
  if (dialog.selectedRow && *dialog.selectedRow < dialog.rows.size()) {
    dialog.rows.erase(dialog.rows.begin() + static_cast<long>(*dialog.selectedRow));
    if (*dialog.selectedRow >= dialog.rows.size()) dialog.selectedRow.reset();
  }
  InsertCommand(state, db, picking);
}

void RemoveCommand(PlannerState& state, const navdb::Database& db) {
  PlanDialog& dialog = state.dialog;
  if (dialog.selectedRow && *dialog.selectedRow < dialog.rows.size()) {
    dialog.rows.erase(dialog.rows.begin() + static_cast<long>(*dialog.selectedRow));
    dialog.selectedRow.reset();
  }
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
}

void MoveUpCommand(PlannerState& state, const navdb::Database& db) {
  PlanDialog& dialog = state.dialog;
  DeleteClimbAndDescentRows(dialog);
  std::optional<PlanRow> moved;
  if (dialog.selectedRow && *dialog.selectedRow + 1 < dialog.rows.size()) {
    const size_t row = *dialog.selectedRow;
    moved = dialog.rows[row];
    if (row > 1) SwapRows(dialog, row, row - 1);
  }
  ComputeAndReselect(state, db, moved);
}

void MoveDownCommand(PlannerState& state, const navdb::Database& db) {
  PlanDialog& dialog = state.dialog;
  DeleteClimbAndDescentRows(dialog);
  std::optional<PlanRow> moved;
  if (dialog.selectedRow && *dialog.selectedRow != 0 && *dialog.selectedRow < dialog.rows.size()) {
    const size_t row = *dialog.selectedRow;
    moved = dialog.rows[row];
    if (row + 2 < dialog.rows.size()) SwapRows(dialog, row, row + 1);
  }
  ComputeAndReselect(state, db, moved);
}

}  // namespace planner
