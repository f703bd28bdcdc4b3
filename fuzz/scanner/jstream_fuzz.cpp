// Arbitrary 'J' streams; the first two bytes choose the expected length.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "scanner/jstream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // One buffer for every run: a fresh one each time would fill the
  // sanitizer's quarantine with freed blocks until the run passes its memory
  // limit, a finding of the harness rather than of the decoder.
  static std::array<uint8_t, 65536> buffer;
  const std::span<uint8_t> out(buffer.data(), static_cast<size_t>(data[0] | (data[1] << 8)));
  const long written = scanner::DecodeJStream({data + 2, size - 2}, out);
  if (written > static_cast<long>(out.size())) __builtin_trap();
  return 0;
}
