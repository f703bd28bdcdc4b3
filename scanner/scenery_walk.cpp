#include "scanner/scenery_walk.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

namespace scanner {
namespace {

namespace fs = std::filesystem;

#ifdef PATH_MAX
constexpr size_t kMaxPathLength = PATH_MAX - 1;
#else
constexpr size_t kMaxPathLength = 4095;
#endif

bool IsSceneryFileName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string suffix = name.substr(name.size() - 4);
  for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return suffix == ".bgl";
}

}  // namespace

SceneryWalk::SceneryWalk(const fs::path& root, const ScanSession& session)
    : minRunwayLengthFt_(session.minRunwayLengthFt),
      afterFileSized_(session.afterFileSized),
      beforeFolderListed_(session.beforeFolderListed) {
  std::set<FolderIdentity> visited;
  List(root, visited);
  fileStates_ = std::make_unique<std::atomic<uint8_t>[]>(fileSteps_.size());
  fileFailures_.resize(fileSteps_.size());
  if (!fileSteps_.empty()) decoder_ = std::thread([this] { DecodeAhead(); });
}

SceneryWalk::~SceneryWalk() {
  stopped_ = true;
  filesTaken_.fetch_add(1);  // wakes the decoder if it waits for room
  filesTaken_.notify_all();
  if (decoder_.joinable()) decoder_.join();
}

void SceneryWalk::List(const fs::path& folder, std::set<FolderIdentity>& visited) {
  // A folder reached again through a link was walked already. A folder is
  // known by its device and inode: one stat, where resolving its path to a
  // canonical one costs one for every part of the path.
  struct stat status {};
  if (::stat(folder.c_str(), &status) == 0 &&
      !visited.insert({status.st_dev, status.st_ino}).second) {
    return;
  }

  steps_.push_back({WalkStep::Kind::EnterFolder, folder, {}, {}});
  std::vector<fs::path> subfolders;
  if (beforeFolderListed_) beforeFolderListed_(folder);
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
    fs::path path = it->path();
    if (path.native().size() > kMaxPathLength) {
      steps_.push_back({WalkStep::Kind::PathTooLong, std::move(path), {}, {}});
      continue;
    }
    if (IsSceneryFileName(path.filename().string())) {
      fileSteps_.push_back(steps_.size());
      steps_.push_back({WalkStep::Kind::File, path, {}, {}});
    }
    std::error_code typeError;
    if (it->is_directory(typeError)) subfolders.push_back(std::move(path));
  }
  if (error) steps_.push_back({WalkStep::Kind::UnreadableFolder, folder, error, {}});
  for (const fs::path& subfolder : subfolders) List(subfolder, visited);
  steps_.push_back({WalkStep::Kind::LeaveFolder, folder, {}, {}});
}

bool SceneryWalk::Claim(size_t file) {
  uint8_t waiting = kWaiting;
  return fileStates_[file].compare_exchange_strong(waiting, kDecoding);
}

void SceneryWalk::Decode(size_t file) {
  WalkStep& step = steps_[fileSteps_[file]];
  try {
    step.file = DecodeBglFile(step.path, minRunwayLengthFt_, afterFileSized_);
  } catch (...) {
    fileFailures_[file] = std::current_exception();
  }
  fileStates_[file].store(kDecoded);
  fileStates_[file].notify_all();
}

void SceneryWalk::DecodeAhead() {
  for (size_t file = 0; file < fileSteps_.size(); ++file) {
    for (size_t taken = filesTaken_.load(); !stopped_ && file >= taken + kFilesAhead;
         taken = filesTaken_.load()) {
      filesTaken_.wait(taken);
    }
    if (stopped_) return;
    if (Claim(file)) Decode(file);
  }
}

void SceneryWalk::AwaitDecoded(size_t file) {
  if (Claim(file)) return Decode(file);
  const size_t last = std::min(fileSteps_.size(), file + kFilesAhead);
  for (uint8_t state; (state = fileStates_[file].load()) != kDecoded;) {
    // While the walk's thread decodes this file, the next one nobody has
    // begun is decoded here.
    size_t later = file + 1;
    while (later < last && !Claim(later)) ++later;
    if (later < last) {
      Decode(later);
    } else {
      fileStates_[file].wait(state);
    }
  }
}

std::optional<WalkStep> SceneryWalk::Next() {
  if (nextStep_ == steps_.size()) return std::nullopt;
  WalkStep& step = steps_[nextStep_++];
  if (step.kind == WalkStep::Kind::File) {
    const size_t file = filesTaken_.load();
    AwaitDecoded(file);
    filesTaken_.store(file + 1);
    filesTaken_.notify_all();
    if (fileFailures_[file]) std::rethrow_exception(fileFailures_[file]);
  }
  return std::move(step);
}

}  // namespace scanner
