#include "data/nav_database.h"

#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "platform/file_bytes.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

// The code of the first stage at which a file failed (100, 200 or 300), plus
// the bits of the files that failed at that stage; 0 when all were read.
int ReadStatus(const platform::EnumArray<DatabaseFile, std::optional<platform::ReadStep>,
                                         kDatabaseFileCount>& steps) {
  static constexpr std::array<std::pair<platform::ReadStep, int>, 3> kStageCodes = {
      {{platform::ReadStep::Open, kStatusOpenFailed},
       {platform::ReadStep::Size, kStatusMappingFailed},
       {platform::ReadStep::Read, kStatusViewFailed}}};
  for (const auto& [step, stageCode] : kStageCodes) {
    int failedBits = 0;
    for (size_t file = 0; file < kDatabaseFileCount; ++file) {
      if (steps[file] == step) failedBits += kDatabaseFileBits[file];
    }
    if (failedBits != 0) return stageCode + failedBits;
  }
  return 0;
}

std::string PathOf(const std::string& simulatorFolder, size_t file) {
  std::string folder = simulatorFolder.empty() ? "" : simulatorFolder + "/";
  return folder + kDatabaseFilePaths[file];
}

int64_t Nanoseconds(const struct timespec& time) {
  return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {true,
          static_cast<uint64_t>(info.st_dev),
          static_cast<uint64_t>(info.st_ino),
          static_cast<int64_t>(info.st_size),
          Nanoseconds(info.st_mtim),
          Nanoseconds(info.st_ctim)};
}

}  // namespace

size_t LineEnd(std::span<const char> view, size_t position, size_t sizeBytes) {
  size_t limit = position + sizeBytes;
  if (limit > view.size()) limit = view.size();
  if (position >= limit) return limit;
  const void* found = std::memchr(view.data() + position, '\n', limit - position);
  if (found == nullptr) return limit;
  return static_cast<size_t>(static_cast<const char*>(found) - view.data()) + 1;
}

std::optional<std::string_view> DatabaseView::Record(size_t row) const {
  if (recordLengthBytes == 0 || row >= RecordCount()) return std::nullopt;
  return std::string_view(bytes.data() + firstRecordOffsetBytes + row * recordLengthBytes,
                          recordLengthBytes);
}

DatabaseView MakeDatabaseView(std::span<const char> bytes) {
  DatabaseView view;
  view.bytes = bytes;
  view.firstRecordOffsetBytes = LineEnd(bytes, 0, bytes.size());
  if (view.firstRecordOffsetBytes < bytes.size()) {
    size_t recordEnd =
        LineEnd(bytes, view.firstRecordOffsetBytes, bytes.size() - view.firstRecordOffsetBytes);
    view.recordLengthBytes = recordEnd - view.firstRecordOffsetBytes;
  }
  return view;
}

int CheckDatabaseViews(DatabaseViews& views) {
  int code = kStatusRecordLength;
  for (size_t file = 0; file < kDatabaseFileCount; ++file) {
    const DatabaseView& view = views[file];
    if (view.recordLengthBytes == 0 || view.BytesAfterHeader() % view.recordLengthBytes == 0) {
      continue;
    }
    code = file == platform::IndexOf(DatabaseFile::Index) ? kStatusRecordLength + 1
                                                          : code + kDatabaseFileBits[file];
  }
  if (code != kStatusRecordLength) return code;
  if (views[DatabaseFile::Index].recordLengthBytes == 0) return kStatusIndexCount;
  size_t navaidRecords = 0;
  for (size_t file = platform::IndexOf(DatabaseFile::Ndb); file < kDatabaseFileCount; ++file) {
    navaidRecords += views[file].RecordCount();
  }
  return navaidRecords == views[DatabaseFile::Index].RecordCount() ? 0 : kStatusIndexCount;
}

DatabaseStamps StampDatabaseFiles(const std::string& simulatorFolder) {
  DatabaseStamps stamps;
  for (size_t file = 0; file < kDatabaseFileCount; ++file) {
    stamps[file] = StampOf(PathOf(simulatorFolder, file));
  }
  return stamps;
}

int OpenNavDatabase(NavDatabase& database, const std::string& simulatorFolder) {
  CloseNavDatabase(database);
  // The step each file failed at; none for a file that was read.
  platform::EnumArray<DatabaseFile, std::optional<platform::ReadStep>, kDatabaseFileCount> steps;
  for (size_t file = 0; file < kDatabaseFileCount; ++file) {
    const std::string path = PathOf(simulatorFolder, file);
    // Stamped before the read: a change while it is read then shows as a
    // stamp that differs at the next check, never as one that hides it.
    database.stamps[file] = StampOf(path);
    platform::Result<std::vector<uint8_t>, platform::ReadError> read =
        platform::ReadFileBytes(path, kMaxDatabaseFileBytes);
    if (read) {
      database.bytes[file] = std::move(*read);
    } else {
      database.bytes[file] = {};
      steps[file] = read.error().step;
    }
  }
  int code = ReadStatus(steps);
  if (code == 0) {
    for (size_t file = 0; file < kDatabaseFileCount; ++file) {
      const std::vector<uint8_t>& bytes = database.bytes[file];
      database.views[file] =
          MakeDatabaseView({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    code = CheckDatabaseViews(database.views);
  }
  if (code != 0) {
    // Nothing of an unusable database is read later, so its bytes go now.
    for (std::vector<uint8_t>& bytes : database.bytes) bytes = {};
    database.views = {};
  }
  database.statusCode = code;
  return code;
}

void CloseNavDatabase(NavDatabase& database) {
  for (std::vector<uint8_t>& bytes : database.bytes) bytes = {};
  database.views = {};
  database.stamps = {};
  database.statusCode = kStatusOpenFailed + 31;
}

double IndexLongitudeDeg(std::string_view record) {
  return platform::ReadDouble(platform::Columns(record, 0, 12));
}

double IndexLatitudeDeg(std::string_view record) {
  return platform::ReadDouble(platform::Columns(record, 12, 10));
}

char IndexKindLetter(std::string_view record) {
  return record.size() > 24 ? record[24] : '\0';
}

long IndexRow(std::string_view record) {
  return platform::ReadLong(platform::Columns(record, 27, 5));
}

}  // namespace lumaro
