// The strip of the host's own panel under the display while ndhost follows
// FlightGear: the feed's address, or "NO FEED" in red while no packets come.
// It belongs to the panel, not to the gauge: the display above it is the
// module's picture, untouched.
#pragma once

#include <string_view>

#include "fgfs_feed.h"
#include "module_host.h"
#include "panel_picture.h"

namespace ndhost {

inline constexpr int kFeedStripHeightPx = 14;  // at zoom 1
inline constexpr uint32_t kFeedStripRgb = 0x303030;
inline constexpr uint32_t kNoFeedRgb = 0xFF0000;
inline constexpr uint32_t kFeedLabelRgb = 0xA0A0A0;

// Adds the strip under the picture (kFeedStripHeightPx x zoom rows): the
// notice centred in red when there is one, else the label in grey on the left.
void AddFeedStrip(PanelPicture& picture, int zoom, std::string_view label, std::string_view notice);

// The panel as the window and --png show it: the display, and the feed's
// strip under it when ndhost follows FlightGear (feed not null).
PanelPicture ComposePanelWithFeed(const ModuleHost& host, int zoom, const FgfsFeed* feed,
                                  double nowSeconds);

// Once a frame, before the module's frame: takes the queued packets and
// applies the feed's values to the aircraft.
void FollowFeed(FgfsFeed& feed, ModuleHost& host, double nowSeconds);

// Seconds of a steady clock, for the feed's "no packets for 2 seconds".
double SteadyClockSeconds();

}  // namespace ndhost
