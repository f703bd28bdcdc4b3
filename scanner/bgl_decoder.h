// Decoding the navaids of one scenery image (a file's bytes, or the unpacked
// copy of a packed file): NDBs, VOR/ILS/DME stations and airport runways.
// Decoding turns the image into entry lines without touching the database,
// so that a scan can decode the next files on another thread while it merges
// the lines of this one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/navaid_kind.h"
#include "scanner/scan_session.h"

namespace scanner {

// Header fields of a scenery image.
inline constexpr size_t kHeaderVorSection = 18;
inline constexpr size_t kHeaderFirstChannel = 22;
inline constexpr size_t kHeaderLastChannel = 24;
inline constexpr size_t kHeaderNdbSection = 78;
inline constexpr size_t kHeaderExtendedMark = 118;
inline constexpr size_t kHeaderAirportSection = 156;
inline constexpr uint32_t kExtendedHeaderMark = 0x87654321;

// Record layouts.
inline constexpr uint8_t kTableEntryTag = 0x15;
inline constexpr size_t kTableEntrySize = 9;
inline constexpr size_t kChannelEntrySize = 5;
inline constexpr size_t kNdbRecordSize = 42;
inline constexpr size_t kVorRecordSize = 44;
inline constexpr size_t kIlsRecordSize = 54;
inline constexpr uint32_t kLanguageChunkTag = 0x30001;
inline constexpr uint32_t kAirportEntryTag = 0x30002;
inline constexpr uint32_t kAirportEntryKind = 0x50001;
inline constexpr uint32_t kEnglishLanguage = 1033;
inline constexpr uint32_t kIdentifierRecord = 0x10006;
inline constexpr uint32_t kFrequencyRecord = 0x20001;
inline constexpr uint32_t kRunwayRecord = 0x10002;

// Units of the scenery records, in degrees.
inline constexpr double kLatitude24Deg = 1.7996850551153548e-05;
inline constexpr double kLongitude24Deg = 2.1457673398117624e-05;
inline constexpr double kAngle16Deg = 0.005493247882810711;
inline constexpr double kLatitude32Deg = 8.998425275576774e-06;
inline constexpr double kAngle32Deg = 8.38190317349087e-08;
inline constexpr long kRangeUnitMetres = 2048;
inline constexpr long kMetresPerNm = 1852;

enum class ImageResult {
  Done,        // every section read (or the user cancelled this file)
  Unreadable,  // a read ran past the end of the image; entries before it stay
  StopScan,    // the user chose "Abort scanning"
};

// The entry lines of one image in the order they were read, all in one
// text: thousands of lines a file make one allocation, not thousands.
class DecodedImage {
 public:
  // Room for the lines an image of `imageBytes` may hold, within reason.
  void Reserve(size_t imageBytes);
  void Add(navdb::NavaidKind kind, std::string_view line) {
    lines_.push_back({kind, text_.size(), line.size()});
    text_ += line;
  }

  size_t LineCount() const { return lines_.size(); }
  navdb::NavaidKind KindOf(size_t i) const { return lines_[i].kind; }
  std::string_view LineText(size_t i) const {
    return std::string_view(text_).substr(lines_[i].offset, lines_[i].length);
  }

  // A read ran past the end of the image, or the image cost more steps or
  // made more lines than its size allows: the lines before it stay.
  bool unreadable = false;
  // What the walk cost (table entries, records and chunks reached).
  uint64_t stepsTaken = 0;

 private:
  struct Line {
    navdb::NavaidKind kind;
    size_t offset;
    size_t length;
  };
  std::vector<Line> lines_;
  std::string text_;
};

// The entry lines of `image`. Runways shorter than `minRunwayLengthFt` end
// their airport. Needs nothing but the image: safe on any thread.
DecodedImage DecodeBglImage(std::span<const uint8_t> image, unsigned minRunwayLengthFt);

// Merges decoded lines into the database in their order. A line a list
// refuses is reported with a Retry/Cancel message box (Cancel ends the
// image); a line without its layout is set aside for the ".rejected" file,
// named by `source` (the file's path), and told once for the image; an image
// that could not be read to its end is Unreadable once its lines are merged.
ImageResult MergeDecodedImage(ScanSession& session, const DecodedImage& decoded,
                              std::string_view source = "scenery image");

// Decodes `image` and merges its navaids.
ImageResult ScanBglImage(ScanSession& session, std::span<const uint8_t> image,
                         std::string_view source = "scenery image");

// "Can't add entry to NDB list." and the sentence that names the limit.
std::string ListFullText(std::string_view listName);

// The NDB frequency text from the record's three frequency bytes.
std::string NdbFrequencyText(uint8_t tensUnits, uint8_t hundreds, uint8_t tenths);
// The ATIS text from a frequency record's three BCD bytes.
std::string AtisFrequencyText(uint8_t hundredths, uint8_t tensUnits, uint8_t hundreds);

}  // namespace scanner
