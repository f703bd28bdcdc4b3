#include "panel_picture.h"

#include <algorithm>

#include "png_writer.h"

namespace ndhost {

namespace {

// Copies an image into the picture at its origin, each pixel zoom x zoom.
void PaintImage(const HostImage& image, const std::vector<uint32_t>& paletteRgb, int zoom,
                PanelPicture& picture) {
  std::vector<uint32_t> rgb = ImageToRgb(image.descriptor, paletteRgb);
  if (rgb.empty()) return;
  const int widthPx = std::min(static_cast<int>(image.descriptor.width), picture.widthPx / zoom);
  const int heightPx = std::min(static_cast<int>(image.descriptor.height), picture.heightPx / zoom);
  for (int y = 0; y < heightPx * zoom; ++y) {
    const uint32_t* source = rgb.data() + static_cast<size_t>(y / zoom) * image.descriptor.width;
    uint32_t* target = picture.rgb.data() + static_cast<size_t>(y) * picture.widthPx;
    for (int x = 0; x < widthPx * zoom; ++x) target[x] = source[x / zoom];
  }
}

}  // namespace

PanelPicture ComposePanel(const ModuleHost& host, int zoom) {
  PanelPicture picture;
  const HostImage* display = host.DisplayImage();
  if (display == nullptr || zoom < 1) return picture;
  const HostImage* background = host.BackgroundImage();
  uint32_t widthPx = display->descriptor.width;
  uint32_t heightPx = display->descriptor.height;
  if (background != nullptr) {
    widthPx = std::max(widthPx, background->descriptor.width);
    heightPx = std::max(heightPx, background->descriptor.height);
  }
  picture.widthPx = static_cast<int>(widthPx) * zoom;
  picture.heightPx = static_cast<int>(heightPx) * zoom;
  picture.rgb.assign(static_cast<size_t>(picture.widthPx) * picture.heightPx, 0);
  if (background != nullptr) PaintImage(*background, host.PaletteRgb(), zoom, picture);
  PaintImage(*display, host.PaletteRgb(), zoom, picture);
  return picture;
}

platform::Status SavePanelPng(const PanelPicture& picture, const std::string& path) {
  if (picture.rgb.empty()) return platform::Failure("the module has no display element");
  return SaveRgbPng(picture.rgb, picture.widthPx, picture.heightPx, path);
}

}  // namespace ndhost
