// Scenery images whose tables point many times at the same records. Nothing
// in the format forbids it, and a crafted image of half a megabyte made
// millions of lines (a scan ended in bad_alloc) or a minute of decoding. The
// tests count lines and steps against the image's size, so that a decoder
// that multiplies its work fails them without taking the machine's memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "scanner/bgl_decoder.h"
#include "scanner/decode_budget.h"
#include "scanner/merge.h"
#include "scanner/scan_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;

// Little-endian writes into an image that grows as needed.
class Image {
 public:
  explicit Image(size_t header) : bytes_(header, 0) {}
  size_t size() const { return bytes_.size(); }
  void U8(size_t at, uint8_t value) { Room(at + 1)[at] = value; }
  void U16(size_t at, uint16_t value) { std::memcpy(Room(at + 2) + at, &value, 2); }
  void U32(size_t at, uint32_t value) { std::memcpy(Room(at + 4) + at, &value, 4); }
  void S24(size_t at, int32_t value) {
    for (size_t i = 0; i < 3; ++i) U8(at + i, static_cast<uint8_t>(value >> (8 * i)));
  }
  void Text(size_t at, const std::string& text) {
    std::memcpy(Room(at + text.size()) + at, text.data(), text.size());
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  uint8_t* Room(size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
    return bytes_.data();
  }
  std::vector<uint8_t> bytes_;
};

// Four letters of `i`, so that every record makes a line of its own.
std::string Letters(size_t i) {
  std::string text(4, 'A');
  for (size_t at = 4; at-- > 0; i /= 26) text[at] = static_cast<char>('A' + i % 26);
  return text;
}

// An NDB section whose `entries` table entries all name one run of `records`.
Image SharedNdbRun(size_t entries, size_t records) {
  constexpr size_t kSection = 128;
  Image image(kSection);
  image.U32(78, kSection);
  const size_t run = entries * scanner::kTableEntrySize + 1;  // after the table's end
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = kSection + i * scanner::kTableEntrySize;
    image.U8(entry, scanner::kTableEntryTag);
    image.U32(entry + 5, static_cast<uint32_t>(run));
  }
  for (size_t i = 0; i < records; ++i) {
    const size_t record = kSection + run + i * scanner::kNdbRecordSize;
    image.U8(record, 4);
    image.U8(record + 1, 0x52);
    image.U8(record + 2, 0x03);
    image.U8(record + 3, 0x05);
    image.S24(record + 4, scenery_writer::Latitude24(45.0));
    image.S24(record + 7, scenery_writer::Longitude24(5.0));
    image.Text(record + 13, "N" + Letters(i));
    image.Text(record + 18, "SHARED");
  }
  image.U8(kSection + run + records * scanner::kNdbRecordSize, 0);  // the run's end
  return image;
}

// A VOR section whose `channels` channels all name one sub-table of
// `entries` entries, which all name one run of `records` VOR records.
Image SharedVorRun(size_t channels, size_t entries, size_t records, bool withIdentifiers) {
  constexpr size_t kSection = 128;
  Image image(kSection);
  image.U32(18, kSection);
  image.U16(22, 0);
  image.U16(24, static_cast<uint16_t>(channels - 1));
  const size_t subTable = channels * scanner::kChannelEntrySize;
  const size_t run = subTable + entries * scanner::kTableEntrySize + 1;
  for (size_t i = 0; i < channels; ++i) {
    image.U8(kSection + i * scanner::kChannelEntrySize, 1);
    image.U32(kSection + i * scanner::kChannelEntrySize + 1, static_cast<uint32_t>(subTable));
  }
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = kSection + subTable + i * scanner::kTableEntrySize;
    image.U8(entry, scanner::kTableEntryTag);
    image.U32(entry + 5, static_cast<uint32_t>(run));
  }
  for (size_t i = 0; i < records; ++i) {
    const size_t record = kSection + run + i * scanner::kVorRecordSize;
    image.U8(record, 4);
    image.U8(record + 1, 50);
    image.S24(record + 5, scenery_writer::Latitude24(45.0));
    image.S24(record + 8, scenery_writer::Longitude24(5.0));
    if (withIdentifiers) image.Text(record + 15, "V" + Letters(i));
    image.Text(record + 20, "SHARED");
  }
  image.U8(kSection + run + records * scanner::kVorRecordSize, 0);
  return image;
}

constexpr uint32_t kAirportSection = 168;

// Airport entries of the English chunk, each naming the data block at
// `blockOf(i)`; returns the offset after the entries.
template <class BlockOf>
size_t AirportEntries(Image& image, size_t airports, BlockOf blockOf) {
  image.U32(118, scanner::kExtendedHeaderMark);
  image.U32(156, kAirportSection);
  image.U32(kAirportSection, scanner::kLanguageChunkTag);
  image.U32(kAirportSection + 8, scanner::kEnglishLanguage);
  size_t entry = kAirportSection + 24;
  for (size_t i = 0; i < airports; ++i, entry += 40) {
    image.U32(entry, scanner::kAirportEntryTag);
    image.U32(entry + 4, 32);
    image.U32(entry + 8, scanner::kAirportEntryKind);
    image.U32(entry + 12, static_cast<uint32_t>(blockOf(i)));
    image.Text(entry + 16, "FIELD");
  }
  image.U32(kAirportSection + 4, static_cast<uint32_t>(entry - kAirportSection - 8));
  return entry + 8;
}

// `airports` airports that all name one data block of `runways` runways.
Image SharedAirportBlock(size_t airports, size_t runways) {
  Image image(kAirportSection);
  const size_t block = kAirportSection + 24 + airports * 40 + 8;
  AirportEntries(image, airports, [&](size_t) { return block; });
  image.U32(block + 8, 1);
  size_t record = block + 16;
  image.U32(record, scanner::kIdentifierRecord);
  image.U32(record + 4, 8);
  image.Text(record + 8, "LXXX");
  record += 16;
  for (size_t i = 0; i < runways; ++i, record += 56) {
    image.U32(record, scanner::kRunwayRecord);
    image.U32(record + 4, 48);
    image.U32(record + 12, static_cast<uint32_t>(scenery_writer::Latitude32(45.0)));
    image.U32(record + 40, 6000);
    image.U32(record + 52, static_cast<uint32_t>(1 + i % 36));
    image.U32(record + 48, static_cast<uint32_t>(i / 36));  // designator: runways differ
  }
  image.U32(block + 4, static_cast<uint32_t>(record - block));
  return image;
}

// Data blocks that overlap: the block of airport k begins inside a chain of
// 24-byte records and holds every record after it, so the walks together
// take the square of their number. No record is an identifier.
Image OverlappingAirportBlocks(size_t airports) {
  Image image(kAirportSection);
  const size_t chain = kAirportSection + 24 + airports * 40 + 8;
  const size_t chainEnd = chain + (airports + 1) * 24;
  AirportEntries(image, airports, [&](size_t i) { return chain + i * 24 + 8; });
  for (size_t unit = chain; unit < chainEnd; unit += 24) {
    image.U32(unit, 0x99);                                         // a record of no use
    image.U32(unit + 4, 16);                                       // the next one 24 bytes on
    image.U32(unit + 12, static_cast<uint32_t>(chainEnd - unit));  // a block's length
    image.U32(unit + 16, 1);                                       // a block's kind
  }
  return image;
}

std::set<std::string> LinesOf(const scanner::DecodedImage& decoded) {
  std::set<std::string> lines;
  for (size_t i = 0; i < decoded.LineCount(); ++i) lines.emplace(decoded.LineText(i));
  return lines;
}

// The bound every image keeps, whatever it holds.
void ExpectWithinBounds(const Image& image, const scanner::DecodedImage& decoded) {
  EXPECT_LE(decoded.LineCount(), image.size() / scanner::kSmallestRecordBytes + 1);
  EXPECT_LE(decoded.stepsTaken,
            scanner::kStepsPerImageByte * image.size() + scanner::kStepsOfAnyImage + 1);
}

TEST(SharedRuns, EveryNdbTableEntryNamingOneRunGivesItsRecordsOnce) {
  const Image image = SharedNdbRun(2000, 100);  // 22 KB: once 200,000 lines
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_FALSE(decoded.unreadable);
  EXPECT_EQ(decoded.LineCount(), 100u);
  EXPECT_EQ(LinesOf(decoded).size(), 100u);
  ExpectWithinBounds(image, decoded);
}

TEST(SharedRuns, EveryVorChannelNamingOneSubTableGivesItsRecordsOnce) {
  const Image image = SharedVorRun(200, 100, 10, true);  // 11 KB: once 200,000 lines
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_FALSE(decoded.unreadable);
  // Each record once, at the frequency of the first channel that names it.
  ASSERT_EQ(decoded.LineCount(), 10u);
  EXPECT_EQ(decoded.LineText(0).substr(50, 6), "108.00");
  ExpectWithinBounds(image, decoded);
}

TEST(SharedRuns, RecordsWithoutIdentifiersCostNoMoreThanTheImage) {
  // Every record is passed over for its empty identifier: no line shows the
  // work, only the steps do. Once 2,000 x 1,000 x 100 record visits.
  const Image image = SharedVorRun(2000, 1000, 100, false);
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_FALSE(decoded.unreadable);
  EXPECT_EQ(decoded.LineCount(), 0u);
  ExpectWithinBounds(image, decoded);
  EXPECT_LE(decoded.stepsTaken, 2000u * 2 + 1000 * 2 + 100 + 16);
}

TEST(SharedRuns, AirportsSharingADataBlockGiveItsRunwaysOnce) {
  const Image image = SharedAirportBlock(1000, 50);  // once 50,000 lines
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_FALSE(decoded.unreadable);
  EXPECT_EQ(decoded.LineCount(), 50u);
  EXPECT_EQ(LinesOf(decoded).size(), 50u);
  ExpectWithinBounds(image, decoded);
}

TEST(SharedRuns, OverlappingBlocksPastTheBudgetAreUnrecognisedData) {
  const Image image = OverlappingAirportBlocks(4000);  // 4,000 walks of 2,000 records each
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_TRUE(decoded.unreadable);
  ExpectWithinBounds(image, decoded);

  // Merged, it is the scan's "unrecognized data": the scan goes on.
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  EXPECT_EQ(scanner::MergeDecodedImage(session, decoded), scanner::ImageResult::Unreadable);
}

TEST(SharedRuns, MoreLinesThanTheImageCanHoldAreUnrecognisedData) {
  // Table entries that name runs two bytes apart, over bytes that read as
  // an NDB record from every even offset: records that overlap their
  // neighbours, more than the image could hold side by side.
  constexpr size_t kSection = 128, kEntries = 3000;
  Image image(kSection);
  image.U32(78, kSection);
  const size_t runs = kEntries * scanner::kTableEntrySize + 1;
  for (size_t i = 0; i < kEntries; ++i) {
    image.U8(kSection + i * scanner::kTableEntrySize, scanner::kTableEntryTag);
    image.U32(kSection + i * scanner::kTableEntrySize + 5, static_cast<uint32_t>(runs + 2 * i));
  }
  for (size_t at = 0; at < 2 * kEntries + scanner::kNdbRecordSize; ++at) {
    image.U8(kSection + runs + at, at % 2 == 0 ? 4 : 'A');
  }
  image.U8(kSection + runs + 2 * kEntries + 2 * scanner::kNdbRecordSize, 0);  // room to end runs
  const scanner::DecodedImage decoded = scanner::DecodeBglImage(image.bytes(), 0);
  EXPECT_TRUE(decoded.unreadable);
  EXPECT_EQ(decoded.LineCount(), image.size() / scanner::kSmallestRecordBytes + 1);
  ExpectWithinBounds(image, decoded);
}

TEST(SharedRuns, AScanPassesOverAnImagePastItsBoundAndGoesOn) {
  testing_support::TempFolder root, navData;
  const Image crafted = OverlappingAirportBlocks(4000);
  root.Write("a.bgl", std::string(crafted.bytes().begin(), crafted.bytes().end()));
  fs::create_directory(root / "sub");
  const Image shared = SharedNdbRun(500, 3);
  root.Write("sub/b.bgl", std::string(shared.bytes().begin(), shared.bytes().end()));
  navdb::Database db;
  db.folder = navData.path();
  testing_support::RecordingUi recording;
  recording.defaultAnswer = navdb::MessageAnswer::Yes;
  scanner::ScanSession session{db, recording};
  const scanner::ScanResult result = scanner::ScanSceneryThread(session, root.path());
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(result.added(NavaidKind::Ndb), 3);
  ASSERT_EQ(recording.messages.size(), 2u);
  EXPECT_EQ(recording.messages[0].text, "The BGL file \"" + (root / "a.bgl").string() +
                                            "\" contains unrecognized data.\nIt will be "
                                            "ignored !\n\nContinue with next file ?");
  EXPECT_EQ(recording.messages[1].caption, "Information");  // the summary
}

}  // namespace
