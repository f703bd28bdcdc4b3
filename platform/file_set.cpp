#include "platform/file_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/text_lines.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ULL;

// The same digest on every processor: bytes are read as little-endian words.
uint64_t LoadLittleEndian(const unsigned char* bytes, size_t count) {
  if (std::endian::native == std::endian::little && count == 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
  }
  uint64_t word = 0;
  for (size_t i = 0; i < count; ++i) word |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return word;
}

uint64_t FinalMix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ULL;
  return h ^ (h >> 33);
}

std::string Hex(uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

std::optional<uint64_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint64_t>(digit);
  }
  return value;
}

// A name of a file in the folder itself: no path, no control bytes.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<target>.<kind>.<pid>.<n>", the names the set replacement gives.
bool IsNameBeside(std::string_view name, std::string_view target, std::string_view kind) {
  const std::string prefix = std::string(target) + "." + std::string(kind) + ".";
  if (!name.starts_with(prefix)) return false;
  const std::string_view numbers = name.substr(prefix.size());
  const size_t dot = numbers.find('.');
  return dot != std::string_view::npos && IsDigits(numbers.substr(0, dot)) &&
         IsDigits(numbers.substr(dot + 1));
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

Result<SetEntry> ParseEntry(std::string_view line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != 5) return Failure("a line does not have five fields");
  SetEntry entry{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), 0, 0};
  const std::optional<uint64_t> size = ParseHex(fields[3]);
  const std::optional<uint64_t> digest = ParseHex(fields[4]);
  if (!IsPlainName(entry.target) || !IsNameBeside(entry.temporary, entry.target, "tmp") ||
      (!entry.kept.empty() && !IsNameBeside(entry.kept, entry.target, "old"))) {
    return Failure("a line names a file that no set replacement makes");
  }
  if (!size || !digest) return Failure("a line has no size or digest");
  entry.sizeBytes = *size;
  entry.digest = *digest;
  return entry;
}

Error Failed(std::string error) {
  return Failure(std::move(error));
}

std::string SystemError(std::string_view what, const fs::path& path) {
  return std::string(what) + " " + path.filename().string() + ": " + std::strerror(errno);
}

bool IsThere(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// True when `path` is a plain file that holds `entry`'s new contents.
bool HoldsNewContents(const fs::path& path, const SetEntry& entry) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<uint64_t>(info.st_size) != entry.sizeBytes) {
    return false;
  }
  std::string bytes;
  return ReadWholeFile(path, bytes).ok() && bytes.size() == entry.sizeBytes &&
         ContentDigest(bytes) == entry.digest;
}

bool RemoveIfThere(const fs::path& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

// What each file of the set holds now.
struct FileState {
  bool temporaryNew = false;  // the temporary file is there, whole
  bool targetNew = false;     // the new contents are in place
  bool targetThere = false;
  bool keptThere = false;
};

Result<SetRecovery> RollForward(const fs::path& manifest, const std::vector<SetEntry>& entries,
                                const std::vector<FileState>& states) {
  const fs::path folder = manifest.parent_path();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (states[i].targetNew) continue;
    if (::rename((folder / entries[i].temporary).c_str(), (folder / entries[i].target).c_str()) !=
        0) {
      return Failed(SystemError("Can't put in place", folder / entries[i].target));
    }
  }
  if (const Status synced = SyncFolder(folder); !synced.ok()) return Failed(synced.error().message);
  if (!RemoveIfThere(manifest)) return Failed(SystemError("Can't remove", manifest));
  for (const SetEntry& entry : entries) {
    RemoveIfThere(folder / entry.temporary);
    if (!entry.kept.empty()) RemoveIfThere(folder / entry.kept);
  }
  return SetRecovery::RolledForward;
}

Result<SetRecovery> RollBack(const fs::path& manifest, const std::vector<SetEntry>& entries,
                             const std::vector<FileState>& states) {
  const fs::path folder = manifest.parent_path();
  for (size_t i = 0; i < entries.size(); ++i) {
    const fs::path target = folder / entries[i].target;
    if (entries[i].kept.empty()) {
      // There was no old file: the new one goes.
      if (states[i].targetNew && !RemoveIfThere(target)) {
        return Failed(SystemError("Can't remove", target));
      }
      continue;
    }
    if (!states[i].keptThere) continue;  // the old contents are in place already
    const fs::path kept = folder / entries[i].kept;
    if (::rename(kept.c_str(), target.c_str()) != 0) {
      return Failed(SystemError("Can't put back", target));
    }
    // Renaming a second name of the file onto the first leaves both.
    if (!RemoveIfThere(kept)) return Failed(SystemError("Can't remove", kept));
  }
  for (const SetEntry& entry : entries) RemoveIfThere(folder / entry.temporary);
  if (const Status synced = SyncFolder(folder); !synced.ok()) return Failed(synced.error().message);
  if (!RemoveIfThere(manifest)) return Failed(SystemError("Can't remove", manifest));
  return SetRecovery::RolledBack;
}

}  // namespace

uint64_t ContentDigest(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  // Four lanes of eight bytes each, so that the multiplications of a step
  // do not wait for one another: a save digests megabytes.
  uint64_t lanes[4] = {kGoldenRatio ^ size, kGoldenRatio + 1, kGoldenRatio + 2, kGoldenRatio + 3};
  size_t at = 0;
  for (; at + 32 <= size; at += 32) {
    for (size_t lane = 0; lane < 4; ++lane) {
      uint64_t& h = lanes[lane];
      h = (h ^ LoadLittleEndian(data + at + 8 * lane, 8)) * kGoldenRatio;
      h ^= h >> 32;
    }
  }
  uint64_t h = lanes[0];
  for (size_t lane = 1; lane < 4; ++lane) h = (h ^ FinalMix(lanes[lane])) * kGoldenRatio;
  for (; at + 8 <= size; at += 8) {
    h = (h ^ LoadLittleEndian(data + at, 8)) * kGoldenRatio;
    h ^= h >> 32;
  }
  h = (h ^ LoadLittleEndian(data + at, size - at)) * kGoldenRatio;
  return FinalMix(h);
}

std::string EncodeSetManifest(std::span<const SetEntry> entries) {
  std::string text(kSetManifestHeader);
  text += '\n';
  for (const SetEntry& entry : entries) {
    text.append(entry.target).append("\t").append(entry.temporary).append("\t");
    text.append(entry.kept).append("\t").append(Hex(entry.sizeBytes)).append("\t");
    text.append(Hex(entry.digest)).append("\n");
  }
  return text;
}

Result<std::vector<SetEntry>> ParseSetManifest(std::string_view text) {
  std::vector<SetEntry> entries;
  std::string problem;
  ForEachTextLine(text, [&](size_t lineNumber, std::string_view line) {
    if (lineNumber == 1) {
      if (line != kSetManifestHeader) problem = "its first line is not \"file set 1\"";
      return problem.empty();
    }
    if (line.empty()) return true;
    Result<SetEntry> entry = ParseEntry(line);
    if (!entry) {
      problem = entry.error().message;
    } else if (std::any_of(entries.begin(), entries.end(),
                           [&](const SetEntry& other) { return other.target == entry->target; })) {
      problem = "a file is named twice";
    } else {
      entries.push_back(std::move(entry).value());
    }
    return problem.empty();
  });
  if (problem.empty() && entries.empty()) problem = "it names no file";
  if (!problem.empty()) return Failure(std::move(problem));
  return entries;
}

Result<SetRecovery> FinishInterruptedSet(const fs::path& manifest,
                                         std::span<const std::string_view> allowedTargets) {
  if (!IsThere(manifest)) return SetRecovery::NothingLeft;
  const std::string name = manifest.filename().string();
  std::string text;
  if (const Status read = ReadWholeFile(manifest, text); !read.ok()) {
    return Failed(name + " cannot be read: " + read.error().message);
  }
  const Result<std::vector<SetEntry>> entries = ParseSetManifest(text);
  if (!entries) return Failed(name + " is damaged: " + entries.error().message);
  for (const SetEntry& entry : *entries) {
    if (std::find(allowedTargets.begin(), allowedTargets.end(), entry.target) ==
        allowedTargets.end()) {
      return Failed(name + " names " + entry.target + ", which is no file of this set");
    }
  }
  const fs::path folder = manifest.parent_path();
  std::vector<FileState> states;
  for (const SetEntry& entry : *entries) {
    FileState state;
    state.temporaryNew = HoldsNewContents(folder / entry.temporary, entry);
    state.targetNew = HoldsNewContents(folder / entry.target, entry);
    state.targetThere = IsThere(folder / entry.target);
    state.keptThere = !entry.kept.empty() && IsThere(folder / entry.kept);
    states.push_back(state);
  }
  const bool forward = std::all_of(states.begin(), states.end(), [](const FileState& state) {
    return state.temporaryNew || state.targetNew;
  });
  if (forward) return RollForward(manifest, *entries, states);
  bool back = true;
  for (size_t i = 0; i < entries->size(); ++i) {
    const FileState& state = states[i];
    // An old file that is gone must have been put back already.
    if (!(*entries)[i].kept.empty() && !state.keptThere && (state.targetNew || !state.targetThere))
      back = false;
  }
  if (back) return RollBack(manifest, *entries, states);
  return Failed("neither the new nor the old contents of every file are there");
}

}  // namespace platform
