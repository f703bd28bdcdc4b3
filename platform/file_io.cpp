#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_set.h"
#include "platform/memory_pages.h"

namespace platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string UniqueNameBeside(const std::filesystem::path& path, std::string_view kind) {
  static std::atomic<unsigned> counter{0};
  return path.string() + "." + std::string(kind) + "." + std::to_string(::getpid()) + "." +
         std::to_string(counter.fetch_add(1));
}

int Injected(const FileFaultHook& fault, FileStep step, const std::filesystem::path& path) {
  return fault ? fault(step, path) : 0;
}

// The file that the temporary file will replace, when there is one: its
// permissions and owner are handed on.
std::optional<struct stat> ReplacedFile(const std::filesystem::path& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return std::nullopt;
  return old;
}

// The new file keeps the old one's permissions, exactly (the umask only
// narrowed them at the creation), and its owner where this process may give
// it: a save run as root must not leave the user a file they can no longer
// write. Best effort: only root may change an owner.
void TakeOverModeAndOwner(int fd, const struct stat& old) {
  if (::fchmod(fd, old.st_mode & 0777) != 0) return;
  if (::geteuid() != 0 || (old.st_uid == 0 && old.st_gid == 0)) return;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    // The new file stays root's, as it would have been anyway.
  }
}

// Writes `bytes` to a new temporary file beside `path` and syncs it to disk.
Status WriteSyncedTemporary(const std::filesystem::path& path, std::string_view bytes,
                            const FileFaultHook& fault, std::string& temporary) {
  temporary = UniqueNameBeside(path, "tmp");
  // Created with no more permissions than the file it replaces, so that the
  // new contents of a private file are never readable by others meanwhile.
  const std::optional<struct stat> old = ReplacedFile(path);
  const mode_t createMode = old ? (old->st_mode & 0777) : 0644;
  const int createFault = Injected(fault, FileStep::Create, path);
  const int fd = createFault != 0 ? -1
                                  : ::open(temporary.c_str(),
                                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
  if (fd < 0) {
    const int failed = createFault != 0 ? createFault : errno;
    temporary.clear();
    return SystemError(failed, path);
  }
  int failed = Injected(fault, FileStep::Write, path);
  if (failed == 0 && !WriteAll(fd, bytes)) failed = errno;
  if (failed == 0 && old) TakeOverModeAndOwner(fd, *old);
  if (failed == 0) failed = Injected(fault, FileStep::Sync, path);
  if (failed == 0 && ::fsync(fd) != 0) failed = errno;
  if (::close(fd) != 0 && failed == 0) failed = errno;
  if (failed != 0) {
    ::unlink(temporary.c_str());
    temporary.clear();
    return SystemError(failed, path);
  }
  return {};
}

// Gives the old file at `path` a second name, so that a later failed rename
// can put it back. Returns the name, or an empty text when there is no old
// file; a file system without hard links gets a copy instead.
Status KeepOldFile(const std::filesystem::path& path, std::string& kept) {
  kept = UniqueNameBeside(path, "old");
  if (::link(path.c_str(), kept.c_str()) == 0) return {};
  if (errno == ENOENT) {
    kept.clear();
    return {};
  }
  std::string bytes;
  Status read = ReadWholeFile(path, bytes);
  std::string copy;
  if (read.ok()) read = WriteSyncedTemporary(kept, bytes, {}, copy);
  if (read.ok() && ::rename(copy.c_str(), kept.c_str()) != 0) read = SystemError(errno, path);
  if (!read.ok()) {
    if (!copy.empty()) ::unlink(copy.c_str());
    kept.clear();
    return SystemError(read.error().errorNumber, path);
  }
  return read;
}

void RemoveFiles(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!name.empty()) ::unlink(name.c_str());
  }
}

// Records the set in `manifest` before the first rename: written and synced
// like the files themselves, renamed into place and the folder synced, so
// that it is there, whole, whenever a rename may have happened.
Status WriteManifest(const std::filesystem::path& manifest, std::span<const FileToWrite> files,
                     const std::vector<std::string>& temporaries,
                     const std::vector<std::string>& oldFiles, const FileFaultHook& fault) {
  std::vector<SetEntry> entries;
  for (size_t i = 0; i < files.size(); ++i) {
    entries.push_back({files[i].path.filename().string(),
                       std::filesystem::path(temporaries[i]).filename().string(),
                       std::filesystem::path(oldFiles[i]).filename().string(),
                       files[i].bytes.size(), ContentDigest(files[i].bytes)});
  }
  std::string temporary;
  Status written = WriteSyncedTemporary(manifest, EncodeSetManifest(entries), fault, temporary);
  if (!written.ok()) return written;
  const int injected = Injected(fault, FileStep::Rename, manifest);
  if (injected != 0 || ::rename(temporary.c_str(), manifest.c_str()) != 0) {
    const int failed = injected != 0 ? injected : errno;
    ::unlink(temporary.c_str());
    return SystemError(failed, manifest);
  }
  const Status synced = SyncFolder(manifest.parent_path(), fault);
  if (!synced.ok()) {
    ::unlink(manifest.c_str());
    return SystemError(synced.error().errorNumber, manifest);
  }
  return synced;
}

}  // namespace

Status ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  // Non-blocking, so that a named pipe in place of a file cannot hang the
  // reader in open() or read(); it is refused below as no regular file.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return SystemError(errno, path);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int saved = errno;
    ::close(fd);
    return SystemError(saved, path);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    if (S_ISDIR(info.st_mode)) return SystemError(EISDIR, path);
    return Error{std::string(kNotRegularFileText), EINVAL, path};
  }
  bytes.clear();
  bytes.reserve(static_cast<size_t>(info.st_size));
  PrefaultForWriting(bytes.data(), bytes.capacity());
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      int saved = errno;
      ::close(fd);
      return SystemError(saved, path);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return {};
}

Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::string temporary;
  Status written = WriteSyncedTemporary(path, bytes, {}, temporary);
  if (!written.ok()) return written;
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int failed = errno;
    ::unlink(temporary.c_str());
    return SystemError(failed, path);
  }
  return {};
}

Status SyncFolder(const std::filesystem::path& folder, const FileFaultHook& fault) {
  if (const int injected = Injected(fault, FileStep::SyncFolder, folder)) {
    return SystemError(injected, folder);
  }
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return SystemError(errno, folder);
  // Some file systems cannot sync a folder; their renames are as durable as they get.
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  const int failed = synced ? 0 : errno;
  ::close(fd);
  if (!synced) return SystemError(failed, folder);
  return {};
}

Status ReplaceFilesAsSet(std::span<const FileToWrite> files, const FileFaultHook& fault,
                         const std::filesystem::path& manifest) {
  std::vector<std::string> temporaries(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const Status written =
        WriteSyncedTemporary(files[i].path, files[i].bytes, fault, temporaries[i]);
    if (!written.ok()) {
      RemoveFiles(temporaries);
      return written;
    }
  }
  std::vector<std::string> oldFiles(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const Status kept = KeepOldFile(files[i].path, oldFiles[i]);
    if (!kept.ok()) {
      RemoveFiles(temporaries);
      RemoveFiles(oldFiles);
      return kept;
    }
  }
  if (!manifest.empty() && !files.empty()) {
    const Status recorded = WriteManifest(manifest, files, temporaries, oldFiles, fault);
    if (!recorded.ok()) {
      RemoveFiles(temporaries);
      RemoveFiles(oldFiles);
      return recorded;
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    const int injected = Injected(fault, FileStep::Rename, files[i].path);
    if (injected == 0 && ::rename(temporaries[i].c_str(), files[i].path.c_str()) == 0) {
      temporaries[i].clear();
      continue;
    }
    Status failure = SystemError(injected != 0 ? injected : errno, files[i].path);
    // Put back the old contents of the files already renamed.
    bool restored = true;
    for (size_t j = 0; j < i; ++j) {
      if (oldFiles[j].empty()) {
        restored = (::unlink(files[j].path.c_str()) == 0 || errno == ENOENT) && restored;
      } else if (::rename(oldFiles[j].c_str(), files[j].path.c_str()) == 0) {
        oldFiles[j].clear();
      } else {
        restored = false;
      }
    }
    if (!restored && !manifest.empty()) {
      // The old files still to be put back stay, with the manifest that
      // names them, for FinishInterruptedSet.
      return failure;
    }
    RemoveFiles(temporaries);
    RemoveFiles(oldFiles);
    if (!manifest.empty()) ::unlink(manifest.c_str());
    return failure;
  }
  if (files.empty()) return {};
  const Status synced = SyncFolder(files.front().path.parent_path(), fault);
  if (!manifest.empty()) ::unlink(manifest.c_str());
  RemoveFiles(oldFiles);
  return synced;
}

Status CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::string bytes;
  Status read = ReadWholeFile(from, bytes);
  if (!read.ok()) return read;
  return ReplaceFileAtomically(to, bytes);
}

}  // namespace platform
