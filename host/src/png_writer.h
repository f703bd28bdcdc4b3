// Saves an element image (format 1 with a palette, or format 2) as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "panel_interface.h"

#include "platform/result.h"

namespace ndhost {

// Pixels as 0x00RRGGBB, top row first; empty for an unknown format.
std::vector<uint32_t> ImageToRgb(const PanelImage& image, const std::vector<uint32_t>& paletteRgb);

// Writes pixels (0x00RRGGBB, top row first); fails saying what failed.
platform::Status SaveRgbPng(const std::vector<uint32_t>& rgb, int widthPx, int heightPx,
                            const std::string& path);

// Writes the image; fails saying what failed.
platform::Status SaveImagePng(const PanelImage& image, const std::vector<uint32_t>& paletteRgb,
                              const std::string& path);

}  // namespace ndhost
