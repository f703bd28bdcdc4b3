#include "planner/plan_rows.h"

#include <array>

#include "planner/leg_computation.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

struct ListColumns {
  std::string_view prefix;
  int frequencyColumn;  // -1: no frequency
  size_t latitudeColumn;
};

constexpr std::array<ListColumns, 4> kListColumns = {{
    {"NDB  ", 33, 40},
    {"VOR  ", 50, 63},
    {"APT  ", 99, 51},
    {"INT  ", -1, 33},
}};

constexpr size_t kInsertedRowChars = 105;

void CopyColumns(std::string& row, size_t at, std::string_view text, size_t count) {
  text = text.substr(0, std::min(text.size(), count));
  row.replace(at, text.size(), text);
}

void InsertRowAt(std::vector<std::string>& rows, int position, std::string row) {
  if (position < 0 || static_cast<size_t>(position) >= rows.size()) {
    rows.push_back(std::move(row));
  } else {
    rows.insert(rows.begin() + position, std::move(row));
  }
}

// Deletes the TOC and TOD rows, keeping the selection on the same row.
void DeleteClimbAndDescentRows(PlanDialog& dialog) {
  for (std::string_view prefix : {kTocPrefix, kTodPrefix}) {
    const std::optional<size_t> row = FindRow(dialog.rows, prefix);
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

void ComputeAndReselect(PlannerState& state, const navdb::Database& db, const std::string& moved) {
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  if (moved.empty()) return;
  const std::optional<size_t> row = FindRow(state.dialog.rows, moved.substr(0, 38));
  if (row) state.dialog.selectedRow = row;
}

void SwapRows(PlanDialog& dialog, size_t from, size_t to) {
  std::swap(dialog.rows[from], dialog.rows[to]);
  dialog.selectedRow = to;
}

}  // namespace

std::string_view RowPrefixOf(navdb::NavaidKind kind) {
  return kListColumns[navdb::IndexOf(kind)].prefix;
}

std::string BuildPlanRow(navdb::NavaidKind kind, std::string_view line, bool keepVorForIls) {
  const ListColumns& columns = kListColumns[navdb::IndexOf(kind)];
  std::string row(columns.prefix);
  platform::PadTo(row, kInsertedRowChars);
  CopyColumns(row, 5, line, 33);
  if (columns.frequencyColumn < 0) {
    CopyColumns(row, 38, "---.--", 6);
  } else {
    CopyColumns(row, 38, platform::Columns(line, static_cast<size_t>(columns.frequencyColumn), 6),
                6);
  }
  CopyColumns(row, 46, platform::Columns(line, columns.latitudeColumn, 36), 36);
  if (!keepVorForIls && platform::Columns(line, 33, 3) == "ILS") row.replace(0, 3, "ILS");
  return row;
}

void InsertPickedWaypoint(PlannerState& state, const navdb::Database& db, int position,
                          const navdb::WaypointPick& pick) {
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
                          const navdb::UiCallbacks& ui, navdb::WaypointPickRequest request) {
  navdb::SetStatus(ui, navdb::StatusIcon::Selecting, "Status : Waypoint selection");
  if (ui.setProgressText) ui.setProgressText("Select a navaid or press [Esc] to abort.");
  if (position != -1) request.clearSelections = true;
  std::optional<navdb::WaypointPick> pick;
  if (ui.pickWaypoint) pick = ui.pickWaypoint(request);
  // A pick given up changes nothing, not even the legs: computing them
  // again would move the turn points the user has seen.
  if (pick) {
    InsertPickedWaypoint(state, db, position, *pick);
    ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  }
  navdb::SetStatus(ui, navdb::StatusIcon::Ready, "");
  if (ui.setProgressText) ui.setProgressText(" ");
}

void PlaceWaypoint(PlannerState& state, const navdb::Database& db, int position,
                   const navdb::WaypointPick& pick) {
  InsertPickedWaypoint(state, db, position, pick);
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
}

void InsertBeforeArrival(PlannerState& state, const navdb::Database& db,
                         const navdb::WaypointPick& pick) {
  const navdb::EntryList& list = db.List(pick.kind);
  if (pick.row >= list.Count()) return;
  std::vector<std::string>& rows = state.dialog.rows;
  rows.insert(rows.empty() ? rows.end() : rows.end() - 1,
              BuildPlanRow(pick.kind, list.GetLine(pick.row)));
  ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
}

namespace {

navdb::UiCallbacks PickingUi(const navdb::WaypointPick& pick) {
  navdb::UiCallbacks ui;
  ui.pickWaypoint = [pick](const navdb::WaypointPickRequest&) { return pick; };
  return ui;
}

}  // namespace

void ReplaceDeparture(PlannerState& state, const navdb::Database& db,
                      const navdb::WaypointPick& pick) {
  PlanDialog& dialog = state.dialog;
  const bool startsWithAirport = !dialog.rows.empty() && dialog.rows.front().starts_with("APT");
  dialog.selectedRow = dialog.rows.empty() ? std::nullopt : std::optional<size_t>(0);
  if (startsWithAirport) {
    ReplaceCommand(state, db, PickingUi(pick));
  } else {
    InsertCommand(state, db, PickingUi(pick));
  }
}

void ReplaceArrival(PlannerState& state, const navdb::Database& db,
                    const navdb::WaypointPick& pick) {
  PlanDialog& dialog = state.dialog;
  const bool endsWithAirport = dialog.rows.size() >= 2 && dialog.rows.back().starts_with("APT");
  if (endsWithAirport) {
    dialog.selectedRow = dialog.rows.size() - 1;
    ReplaceCommand(state, db, PickingUi(pick));
  } else {
    dialog.selectedRow.reset();
    InsertCommand(state, db, PickingUi(pick));
  }
}

void InsertCommand(PlannerState& state, const navdb::Database& db, const navdb::UiCallbacks& ui) {
  int position = -1;
  if (state.dialog.selectedRow) {
    position = static_cast<int>(*state.dialog.selectedRow);
    if (position == 0) position = 1;  // nothing goes before the departure
  }
  RunWaypointSelection(state, db, position, ui);
}

void ReplaceCommand(PlannerState& state, const navdb::Database& db, const navdb::UiCallbacks& ui) {
  PlanDialog& dialog = state.dialog;
  // The row is out while its successor is picked; a pick given up puts the
  // plan back as it was, the replaced row and the selection with it.
  const PlanDialog before = dialog;
  navdb::UiCallbacks picking = ui;
  picking.pickWaypoint = [&state, &before, &ui](const navdb::WaypointPickRequest& request) {
    std::optional<navdb::WaypointPick> pick;
    if (ui.pickWaypoint) pick = ui.pickWaypoint(request);
    if (!pick) state.dialog = before;
    return pick;
  };
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
  std::string moved;
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
  std::string moved;
  if (dialog.selectedRow && *dialog.selectedRow != 0 && *dialog.selectedRow < dialog.rows.size()) {
    const size_t row = *dialog.selectedRow;
    moved = dialog.rows[row];
    if (row + 2 < dialog.rows.size()) SwapRows(dialog, row, row + 1);
  }
  ComputeAndReselect(state, db, moved);
}

}  // namespace planner
