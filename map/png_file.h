// A map picture as a PNG file, written whole or not at all: into a
// temporary file beside the target, then renamed over it.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_io.h"

namespace navmap {

// The PNG bytes of an image surface; nothing when Cairo cannot encode it.
std::optional<std::string> EncodePng(cairo_surface_t* surface);

platform::Status WritePngFile(const std::filesystem::path& path, cairo_surface_t* surface);

}  // namespace navmap
