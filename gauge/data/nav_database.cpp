#include "data/nav_database.h"

#include <cstring>

#include "data/nav_math.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

// Runs one stage over all five files; returns the code of the failed ones or 0.
template <typename Stage>
int RunStage(NavDatabase& database, int stageCode, Stage stage) {
  int failedBits = 0;
  for (size_t file = 0; file < kDatabaseFileCount; ++file) {
    if (!stage(database.files[file], file)) failedBits += kDatabaseFileBits[file];
  }
  return failedBits == 0 ? 0 : stageCode + failedBits;
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

int OpenNavDatabase(NavDatabase& database, const std::string& simulatorFolder) {
  CloseNavDatabase(database);
  std::string folder = simulatorFolder.empty() ? "" : simulatorFolder + "/";
  int code = RunStage(database, kStatusOpenFailed, [&](platform::MappedFile& file, int index) {
    return file.Open(folder + kDatabaseFilePaths[index]);
  });
  if (code == 0) {
    code = RunStage(database, kStatusMappingFailed,
                    [](platform::MappedFile& file, int) { return file.ReadSize(); });
  }
  // Mapping is safe here although SKAT may save while the gauge runs: SKAT
  // never writes into a database file, it writes a new file beside it and
  // renames it over the old name. The rename moves only the name; the file
  // mapped here lives on, whole and unchanged, as long as this view exists,
  // so the view can neither lose pages (a fault) nor show a half-written
  // file. The new files are seen at the next install.
  if (code == 0) {
    code = RunStage(database, kStatusViewFailed,
                    [](platform::MappedFile& file, int) { return file.MapView(); });
  }
  if (code == 0) {
    for (size_t file = 0; file < kDatabaseFileCount; ++file) {
      database.views[file] = MakeDatabaseView(database.files[file].Bytes());
    }
    code = CheckDatabaseViews(database.views);
  }
  if (code != 0) {
    // Nothing of an unusable database is read later, so its views go now.
    for (platform::MappedFile& file : database.files) file.Close();
    database.views = {};
  }
  database.statusCode = code;
  return code;
}

void CloseNavDatabase(NavDatabase& database) {
  for (platform::MappedFile& file : database.files) file.Close();
  database.views = {};
  database.statusCode = kStatusOpenFailed + 31;
}

double IndexLongitudeDeg(std::string_view record) {
  return ParseDouble(platform::Columns(record, 0, 12));
}

double IndexLatitudeDeg(std::string_view record) {
  return ParseDouble(platform::Columns(record, 12, 10));
}

char IndexKindLetter(std::string_view record) {
  return record.size() > 24 ? record[24] : '\0';
}

long IndexRow(std::string_view record) {
  return ParseLong(platform::Columns(record, 27, 5));
}

}  // namespace lumaro
