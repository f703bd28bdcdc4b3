// The five database files as the display reads them: copied into the
// module's own memory at install (and again when they change on disk),
// checked for whole fixed-length records, addressed by row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/enum_array.h"

namespace lumaro {

// The five files of the display's database, in the order of their status bits.
enum class DatabaseFile { Index, Ndb, Vor, Airport, Intersection };
inline constexpr size_t kDatabaseFileCount = 5;

// Status code bits naming the files, and their paths under the simulator folder.
inline constexpr std::array<int, kDatabaseFileCount> kDatabaseFileBits = {1, 2, 4, 8, 16};
inline constexpr std::array<const char*, kDatabaseFileCount> kDatabaseFilePaths = {
    "NavData/idx.dat", "NavData/ndb.dat", "NavData/vor.dat", "NavData/apt.dat", "NavData/int.dat"};

// The stages of reading a file keep the codes of the mapping they replaced:
// 100 it does not open, 200 it is empty or no regular file (a named pipe, a
// device), 300 reading it failed, it shrank while read, or it is larger than
// kMaxDatabaseFileBytes.
inline constexpr int kStatusOpenFailed = 100;
inline constexpr int kStatusMappingFailed = 200;
inline constexpr int kStatusViewFailed = 300;
inline constexpr int kStatusRecordLength = 400;
inline constexpr int kStatusIndexCount = 500;

// Position after the first line feed at or after position, or position +
// sizeBytes when none lies within that many bytes (never past the view end).
size_t LineEnd(std::span<const char> view, size_t position, size_t sizeBytes);

// One database file: one header line, then records as long as the first.
struct DatabaseView {
  std::span<const char> bytes;
  size_t firstRecordOffsetBytes = 0;
  size_t recordLengthBytes = 0;  // 0 when the file holds no record

  size_t BytesAfterHeader() const { return bytes.size() - firstRecordOffsetBytes; }
  size_t RecordCount() const {
    return recordLengthBytes == 0 ? 0 : BytesAfterHeader() / recordLengthBytes;
  }
  // The record of that row, or nothing when it lies (even partly) beyond the file.
  std::optional<std::string_view> Record(size_t row) const;
};

using DatabaseViews = platform::EnumArray<DatabaseFile, DatabaseView, kDatabaseFileCount>;

DatabaseView MakeDatabaseView(std::span<const char> bytes);

// Record-length and count checks over five views (index first): 0, 4xx or 500.
int CheckDatabaseViews(DatabaseViews& views);

// Five-digit rows address at most 100,000 records of some hundred bytes; a
// larger file is no database and is not read into memory.
inline constexpr size_t kMaxDatabaseFileBytes = 64u << 20;

// What a database file was on disk: any change to it (rewritten in place,
// copied over, truncated, replaced by a rename, removed) changes its stamp.
struct FileStamp {
  bool present = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t sizeBytes = 0;
  int64_t modifiedNs = 0;
  int64_t changedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
using DatabaseStamps = platform::EnumArray<DatabaseFile, FileStamp, kDatabaseFileCount>;

// The stamps of the five files below simulatorFolder, as they are now.
DatabaseStamps StampDatabaseFiles(const std::string& simulatorFolder);

struct NavDatabase {
  platform::EnumArray<DatabaseFile, std::vector<uint8_t>, kDatabaseFileCount> bytes;
  DatabaseViews views;
  DatabaseStamps stamps;  // of the files as they were read
  int statusCode = kStatusOpenFailed + 31;
};

// Reads and checks the five files below simulatorFolder ("" for the current
// directory); returns and stores the status code. The views address the
// module's own copies, never the files: a file that another program shortens
// or rewrites afterwards cannot fault a read (a shortened mapping would), it
// only changes the stamps. Nothing blocks: a named pipe is refused at once.
int OpenNavDatabase(NavDatabase& database, const std::string& simulatorFolder);
void CloseNavDatabase(NavDatabase& database);

// Fields of an index record.
double IndexLongitudeDeg(std::string_view record);
double IndexLatitudeDeg(std::string_view record);
char IndexKindLetter(std::string_view record);
long IndexRow(std::string_view record);

}  // namespace lumaro
