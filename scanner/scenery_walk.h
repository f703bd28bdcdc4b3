// The walk over a scenery folder tree: the folders depth first (files
// before subfolders), and each scenery file read and decoded.
//
// Decoding is most of a scan's work and needs nothing of the database, so
// the walk runs on a thread of its own: it lists the folders, handing each
// step over as soon as it is known, then reads and decodes the files a few
// steps ahead of the merge. A file nobody has begun when its turn comes is
// decoded by the caller itself, and while the caller waits for a file the
// walk's thread is decoding, it decodes the next one: on a machine with two
// cores neither side waits for the other with work left to do.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <stop_token>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "scanner/bgl_file.h"
#include "scanner/scan_session.h"

namespace scanner {

// True for the names the scan hands to the scenery decoder: ending in
// ".bgl", in any case.
bool IsSceneryFileName(std::string_view name);

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
  // Starts walking `root` with the settings and hooks of `session` (the
  // hooks run on either thread, never on both at once; nothing else of the
  // session is used).
  SceneryWalk(const std::filesystem::path& root, const ScanSession& session);
  // Stops the walk where it is; its thread is joined as the walk goes.
  ~SceneryWalk();
  SceneryWalk(const SceneryWalk&) = delete;
  SceneryWalk& operator=(const SceneryWalk&) = delete;

  // The next step, its file decoded; nullopt when the walk is over. What
  // the walk's thread ran into (running out of memory) is thrown here.
  std::optional<WalkStep> Next();
  // The number of scenery files in the tree, once the walk has listed it.
  std::optional<size_t> FilesListed();

 private:
  // Files decoded ahead of the merge at most: their lines wait in memory.
  static constexpr size_t kFilesAhead = 32;
  enum FileState : uint8_t { kWaiting, kDecoding, kDecoded };
  struct FileSlot {
    explicit FileSlot(WalkStep* s) : step(s) {}
    WalkStep* step;
    std::atomic<uint8_t> state = kWaiting;
    std::exception_ptr failure;
  };
  using FolderIdentity = std::pair<uint64_t, uint64_t>;  // device, inode

  void Run(const std::filesystem::path& root, std::stop_token stop);
  void List(const std::filesystem::path& folder, std::set<FolderIdentity>& visited,
            const std::stop_token& stop);
  void Publish(WalkStep step);
  FileSlot* FileAt(size_t file);  // nullptr when the walk has no such file
  bool Claim(FileSlot& slot);
  void Decode(FileSlot& slot);
  void DecodeAhead(const std::stop_token& stop);
  void AwaitDecoded(size_t file);

  const unsigned minRunwayLengthFt_;
  const std::function<void(const std::filesystem::path&)> afterFileSized_;
  const std::function<void(const std::filesystem::path&)> beforeFolderListed_;

  std::mutex hookMutex_;

  // Steps and file slots only grow while the walk lists; a deque keeps the
  // places of those already there.
  std::mutex mutex_;
  std::condition_variable published_;
  std::deque<WalkStep> steps_;
  std::deque<FileSlot> files_;
  bool listed_ = false;
  std::exception_ptr listFailure_;

  size_t nextStep_ = 0;                 // taken by Next only
  std::atomic<size_t> filesTaken_ = 0;  // files Next has handed over
  // Last, so that it stops and joins before anything its thread uses goes.
  std::jthread thread_;
};

}  // namespace scanner
