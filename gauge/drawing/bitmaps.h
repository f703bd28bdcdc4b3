// The module's own artwork: device-independent bitmaps of 256 x 256 pixels,
// 8 bits per pixel, with a 256-entry colour table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumaro {

inline constexpr uint32_t kBackgroundBitmapId = 4096;  // element A; carries the colour swatch
inline constexpr uint32_t kDisplayBitmapId = 8192;     // element B, the display area
inline constexpr uint32_t kEmblemBitmapId = 8195;
inline constexpr size_t kBitmapBytes = 66600;

extern const std::array<uint8_t, kBitmapBytes> kBackgroundBitmap;
extern const std::array<uint8_t, kBitmapBytes> kDisplayBitmap;
extern const std::array<uint8_t, kBitmapBytes> kEmblemBitmap;

}  // namespace lumaro
