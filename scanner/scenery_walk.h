// The walk over a scenery folder tree: the folders depth first (files
// before subfolders), and each scenery file read and decoded. The folders
// are listed first; then the steps are handed over in walk order while a
// thread of the walk's own reads and decodes the files a few steps ahead.
// Decoding is most of a scan's work and needs nothing of the database, so on
// a machine with two cores the merge of one file overlaps the decoding of
// the next ones; a file the thread has not begun when its turn comes is
// decoded by the caller itself, so neither side ever waits for the other
// with work left to do.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "scanner/bgl_file.h"
#include "scanner/scan_session.h"

namespace scanner {

struct WalkStep {
  enum class Kind {
    EnterFolder,       // `path` is about to be walked
    PathTooLong,       // `path` is too long for the system and is passed over
    File,              // the scenery file `path`, read and decoded into `file`
    UnreadableFolder,  // listing `path` failed with `error`; what came before stays
    LeaveFolder,       // the walk of the folder entered last is over
  };
  Kind kind = Kind::EnterFolder;
  std::filesystem::path path;
  std::error_code error;
  DecodedFile file;
};

class SceneryWalk {
 public:
  // Lists the tree under `root` and starts decoding its files, with the
  // settings and hooks of `session` (the hooks may run on the walk's thread;
  // nothing else of the session is used).
  SceneryWalk(const std::filesystem::path& root, const ScanSession& session);
  // Stops the decoding where it is and waits for the walk's thread.
  ~SceneryWalk();
  SceneryWalk(const SceneryWalk&) = delete;
  SceneryWalk& operator=(const SceneryWalk&) = delete;

  // The next step, its file decoded; nullopt when the walk is over.
  std::optional<WalkStep> Next();

 private:
  // Files decoded but not yet taken: enough to keep the merge busy, few
  // enough that a scan stopped early has not read much in vain.
  static constexpr size_t kFilesAhead = 8;
  enum FileState : uint8_t { kWaiting, kDecoding, kDecoded };

  using FolderIdentity = std::pair<uint64_t, uint64_t>;  // device, inode
  void List(const std::filesystem::path& folder, std::set<FolderIdentity>& visited);
  bool Claim(size_t file);
  void Decode(size_t file);
  void DecodeAhead();
  void AwaitDecoded(size_t file);

  const unsigned minRunwayLengthFt_;
  const std::function<void(const std::filesystem::path&)> afterFileSized_;
  const std::function<void(const std::filesystem::path&)> beforeFolderListed_;

  std::vector<WalkStep> steps_;
  std::vector<size_t> fileSteps_;  // the index in steps_ of each file
  std::unique_ptr<std::atomic<uint8_t>[]> fileStates_;
  std::vector<std::exception_ptr> fileFailures_;
  size_t nextStep_ = 0;
  std::atomic<size_t> filesTaken_ = 0;
  std::atomic<bool> stopped_ = false;
  std::thread decoder_;
};

}  // namespace scanner
