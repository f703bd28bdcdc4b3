#include "scanner/scenery_walk.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace scanner {
namespace {

namespace fs = std::filesystem;

#ifdef PATH_MAX
constexpr size_t kMaxPathLength = PATH_MAX - 1;
#else
constexpr size_t kMaxPathLength = 4095;
#endif

}  // namespace

bool IsSceneryFileName(std::string_view name) {
  if (name.size() < 4) return false;
  std::string suffix(name.substr(name.size() - 4));
  for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return suffix == ".bgl";
}

SceneryWalk::SceneryWalk(const fs::path& root, const ScanSession& session)
    : minRunwayLengthFt_(session.minRunwayLengthFt),
      afterFileSized_(session.afterFileSized),
      beforeFolderListed_(session.beforeFolderListed) {
  try {
    thread_ = std::jthread([this, root](std::stop_token stop) { Run(root, std::move(stop)); });
  } catch (const std::system_error&) {
    // No thread to be had: the walk lists here, and Next decodes every file.
    std::set<FolderIdentity> visited;
    List(root, visited, std::stop_token{});
    listed_ = true;
  }
}

SceneryWalk::~SceneryWalk() {
  thread_.request_stop();
  // The walk's thread may wait for room ahead: moving the count wakes it to
  // see the stop.
  filesTaken_.fetch_add(1);
  filesTaken_.notify_all();
}

void SceneryWalk::Run(const fs::path& root, std::stop_token stop) {
  try {
    std::set<FolderIdentity> visited;
    List(root, visited, stop);
  } catch (...) {
    const std::lock_guard lock(mutex_);
    listFailure_ = std::current_exception();
  }
  {
    const std::lock_guard lock(mutex_);
    listed_ = true;
  }
  published_.notify_all();
  DecodeAhead(stop);
}

void SceneryWalk::List(const fs::path& folder, std::set<FolderIdentity>& visited,
                       const std::stop_token& stop) {
  if (stop.stop_requested()) return;
  // A folder reached again through a link was walked already. A folder is
  // known by its device and inode: one stat, where resolving its path to a
  // canonical one costs one for every part of the path.
  struct stat status {};
  if (::stat(folder.c_str(), &status) == 0 &&
      !visited.insert({status.st_dev, status.st_ino}).second) {
    return;
  }

  Publish({WalkStep::Kind::EnterFolder, folder, {}, {}});
  std::vector<fs::path> subfolders;
  if (beforeFolderListed_) {
    const std::lock_guard lock(hookMutex_);
    beforeFolderListed_(folder);
  }
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
    fs::path path = it->path();
    if (path.native().size() > kMaxPathLength) {
      Publish({WalkStep::Kind::PathTooLong, std::move(path), {}, {}});
      continue;
    }
    if (IsSceneryFileName(path.filename().native())) {
      Publish({WalkStep::Kind::File, path, {}, {}});
    }
    std::error_code typeError;
    if (it->is_directory(typeError)) subfolders.push_back(std::move(path));
  }
  if (error) Publish({WalkStep::Kind::UnreadableFolder, folder, error, {}});
  for (const fs::path& subfolder : subfolders) List(subfolder, visited, stop);
  Publish({WalkStep::Kind::LeaveFolder, folder, {}, {}});
}

void SceneryWalk::Publish(WalkStep step) {
  {
    const std::lock_guard lock(mutex_);
    WalkStep& placed = steps_.emplace_back(std::move(step));
    if (placed.kind == WalkStep::Kind::File) files_.emplace_back(&placed);
  }
  published_.notify_all();
}

std::optional<size_t> SceneryWalk::FilesListed() {
  const std::lock_guard lock(mutex_);
  if (!listed_) return std::nullopt;
  return files_.size();
}

SceneryWalk::FileSlot* SceneryWalk::FileAt(size_t file) {
  const std::lock_guard lock(mutex_);
  return file < files_.size() ? &files_[file] : nullptr;
}

bool SceneryWalk::Claim(FileSlot& slot) {
  uint8_t waiting = kWaiting;
  return slot.state.compare_exchange_strong(waiting, kDecoding);
}

void SceneryWalk::Decode(FileSlot& slot) {
  // Both threads decode; the hook never runs on both at once.
  std::function<void(const fs::path&)> hook;
  if (afterFileSized_) {
    hook = [this](const fs::path& path) {
      const std::lock_guard lock(hookMutex_);
      afterFileSized_(path);
    };
  }
  try {
    slot.step->file = DecodeBglFile(slot.step->path, minRunwayLengthFt_, hook);
  } catch (...) {
    slot.failure = std::current_exception();
  }
  slot.state.store(kDecoded);
  slot.state.notify_all();
}

void SceneryWalk::DecodeAhead(const std::stop_token& stop) {
  for (size_t file = 0;; ++file) {
    for (size_t taken = filesTaken_.load(); !stop.stop_requested() && file >= taken + kFilesAhead;
         taken = filesTaken_.load()) {
      filesTaken_.wait(taken);
    }
    FileSlot* const slot = FileAt(file);
    if (stop.stop_requested() || !slot) return;
    if (Claim(*slot)) Decode(*slot);
  }
}

void SceneryWalk::AwaitDecoded(size_t file) {
  FileSlot& slot = *FileAt(file);
  if (Claim(slot)) return Decode(slot);
  for (uint8_t state; (state = slot.state.load()) != kDecoded;) {
    // While the walk's thread decodes this file, the next one nobody has
    // begun is decoded here.
    FileSlot* later = nullptr;
    for (size_t next = file + 1; next < file + kFilesAhead && !later; ++next) {
      FileSlot* const candidate = FileAt(next);
      if (!candidate) break;
      if (Claim(*candidate)) later = candidate;
    }
    if (later) {
      Decode(*later);
    } else {
      slot.state.wait(state);
    }
  }
}

std::optional<WalkStep> SceneryWalk::Next() {
  WalkStep* step = nullptr;
  {
    std::unique_lock lock(mutex_);
    published_.wait(lock, [this] { return nextStep_ < steps_.size() || listed_; });
    if (nextStep_ == steps_.size()) {
      if (listFailure_) std::rethrow_exception(std::exchange(listFailure_, nullptr));
      return std::nullopt;
    }
    step = &steps_[nextStep_++];
  }
  if (step->kind == WalkStep::Kind::File) {
    const size_t file = filesTaken_.load();
    AwaitDecoded(file);
    const std::exception_ptr failure = FileAt(file)->failure;
    filesTaken_.store(file + 1);
    filesTaken_.notify_all();
    if (failure) std::rethrow_exception(failure);
  }
  return std::move(*step);
}

}  // namespace scanner
