// Little-endian reads from a scenery image that cannot run past its end.
//
// A read outside the image returns 0 and marks the reader as overrun; the
// decoder checks the mark before it hands a record on, so nothing read from
// outside the image ever reaches the database. Offsets are 64-bit so that a
// section offset plus a record offset cannot wrap around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace scanner {

class ImageReader {
 public:
  explicit ImageReader(std::span<const uint8_t> image) : image_(image) {}

  uint64_t size() const { return image_.size(); }
  bool overrun() const { return overrun_; }
  bool Contains(uint64_t offset, uint64_t width) const {
    return offset <= image_.size() && width <= image_.size() - offset;
  }

  // A list terminator byte: at or past the end of the image it reads as
  // nothing (the list simply ends), without marking an overrun.
  bool TagByteIs(uint64_t offset, uint8_t value) const {
    return offset < image_.size() && image_[offset] == value;
  }
  bool TagU32Is(uint64_t offset, uint32_t value) const {
    return Contains(offset, 4) && Raw32(offset) == value;
  }

  uint8_t U8(uint64_t offset) { return Check(offset, 1) ? image_[offset] : 0; }
  int16_t S16(uint64_t offset) {
    if (!Check(offset, 2)) return 0;
    uint16_t value;
    std::memcpy(&value, image_.data() + offset, 2);
    return static_cast<int16_t>(value);
  }
  uint32_t U32(uint64_t offset) { return Check(offset, 4) ? Raw32(offset) : 0; }
  int32_t S32(uint64_t offset) { return static_cast<int32_t>(U32(offset)); }
  // Three bytes, low byte first, as a sign-extended 24-bit number.
  int32_t ReadSigned24(uint64_t offset) {
    if (!Check(offset, 3)) return 0;
    const uint32_t raw = image_[offset] | (image_[offset + 1] << 8) | (image_[offset + 2] << 16);
    return static_cast<int32_t>(raw << 8) >> 8;
  }
  // `width` bytes up to the first NUL; control bytes become spaces so that a
  // damaged name can never break a line of the database files.
  std::string Text(uint64_t offset, size_t width) {
    if (!Check(offset, width)) return {};
    const uint8_t* const bytes = image_.data() + offset;
    const void* const nul = width == 0 ? nullptr : std::memchr(bytes, 0, width);
    const size_t length =
        nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes) : width;
    std::string text(reinterpret_cast<const char*>(bytes), length);
    for (char& c : text) {
      if (static_cast<uint8_t>(c) < 0x20) c = ' ';
    }
    return text;
  }
  // A header field: one beyond the end of the image reads as 0, harmlessly.
  uint32_t HeaderU32(uint64_t offset) const { return Contains(offset, 4) ? Raw32(offset) : 0; }
  int16_t HeaderS16(uint64_t offset) const {
    if (!Contains(offset, 2)) return 0;
    uint16_t value;
    std::memcpy(&value, image_.data() + offset, 2);
    return static_cast<int16_t>(value);
  }

 private:
  bool Check(uint64_t offset, uint64_t width) {
    if (Contains(offset, width)) return true;
    overrun_ = true;
    return false;
  }
  uint32_t Raw32(uint64_t offset) const {
    uint32_t value;
    std::memcpy(&value, image_.data() + offset, 4);
    return value;  // the scenery files and every supported host are little-endian
  }

  std::span<const uint8_t> image_;
  bool overrun_ = false;
};

}  // namespace scanner
