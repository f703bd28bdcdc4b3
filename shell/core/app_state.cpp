#include "shell/core/app_state.h"

#include <system_error>
#include <vector>

namespace shell {
namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;

constexpr std::string_view kNavDataName = "NavData";

SimulatorLocation NotFound(const fs::path& currentDirectory) {
  return SimulatorLocation{"", currentDirectory, false};
}

}  // namespace

int ListIdOf(NavaidKind kind) {
  return kNdbListId + static_cast<int>(navdb::IndexOf(kind));
}

std::optional<NavaidKind> KindOfListId(int listId) {
  if (listId < kNdbListId || listId > kIntersectionListId) return std::nullopt;
  return navdb::kAllKinds[static_cast<size_t>(listId - kNdbListId)];
}

void WaypointHandOver::Begin() {
  std::lock_guard lock(mutex_);
  selectionPending_ = true;
  pickedListId_ = kPickNone;
}

std::optional<planner::WaypointPick> WaypointHandOver::Wait() {
  std::unique_lock lock(mutex_);
  answered_.wait(lock, [this] { return pickedListId_ != kPickNone; });
  const int listId = pickedListId_;
  pickedListId_ = kPickNone;
  const std::optional<NavaidKind> kind = KindOfListId(listId);
  if (!kind) return std::nullopt;
  return planner::WaypointPick{*kind, pickedRow_};
}

bool WaypointHandOver::Pick(NavaidKind kind, size_t row) {
  {
    std::lock_guard lock(mutex_);
    if (!selectionPending_) return false;
    selectionPending_ = false;
    pickedListId_ = ListIdOf(kind);
    pickedRow_ = row;
  }
  answered_.notify_all();
  return true;
}

bool WaypointHandOver::Abort() {
  {
    std::lock_guard lock(mutex_);
    if (!selectionPending_) return false;
    selectionPending_ = false;
    pickedListId_ = kPickAborted;
  }
  answered_.notify_all();
  return true;
}

bool WaypointHandOver::SelectionPending() const {
  std::lock_guard lock(mutex_);
  return selectionPending_;
}

int WaypointHandOver::PickedListId() const {
  std::lock_guard lock(mutex_);
  return pickedListId_;
}

SimulatorLocation LocateFromCurrentDirectory(std::string_view currentDirectory) {
  const fs::path current(currentDirectory);
  const std::string marker = "/" + std::string(kNavDataName);
  size_t at = currentDirectory.find(marker);
  // "/NavData" must be a whole folder name: "/NavDataOld" is another folder.
  while (at != std::string_view::npos) {
    const size_t end = at + marker.size();
    if (end == currentDirectory.size() || currentDirectory[end] == '/') break;
    at = currentDirectory.find(marker, at + 1);
  }
  if (at == std::string_view::npos || at > kMaxPathLength) return NotFound(current);
  std::string root(currentDirectory.substr(0, at));
  if (root.empty()) root = "/";
  const fs::path navData = fs::path(root) / kNavDataName;
  return SimulatorLocation{root, navData, true};
}

SimulatorLocation LocateFromArgument(const fs::path& argument, const fs::path& currentDirectory) {
  fs::path root = argument;
  if (root.has_filename() && root.filename() == kNavDataName) root = root.parent_path();
  if (!root.has_filename() && root.has_parent_path() && root != root.root_path()) {
    root = root.parent_path();  // a trailing '/'
    if (root.filename() == kNavDataName) root = root.parent_path();
  }
  if (root.empty()) root = ".";
  std::error_code error;
  const fs::path absolute = fs::absolute(root, error);
  if (!error) root = absolute.lexically_normal();
  std::string text = root.string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  const fs::path navData = fs::path(text) / kNavDataName;
  if (text.size() > kMaxPathLength || !fs::is_directory(navData, error)) {
    return NotFound(currentDirectory);
  }
  return SimulatorLocation{text, navData, true};
}

}  // namespace shell
