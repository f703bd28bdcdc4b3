#include "scanner/jstream.h"

#include <bit>
#include <cstring>

namespace scanner {
namespace {

// Bits of the stream, lowest first, through a 64-bit buffer.
class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes)
      : next_(bytes.data()), end_(next_ + bytes.size()) {}

  // Makes at least `count` bits (at most 56) available; false when the stream has run out.
  bool Need(unsigned count) {
    if (count_ >= count) return true;
    if (end_ - next_ >= 8) {
      // Load eight bytes at once and keep the whole bytes that fit. Bits
      // above count_ may already hold the same following bytes: or-ing them
      // in again changes nothing.
      uint64_t word;
      std::memcpy(&word, next_, sizeof word);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      buffer_ |= word << count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
      return true;
    }
    while (count_ < count) {
      if (next_ == end_) return false;
      buffer_ |= uint64_t{*next_++} << count_;
      count_ += 8;
    }
    return true;
  }
  uint32_t Peek(unsigned count) const {
    return static_cast<uint32_t>(buffer_ & ((uint64_t{1} << count) - 1));
  }
  void Drop(unsigned count) {
    buffer_ = count >= 64 ? 0 : buffer_ >> count;
    count_ -= count;
  }
  // Reads `count` bits (0 to 32); false when the stream runs out first.
  bool Take(unsigned count, uint32_t& value) {
    if (count > 32 || !Need(count)) return false;
    value = Peek(count);
    Drop(count);
    return true;
  }
  // Counts the 0 bits before the next 1 bit and drops them with the 1.
  bool TakeZeroRun(unsigned& zeros) {
    zeros = 0;
    for (;;) {
      if (count_ == 0 && !Need(1)) return false;
      if (buffer_ != 0) {
        const unsigned run = static_cast<unsigned>(std::countr_zero(buffer_));
        if (run < count_) {
          zeros += run;
          Drop(run + 1);
          return true;
        }
      }
      zeros += count_;
      Drop(count_);
      if (zeros > 32) return false;  // no length of the stream is that long
    }
  }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
  uint64_t buffer_ = 0;
  unsigned count_ = 0;
};

bool ReadDistance(BitReader& bits, uint32_t& distance) {
  if (!bits.Need(2)) return false;
  const uint32_t prefix = bits.Peek(2);  // second and third bit of the token
  if ((prefix & 1) == 0) {
    bits.Drop(1);
    return bits.Take(6, distance);
  }
  bits.Drop(2);
  uint32_t value;
  if ((prefix & 2) == 0) {
    if (!bits.Take(8, value)) return false;
    distance = value + 64;
  } else {
    if (!bits.Take(12, value)) return false;
    distance = value + 320;
  }
  return true;
}

bool ReadLength(BitReader& bits, size_t& length) {
  unsigned zeros;
  if (!bits.TakeZeroRun(zeros)) return false;
  if (zeros == 0) {
    length = 3;
    return true;
  }
  if (zeros > 31) return false;
  uint32_t value;
  if (!bits.Take(zeros, value)) return false;
  length = size_t{value} + (size_t{1} << zeros) + 2;
  return true;
}

}  // namespace

long DecodeJStream(std::span<const uint8_t> stream, std::span<uint8_t> out) {
  if (stream.size() <= 4 || stream[0] != 'J' || stream[1] != 'M') return -1;
  BitReader bits(stream.subspan(4));
  uint8_t* const begin = out.data();
  uint8_t* const end = begin + out.size();
  uint8_t* at = begin;
  for (;;) {
    if (!bits.Need(2)) {
      // One bit may be a literal's first; without 8 bits it cannot finish.
      return -1;
    }
    const uint32_t head = bits.Peek(2);
    if ((head & 1) == 0 || head == 3) {
      bits.Drop(head == 3 ? 2 : 1);
      uint32_t value;
      if (!bits.Take(7, value)) return -1;
      if (at == end) return -1;
      *at++ = static_cast<uint8_t>(head == 3 ? value + 128 : value);
      continue;
    }
    bits.Drop(2);  // 1, 0: a match or a block mark
    uint32_t distance;
    if (!ReadDistance(bits, distance)) return -1;
    if (distance == kBlockMarkDistance) {
      if (at >= end) return static_cast<long>(at - begin);
      continue;
    }
    size_t length;
    if (!ReadLength(bits, length)) return -1;
    const size_t written = static_cast<size_t>(at - begin);
    if (distance == 0 || distance > written || length > static_cast<size_t>(end - at)) return -1;
    const uint8_t* from = at - distance;
    if (distance >= length) {
      std::memcpy(at, from, length);
      at += length;
    } else {
      for (size_t i = 0; i < length; ++i) *at++ = *from++;  // front to back: overlaps repeat
    }
  }
}

}  // namespace scanner
