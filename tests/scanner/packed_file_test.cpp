#include "scanner/packed_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "scanner/jstream.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

// Bits written lowest first, as the stream holds them.
std::vector<uint8_t> Stream(const std::vector<std::pair<uint32_t, unsigned>>& fields) {
  std::vector<uint8_t> bytes = {'J', 'M', 0, 0};
  unsigned used = 0;
  for (const auto& [value, count] : fields) {
    for (unsigned i = 0; i < count; ++i) {
      if (used % 8 == 0) bytes.push_back(0);
      if ((value >> i) & 1) bytes.back() |= static_cast<uint8_t>(1u << (used % 8));
      ++used;
    }
  }
  return bytes;
}

long Decode(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out) {
  return scanner::DecodeJStream(stream, out);
}

TEST(JStream, TokensBlockMarksAndFailures) {
  const std::pair<uint32_t, unsigned> kLiteralA[] = {{0, 1}, {65, 7}};
  const std::pair<uint32_t, unsigned> kBlockMark[] = {{1, 1}, {0, 1}, {1, 1}, {1, 1}, {4095, 12}};
  // 'A', then distance 1 with length 5 (z = 1, field 1): five more 'A'.
  std::vector<uint8_t> out(6);
  auto stream = Stream({kLiteralA[0],
                        kLiteralA[1],
                        {1, 1},
                        {0, 1},
                        {0, 1},
                        {1, 6},
                        {0, 1},
                        {1, 1},
                        {1, 1},
                        kBlockMark[0],
                        kBlockMark[1],
                        kBlockMark[2],
                        kBlockMark[3],
                        kBlockMark[4]});
  EXPECT_EQ(Decode(stream, out), 6);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AAAAAA");

  // A block mark before the expected length is passed over; byte 200 is a high literal.
  out.assign(2, 0);
  stream = Stream({kBlockMark[0],
                   kBlockMark[1],
                   kBlockMark[2],
                   kBlockMark[3],
                   kBlockMark[4],
                   {1, 1},
                   {1, 1},
                   {72, 7},
                   {0, 1},
                   {66, 7},
                   kBlockMark[0],
                   kBlockMark[1],
                   kBlockMark[2],
                   kBlockMark[3],
                   kBlockMark[4]});
  EXPECT_EQ(Decode(stream, out), 2);
  EXPECT_EQ(out[0], 200);
  EXPECT_EQ(out[1], 'B');

  // Failures: "DS" streams, 4 bytes, a stream ending inside a token, a
  // literal past the expected length, distance 0 and distance behind the start.
  out.assign(1, 0);
  std::vector<uint8_t> ds = Stream({kLiteralA[0], kLiteralA[1]});
  ds[0] = 'D';
  ds[1] = 'S';
  EXPECT_EQ(Decode(ds, out), -1);
  EXPECT_EQ(Decode({'J', 'M', 0, 0}, out), -1);
  EXPECT_EQ(Decode(Stream({kLiteralA[0], {1, 3}}), out), -1);
  EXPECT_EQ(Decode(Stream({kLiteralA[0], kLiteralA[1], kLiteralA[0], kLiteralA[1]}), out), -1);
  out.assign(8, 0);
  EXPECT_EQ(Decode(Stream({kLiteralA[0], kLiteralA[1], {1, 1}, {0, 2}, {0, 6}, {1, 1}}), out), -1);
  EXPECT_EQ(Decode(Stream({kLiteralA[0], kLiteralA[1], {1, 1}, {0, 2}, {2, 6}, {1, 1}}), out), -1);
  // A match longer than the room left.
  out.assign(3, 0);
  EXPECT_EQ(Decode(Stream({kLiteralA[0], kLiteralA[1], {1, 1}, {0, 2}, {1, 6}, {1, 1}}), out), -1);
}

TEST(JStream, RoundTripsAllDistanceClassesAndLongLengths) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<uint8_t>((i * 7919) >> 3));
  for (int i = 0; i < 3000; ++i) bytes.push_back(bytes[bytes.size() - 4400]);  // far matches
  for (int i = 0; i < 2000; ++i) bytes.push_back(bytes[bytes.size() - 100]);   // middle class
  bytes.insert(bytes.end(), 3000, 'x');                                        // one long run
  for (const size_t marks : {size_t{0}, size_t{7}}) {
    const std::vector<uint8_t> stream = scenery_writer::EncodeJStream(bytes, {true, marks});
    std::vector<uint8_t> out(bytes.size());
    ASSERT_EQ(scanner::DecodeJStream(stream, out), static_cast<long>(bytes.size()));
    EXPECT_EQ(out, bytes);
  }
}

TEST(PackedFile, UnpacksAndReportsEveryStatus) {
  scenery_writer::BglScenery scenery;
  scenery_writer::BglNdb ndb;
  ndb.identifier = "AB";
  ndb.name = "ALPHA";
  scenery.ndbs.assign(20, ndb);
  scenery.extendedHeader = true;
  std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  const std::vector<uint8_t> packed = scenery_writer::WritePackedBgl(image);
  EXPECT_LT(packed.size(), image.size());

  scanner::UnpackedImage unpacked;
  ASSERT_EQ(scanner::UnpackBglBytes(packed, &unpacked), scanner::UnpackStatus::Ok);
  EXPECT_EQ(std::vector<uint8_t>(unpacked.bytes.get(), unpacked.bytes.get() + unpacked.size),
            image);
  EXPECT_EQ(scanner::ReleaseUnpackedImage(unpacked), 0);
  EXPECT_EQ(scanner::ReleaseUnpackedImage(unpacked), 1);

  EXPECT_EQ(scanner::UnpackBglBytes(packed, nullptr), scanner::UnpackStatus::NoOutput);
  EXPECT_EQ(scanner::UnpackBglBytes(image, &unpacked), scanner::UnpackStatus::NotPacked);
  std::vector<uint8_t> withAirports = packed;
  withAirports[156] = 1;
  EXPECT_EQ(scanner::UnpackBglBytes(withAirports, &unpacked), scanner::UnpackStatus::NotPacked);
  std::vector<uint8_t> huge = packed;
  const uint32_t hugeLength = static_cast<uint32_t>(scanner::kMaxUnpackedBytes - 168 + 1);
  std::memcpy(huge.data() + 172, &hugeLength, 4);
  EXPECT_EQ(scanner::UnpackBglBytes(huge, &unpacked), scanner::UnpackStatus::NoMemory);
  std::vector<uint8_t> shorter = packed;
  const uint32_t longerLength = static_cast<uint32_t>(image.size() - 168 + 1);
  std::memcpy(shorter.data() + 172, &longerLength, 4);
  // The stream ends before the promised length: the decoder runs out of bits.
  EXPECT_EQ(scanner::UnpackBglBytes(shorter, &unpacked), scanner::UnpackStatus::StreamFailed);
  EXPECT_EQ(scanner::UnpackBglBytes(scenery_writer::WritePackedBgl(image, 5), &unpacked),
            scanner::UnpackStatus::BadCheckValue);
  std::vector<uint8_t> broken = packed;
  broken[188] = 'D';
  EXPECT_EQ(scanner::UnpackBglBytes(broken, &unpacked), scanner::UnpackStatus::StreamFailed);
  EXPECT_FALSE(unpacked.bytes);
  EXPECT_EQ(scanner::UnpackBglFile("/nonexistent/x.bgl", &unpacked),
            scanner::UnpackStatus::FileFailed);

  testing_support::TempFolder folder;
  folder.Write("p.bgl", std::string(packed.begin(), packed.end()));
  EXPECT_EQ(scanner::UnpackBglFile(folder / "p.bgl", &unpacked), scanner::UnpackStatus::Ok);
  EXPECT_EQ(unpacked.size, image.size());
}

// Long runs of equal bytes pack far beyond any fixed ratio; such a file is
// unpacked in full, bounded only by its declared length and the absolute cap.
TEST(PackedFile, HighlyCompressibleImagesAreNotRefused) {
  std::vector<uint8_t> image(128, 0);
  image.resize(image.size() + (256u << 10), 0x20);
  const std::vector<uint8_t> packed = scenery_writer::WritePackedBgl(image);
  ASSERT_GT(image.size(), 200 * packed.size());
  scanner::UnpackedImage unpacked;
  ASSERT_EQ(scanner::UnpackBglBytes(packed, &unpacked), scanner::UnpackStatus::Ok);
  EXPECT_EQ(unpacked.size, image.size());
  EXPECT_EQ(unpacked.bytes[unpacked.size - 1], 0x20);

  // At the cap exactly the image is allowed; the stream then falls short of it.
  std::vector<uint8_t> atCap = packed;
  const uint32_t capLength = static_cast<uint32_t>(scanner::kMaxUnpackedBytes - 128);
  std::memcpy(atCap.data() + 132, &capLength, 4);
  EXPECT_EQ(scanner::UnpackBglBytes(atCap, &unpacked), scanner::UnpackStatus::StreamFailed);
}

}  // namespace
