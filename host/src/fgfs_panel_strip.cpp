#include "fgfs_panel_strip.h"

#include <cairo.h>

#include <chrono>
#include <string>

namespace ndhost {

namespace {

constexpr double kTextSizePx = 10;  // at zoom 1
constexpr double kLabelMarginPx = 4;

void SetColour(cairo_t* cairo, uint32_t rgb) {
  cairo_set_source_rgb(cairo, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

// Draws one line of text in the strip; centred or from the left margin.
void DrawStripText(cairo_t* cairo, int widthPx, int heightPx, int zoom, const std::string& text,
                   uint32_t rgb, bool centred) {
  cairo_select_font_face(cairo, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cairo, kTextSizePx * zoom);
  // Crisp pixels in the strip's exact colours, as the display's own texts.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo, text.c_str(), &extents);
  const double x = centred ? (widthPx - extents.width) / 2 - extents.x_bearing
                           : kLabelMarginPx * zoom - extents.x_bearing;
  const double y = (heightPx - extents.height) / 2 - extents.y_bearing;
  SetColour(cairo, rgb);
  cairo_move_to(cairo, x, y);
  cairo_show_text(cairo, text.c_str());
}

}  // namespace

void AddFeedStrip(PanelPicture& picture, int zoom, std::string_view label,
                  std::string_view notice) {
  if (picture.widthPx <= 0 || zoom < 1) return;
  const int stripHeightPx = kFeedStripHeightPx * zoom;
  const size_t firstStripPixel = picture.rgb.size();
  picture.rgb.resize(firstStripPixel + static_cast<size_t>(picture.widthPx) * stripHeightPx,
                     kFeedStripRgb);
  picture.heightPx += stripHeightPx;
  // 0x00RRGGBB words are Cairo's RGB24 pixels; a row of 4-byte pixels is
  // always a valid Cairo stride.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(picture.rgb.data() + firstStripPixel), CAIRO_FORMAT_RGB24,
      picture.widthPx, stripHeightPx, picture.widthPx * 4);
  cairo_t* cairo = cairo_create(surface);
  if (notice.empty()) {
    DrawStripText(cairo, picture.widthPx, stripHeightPx, zoom, std::string(label), kFeedLabelRgb,
                  false);
  } else {
    DrawStripText(cairo, picture.widthPx, stripHeightPx, zoom, std::string(notice), kNoFeedRgb,
                  true);
  }
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  // Cairo leaves the unused top byte of RGB24 pixels undefined.
  for (size_t index = firstStripPixel; index < picture.rgb.size(); ++index) {
    picture.rgb[index] &= 0x00FFFFFF;
  }
}

PanelPicture ComposePanelWithFeed(const ModuleHost& host, int zoom, const FgfsFeed* feed,
                                  double nowSeconds) {
  PanelPicture picture = ComposePanel(host, zoom);
  if (feed != nullptr) {
    AddFeedStrip(picture, zoom, "FGFS 127.0.0.1:" + std::to_string(feed->Port()),
                 feed->PanelNotice(nowSeconds));
  }
  return picture;
}

void FollowFeed(FgfsFeed& feed, ModuleHost& host, double nowSeconds) {
  feed.Poll(nowSeconds);
  feed.Apply(host.Aircraft());
}

double SteadyClockSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace ndhost
