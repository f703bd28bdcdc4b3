#include "tools/scenery_writer/bgl_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace scenery_writer {
namespace {

constexpr size_t kPlainHeader = 128;
constexpr size_t kExtendedHeader = 168;

class Bytes {
 public:
  std::vector<uint8_t> data;
  size_t size() const { return data.size(); }
  void U8(uint8_t v) { data.push_back(v); }
  void U16(uint16_t v) { Raw(&v, 2); }
  void U32(uint32_t v) { Raw(&v, 4); }
  void S24(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    U8(u & 0xFF);
    U8((u >> 8) & 0xFF);
    U8((u >> 16) & 0xFF);
  }
  void Text(const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) U8(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
  }
  void PutU32(size_t at, uint32_t v) { std::memcpy(data.data() + at, &v, 4); }
  void PutU16(size_t at, uint16_t v) { std::memcpy(data.data() + at, &v, 2); }
  void Zeros(size_t count) { data.insert(data.end(), count, 0); }

 private:
  void Raw(const void* v, size_t n) {
    const auto* p = static_cast<const uint8_t*>(v);
    data.insert(data.end(), p, p + n);
  }
};

void WriteNdbSection(Bytes& out, const BglScenery& scenery) {
  const size_t section = out.size();
  out.PutU32(78, static_cast<uint32_t>(section));
  const size_t runs = (scenery.ndbs.size() + scenery.recordsPerRun - 1) / scenery.recordsPerRun;
  const size_t table = out.size();
  out.Zeros(runs * 9 + 1);  // the entries, then a byte that is not 0x15
  for (size_t run = 0; run < runs; ++run) {
    out.data[table + run * 9] = 0x15;
    out.PutU32(table + run * 9 + 5, static_cast<uint32_t>(out.size() - section));
    const size_t first = run * scenery.recordsPerRun;
    const size_t last = std::min(scenery.ndbs.size(), first + scenery.recordsPerRun);
    for (size_t i = first; i < last; ++i) {
      const BglNdb& ndb = scenery.ndbs[i];
      out.U8(4);
      out.U8(ndb.tensUnits);
      out.U8(ndb.hundreds);
      out.U8(ndb.tenths);
      out.S24(ndb.latitude24);
      out.S24(ndb.longitude24);
      out.U16(static_cast<uint16_t>(ndb.altitudeM));
      out.U8(ndb.rangeUnits);
      out.Text(ndb.identifier, 5);
      out.Text(ndb.name, 24);
    }
    out.U8(0);  // ends the run
  }
}

void WriteVorRecord(Bytes& out, const BglVor& vor) {
  out.U8(vor.type);
  out.U8(vor.rangeUnits);
  out.U16(static_cast<uint16_t>(vor.magneticVariation16));
  out.U8(vor.flags);
  out.S24(vor.latitude24);
  out.S24(vor.longitude24);
  out.U16(static_cast<uint16_t>(vor.altitudeM));
  out.U16(static_cast<uint16_t>(vor.type == 4 ? 0 : vor.course16));
  out.Text(vor.identifier, 5);
  out.Text(vor.name, 24);
  if (vor.type == 4) return;
  out.S24(vor.latitude24Second);
  out.S24(vor.longitude24Second);
  out.U16(static_cast<uint16_t>(vor.altitudeMSecond));
  out.U16(0);
}

void WriteVorSection(Bytes& out, const BglScenery& scenery) {
  std::map<int, std::vector<const BglVor*>> byChannel;
  for (const BglVor& vor : scenery.vors) byChannel[vor.channel].push_back(&vor);
  const int first = byChannel.begin()->first;
  const int last = byChannel.rbegin()->first;
  const size_t section = out.size();
  out.PutU32(18, static_cast<uint32_t>(section));
  out.PutU16(22, static_cast<uint16_t>(first));
  out.PutU16(24, static_cast<uint16_t>(last));
  out.Zeros(static_cast<size_t>(last - first + 1) * 5);
  for (const auto& [channel, vors] : byChannel) {
    const size_t entry = section + static_cast<size_t>(channel - first) * 5;
    out.data[entry] = 1;
    out.PutU32(entry + 1, static_cast<uint32_t>(out.size() - section));
    const size_t runs = (vors.size() + scenery.recordsPerRun - 1) / scenery.recordsPerRun;
    const size_t table = out.size();
    out.Zeros(runs * 9 + 1);
    for (size_t run = 0; run < runs; ++run) {
      out.data[table + run * 9] = 0x15;
      out.PutU32(table + run * 9 + 5, static_cast<uint32_t>(out.size() - section));
      const size_t begin = run * scenery.recordsPerRun;
      const size_t end = std::min(vors.size(), begin + scenery.recordsPerRun);
      for (size_t i = begin; i < end; ++i) WriteVorRecord(out, *vors[i]);
      out.U8(0);
    }
  }
}

void WriteAirportBlock(Bytes& out, const BglAirport& airport) {
  const size_t block = out.size();
  out.U32(0);  // tag of the block, not read
  out.U32(0);  // length L, filled below
  out.U32(airport.blockKind);
  out.U32(0);
  for (const BglFrequency& frequency : airport.frequencies) {
    out.U32(0x20001);
    out.U32(8);
    out.U8(0);
    out.U8(frequency.hundredths);
    out.U8(frequency.tensUnits);
    out.U8(frequency.hundreds);
    out.U32(frequency.use);
  }
  if (!airport.identifier.empty()) {
    out.U32(0x10006);
    out.U32(8);
    out.Text(airport.identifier, 5);
    out.Zeros(3);
  }
  for (const BglRunway& runway : airport.runways) {
    out.U32(0x10002);
    out.U32(48);
    out.U32(0);
    out.U32(static_cast<uint32_t>(runway.latitude32));
    out.U32(0);
    out.U32(static_cast<uint32_t>(runway.longitude32));
    out.U16(0);
    out.U32(static_cast<uint32_t>(runway.elevation));
    out.U16(0);
    out.U32(static_cast<uint32_t>(runway.heading32));
    out.U32(0);
    out.U32(runway.lengthFt);
    out.U32(runway.widthFt);
    out.U32(runway.designatorKind);
    out.U32(runway.number);
  }
  out.PutU32(block + 4, static_cast<uint32_t>(out.size() - block));
}

void WriteLanguageChunk(Bytes& out, uint32_t language, const std::vector<BglAirport>& airports,
                        std::vector<size_t>& blockFields) {
  const size_t chunk = out.size();
  out.U32(0x30001);
  out.U32(0);
  out.U32(language);
  out.Zeros(12);
  for (const BglAirport& airport : airports) {
    out.U32(0x30002);
    out.U32(32);
    out.U32(0x50001);
    blockFields.push_back(out.size());
    out.U32(0);
    out.Text(airport.name, 24);
  }
  out.U32(0);  // a tag that ends the entries
  out.PutU32(chunk + 4, static_cast<uint32_t>(out.size() - chunk - 8));
}

void WriteAirportSection(Bytes& out, const BglScenery& scenery) {
  out.PutU32(156, static_cast<uint32_t>(out.size()));
  std::vector<size_t> blockFields;
  if (scenery.frenchChunkFirst) {
    std::vector<BglAirport> renamed = scenery.airports;
    for (BglAirport& airport : renamed) airport.name = "FR " + airport.name;
    WriteLanguageChunk(out, 1036, renamed, blockFields);
  }
  WriteLanguageChunk(out, 1033, scenery.airports, blockFields);
  out.U32(0);  // a tag that ends the language chunks
  const size_t perChunk = scenery.airports.size();
  for (size_t i = 0; i < perChunk; ++i) {
    const uint32_t block = static_cast<uint32_t>(out.size());
    for (size_t field = i; field < blockFields.size(); field += perChunk) {
      out.PutU32(blockFields[field], block);
    }
    WriteAirportBlock(out, scenery.airports[i]);
  }
}

}  // namespace

int32_t Latitude24(double latitudeDeg) {
  return static_cast<int32_t>(std::lround(latitudeDeg / 1.7996850551153548e-05));
}
int32_t Longitude24(double longitudeDeg) {
  return static_cast<int32_t>(std::lround(longitudeDeg / 2.1457673398117624e-05));
}
int32_t Latitude32(double latitudeDeg) {
  return static_cast<int32_t>(std::llround(latitudeDeg / 8.998425275576774e-06));
}
int32_t Angle32(double angleDeg) {
  return static_cast<int32_t>(std::llround(angleDeg / 8.38190317349087e-08));
}
int16_t Angle16(double angleDeg) {
  return static_cast<int16_t>(std::lround(angleDeg / 0.005493247882810711));
}

std::vector<uint8_t> WriteBglImage(const BglScenery& scenery) {
  Bytes out;
  const bool extended = scenery.extendedHeader || !scenery.airports.empty();
  out.Zeros(extended ? kExtendedHeader : kPlainHeader);
  if (extended) out.PutU32(118, 0x87654321);
  if (!scenery.ndbs.empty()) WriteNdbSection(out, scenery);
  if (!scenery.vors.empty()) WriteVorSection(out, scenery);
  if (!scenery.airports.empty()) WriteAirportSection(out, scenery);
  return out.data;
}

namespace {

class BitWriter {
 public:
  std::vector<uint8_t> bytes;
  void Put(uint32_t value, unsigned count) {  // lowest bit first
    for (unsigned i = 0; i < count; ++i) {
      if (used_ == 0) bytes.push_back(0);
      if ((value >> i) & 1) bytes.back() |= static_cast<uint8_t>(1u << used_);
      used_ = (used_ + 1) % 8;
    }
  }

 private:
  unsigned used_ = 0;
};

constexpr size_t kMaxDistance = 4414;
constexpr size_t kMaxMatch = 1 << 12;

void PutLiteral(BitWriter& bits, uint8_t byte) {
  if (byte < 128) {
    bits.Put(0, 1);
    bits.Put(byte, 7);
  } else {
    bits.Put(0b11, 2);
    bits.Put(byte - 128u, 7);
  }
}

void PutDistance(BitWriter& bits, uint32_t distance) {
  bits.Put(0b01, 2);  // 1, 0
  if (distance < 64) {
    bits.Put(0, 1);
    bits.Put(distance, 6);
  } else if (distance < 320) {
    bits.Put(0b01, 2);  // 1, 0
    bits.Put(distance - 64, 8);
  } else {
    bits.Put(0b11, 2);  // 1, 1
    bits.Put(distance - 320, 12);
  }
}

void PutLength(BitWriter& bits, size_t length) {
  if (length == 3) {
    bits.Put(1, 1);
    return;
  }
  unsigned zeros = 1;
  while ((size_t{1} << (zeros + 1)) + 2 <= length) ++zeros;
  bits.Put(0, zeros);
  bits.Put(1, 1);
  bits.Put(static_cast<uint32_t>(length - (size_t{1} << zeros) - 2), zeros);
}

}  // namespace

std::vector<uint8_t> EncodeJStream(const std::vector<uint8_t>& bytes, JStreamOptions options) {
  BitWriter bits;
  std::map<uint32_t, std::vector<size_t>> seen;  // three-byte prefix -> positions
  size_t tokens = 0;
  for (size_t at = 0; at < bytes.size();) {
    if (options.blockMarkEvery != 0 && ++tokens % options.blockMarkEvery == 0) {
      PutDistance(bits, 4415);
    }
    size_t bestLength = 0, bestDistance = 0;
    if (options.useMatches && at + 3 <= bytes.size()) {
      const uint32_t key = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
      auto& positions = seen[key];
      for (auto it = positions.rbegin(); it != positions.rend() && at - *it <= kMaxDistance; ++it) {
        size_t length = 0;
        while (at + length < bytes.size() && length < kMaxMatch &&
               bytes[*it + length] == bytes[at + length]) {
          ++length;
        }
        if (length > bestLength) {
          bestLength = length;
          bestDistance = at - *it;
        }
        if (positions.rbegin() - it > 16) break;
      }
      positions.push_back(at);
    }
    if (bestLength >= 3) {
      PutDistance(bits, static_cast<uint32_t>(bestDistance));
      PutLength(bits, bestLength);
      for (size_t i = 1; i < bestLength && at + i + 3 <= bytes.size(); ++i) {
        seen[bytes[at + i] | (bytes[at + i + 1] << 8) | (bytes[at + i + 2] << 16)].push_back(at +
                                                                                             i);
      }
      at += bestLength;
    } else {
      PutLiteral(bits, bytes[at]);
      ++at;
    }
  }
  PutDistance(bits, 4415);
  std::vector<uint8_t> stream(4 + bits.bytes.size(), 0);
  stream[0] = 'J';
  stream[1] = 'M';
  std::copy(bits.bytes.begin(), bits.bytes.end(), stream.begin() + 4);
  return stream;
}

std::vector<uint8_t> WritePackedBgl(const std::vector<uint8_t>& image, uint32_t checkValue,
                                    JStreamOptions options) {
  uint32_t mark = 0;
  std::memcpy(&mark, image.data() + 118, 4);
  const size_t header = mark == 0x87654321 ? kExtendedHeader : kPlainHeader;
  Bytes out;
  out.data.assign(image.begin(), image.begin() + static_cast<long>(header));
  out.U32(0xABCDEF01);
  out.U32(static_cast<uint32_t>(image.size() - header));
  out.U32(checkValue);
  out.Zeros(8);
  const std::vector<uint8_t> rest(image.begin() + static_cast<long>(header), image.end());
  const std::vector<uint8_t> stream = EncodeJStream(rest, options);
  out.data.insert(out.data.end(), stream.begin(), stream.end());
  return out.data;
}

}  // namespace scenery_writer
