// Arbitrary 'J' streams; the first two bytes choose the expected length.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scanner/jstream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::vector<uint8_t> out(static_cast<size_t>(data[0] | (data[1] << 8)));
  const long written = scanner::DecodeJStream({data + 2, size - 2}, out);
  if (written > static_cast<long>(out.size())) __builtin_trap();
  return 0;
}
