#include "map/png_file.h"

namespace navmap {
namespace {

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::optional<std::string> EncodePng(cairo_surface_t* surface) {
  std::string bytes;
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png_stream(surface, Append, &bytes) != CAIRO_STATUS_SUCCESS) {
    return std::nullopt;
  }
  return bytes;
}

platform::Status WritePngFile(const std::filesystem::path& path, cairo_surface_t* surface) {
  const std::optional<std::string> bytes = EncodePng(surface);
  if (!bytes) {
    return platform::Error{"cannot encode the picture as PNG", 0, path};
  }
  return platform::ReplaceFileAtomically(path, *bytes);
}

}  // namespace navmap
