// The state of the desktop program that its windows and its workers share,
// kept apart from the widgets so that both front ends and the tests can use
// it without Qt.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/database.h"
#include "planner/plan_reporter.h"
#include "scanner/scan_session.h"
#include "shell/core/edit_history.h"

namespace shell {

// The main window's title; also the key that finds a running instance.
inline constexpr std::string_view kWindowTitle = "Skyatlas v1.3";
// Longest simulator or scenery path the program keeps.
inline constexpr size_t kMaxPathLength = 259;

// Identifiers of the four entry lists, as the flight planner receives them.
inline constexpr int kPickNone = 0;
inline constexpr int kPickAborted = 1;
inline constexpr int kNdbListId = 1007;
inline constexpr int kVorListId = 1008;
inline constexpr int kAirportListId = 1009;
inline constexpr int kIntersectionListId = 1010;

int ListIdOf(navdb::NavaidKind kind);
std::optional<navdb::NavaidKind> KindOfListId(int listId);

// The hand-over of a picked entry from the window to a waiting planner
// worker. The worker sleeps on a condition variable until the user picks or
// aborts, so nothing polls shared words.
class WaypointHandOver {
 public:
  // Worker side: starts a selection (SelectionPending() true, PickedListId() kPickNone).
  void Begin();
  // Worker side: waits for the answer and ends the selection; nothing when
  // the user aborted.
  std::optional<planner::WaypointPick> Wait();
  // Window side: a double click on `row` of `kind`'s list. False when no
  // selection was pending (the click then means something else).
  bool Pick(navdb::NavaidKind kind, size_t row);
  // Window side: Escape. False when no selection was pending.
  bool Abort();
  bool SelectionPending() const;
  int PickedListId() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable answered_;
  bool selectionPending_ = false;
  int pickedListId_ = kPickNone;
  size_t pickedRow_ = 0;
};

struct AppState {
  // The database; its `databaseModified` flag is the program's modified flag.
  // Only one thread changes it at a time: the window disables every command
  // that could start a second worker while one runs.
  navdb::Database db;
  // Undo and redo of the entry changes since the lists were last written
  // anew; the window thread's alone, like the entry editors.
  EditHistory editHistory;
  std::string simulatorRoot;    // empty when it was not found
  std::string sceneryRootPath;  // the folder a scan starts from
  std::atomic<bool> planWindowOpen{false};
  WaypointHandOver pick;
  unsigned minRunwayLengthFt = scanner::kDefaultMinRunwayLengthFt;
};

// Where the program finds the simulator and its database.
struct SimulatorLocation {
  std::string simulatorRoot;            // empty when not found
  std::filesystem::path navDataFolder;  // the folder the database files live in
  bool found = false;
};

// From the current directory: the text before the first "/NavData" is the
// simulator root, and the database is read from that root's NavData folder.
// Without "/NavData" nothing is found and the database folder is
// `currentDirectory` itself.
SimulatorLocation LocateFromCurrentDirectory(std::string_view currentDirectory);

// From the command line: `argument` names the simulator folder (or its
// NavData folder). Not found when it has no NavData folder or its path is
// too long; the database folder then falls back to `currentDirectory`.
SimulatorLocation LocateFromArgument(const std::filesystem::path& argument,
                                     const std::filesystem::path& currentDirectory);

// The warning shown when the simulator folder was not found.
inline constexpr std::string_view kSimulatorNotFoundText =
    "Problem to find Flight Simulator installation folder.\r"
    "Please set manually the root path for scenery scanning.";

}  // namespace shell
