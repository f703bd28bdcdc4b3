// The 'J' stream of packed scenery files: an LZ77 bit stream of literals
// and back references, read lowest bit first.
//
// Guarantee: the decoder never writes outside [out, out + expectedLength)
// and never reads outside the stream; a token that would (a literal or match
// past the expected length, a match reaching before the first output byte,
// distance 0) or a stream that ends inside a token is a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace scanner {

// Distance value that marks the end of a block instead of a match.
inline constexpr uint32_t kBlockMarkDistance = 4415;

// Decodes `stream` into `out`, whose size is the expected length. Returns
// the number of bytes written, or -1 on failure.
long DecodeJStream(std::span<const uint8_t> stream, std::span<uint8_t> out);

}  // namespace scanner
