// What the panel shows: element A's background image with the display
// element B over it, scaled by a whole zoom factor. The window paints it and
// --png saves it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module_host.h"

#include "platform/result.h"

namespace ndhost {

struct PanelPicture {
  int widthPx = 0;
  int heightPx = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB, top row first
};

// Empty when the module has no display element.
PanelPicture ComposePanel(const ModuleHost& host, int zoom);

// Writes the picture as PNG; fails saying what failed.
platform::Status SavePanelPng(const PanelPicture& picture, const std::string& path);

}  // namespace ndhost
