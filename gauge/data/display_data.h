// What the loader thread hands to the drawing: the navaid lists, the tuned
// station and the position trail, all guarded by one lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "lumaro_diagnostics.h"

namespace lumaro {

using DisplayRecord = LumaroDisplayRecord;
using DisplayList = std::array<DisplayRecord, LUMARO_LIST_CAPACITY>;

struct DisplayLists {
  std::array<DisplayList, LUMARO_LIST_COUNT> lists{};
  DisplayRecord tuned{};
};

struct TrailEntry {
  float latitudeDeg = 0;
  float longitudeDeg = 0;
  int32_t screenXPx = 0;  // rewritten by every redraw
  int32_t screenYPx = 0;
};

// Ring of the aircraft's positions at the loader runs, newest at writeIndex + 1.
struct PositionTrail {
  static constexpr int kEntries = 128;
  std::array<TrailEntry, kEntries> entries{};
  int writeIndex = kEntries - 1;

  void Add(float latitudeDeg, float longitudeDeg) {
    entries[writeIndex] = {latitudeDeg, longitudeDeg, 0, 0};
    writeIndex = writeIndex == 0 ? kEntries - 1 : writeIndex - 1;
  }
};

// State shared by the host's thread and the loader thread.
struct SharedDisplayData {
  std::mutex lock;  // guards lists, trail and nmPerDegreeLongitude
  DisplayLists lists;
  PositionTrail trail;
  double nmPerDegreeLongitude = 0;
  std::atomic<bool> loading{false};
  std::atomic<bool> redrawRequest{false};
  std::atomic<uint32_t> loaderRuns{0};
};

}  // namespace lumaro
