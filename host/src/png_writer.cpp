#include "png_writer.h"

#include <cairo.h>

#include <cstring>

namespace ndhost {

namespace {

uint32_t EightBitsFromFive(uint32_t value) {
  return (value << 3) | (value >> 2);
}

}  // namespace

std::vector<uint32_t> ImageToRgb(const PanelImage& image, const std::vector<uint32_t>& paletteRgb) {
  std::vector<uint32_t> rgb;
  if (image.pixels == nullptr ||
      (image.formatCode != PANEL_FORMAT_PALETTE8 && image.formatCode != PANEL_FORMAT_RGB1555)) {
    return rgb;
  }
  rgb.reserve(static_cast<size_t>(image.width) * image.height);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.pitchBytes;
    for (uint32_t x = 0; x < image.width; ++x) {
      if (image.formatCode == PANEL_FORMAT_PALETTE8) {
        rgb.push_back(row[x] < paletteRgb.size() ? paletteRgb[row[x]] : 0);
        continue;
      }
      uint32_t value = row[2 * x] | (row[2 * x + 1] << 8);
      rgb.push_back((EightBitsFromFive((value >> 10) & 0x1F) << 16) |
                    (EightBitsFromFive((value >> 5) & 0x1F) << 8) |
                    EightBitsFromFive(value & 0x1F));
    }
  }
  return rgb;
}

platform::Status SaveRgbPng(const std::vector<uint32_t>& rgb, int widthPx, int heightPx,
                            const std::string& path) {
  if (widthPx <= 0 || heightPx <= 0 ||
      rgb.size() < static_cast<size_t>(widthPx) * static_cast<size_t>(heightPx)) {
    return platform::Failure("the image has no pixels in a known format");
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return platform::Failure("cannot make an image surface");
  }
  cairo_surface_flush(surface);
  uint8_t* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < heightPx; ++y) {
    std::memcpy(data + static_cast<size_t>(y) * stride,
                rgb.data() + static_cast<size_t>(y) * widthPx, widthPx * sizeof(uint32_t));
  }
  cairo_surface_mark_dirty(surface);
  cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    return platform::Error{
        std::string("cannot write ") + path + ": " + cairo_status_to_string(status), 0, path};
  }
  return {};
}

platform::Status SaveImagePng(const PanelImage& image, const std::vector<uint32_t>& paletteRgb,
                              const std::string& path) {
  std::vector<uint32_t> rgb = ImageToRgb(image, paletteRgb);
  if (rgb.empty()) return platform::Failure("the image has no pixels in a known format");
  return SaveRgbPng(rgb, static_cast<int>(image.width), static_cast<int>(image.height), path);
}

}  // namespace ndhost
