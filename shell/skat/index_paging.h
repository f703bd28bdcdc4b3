// Paging through an index larger than the Index window's list: the shown
// (primary) lines are parked in the list behind them and the next lines in
// the direction of travel take their place.
#pragma once

#include <cstddef>
#include <functional>
#include <stop_token>

#include "navdb/geo_index.h"

enum class PageDirection { Up, Down };

// A move stops once it has put a line at this position or beyond, which
// keeps every list within reach of a list view's row limit.
inline constexpr size_t kPagingPositionLimit = 32737;
// While the primary list fills, every line put at a multiple of this
// position is reported, so that the list can scroll along.
inline constexpr size_t kPagingScrollStepLines = 500;

struct PagingResult {
  size_t parkedLines = 0;  // moved from the primary list to the parking list
  size_t filledLines = 0;  // moved from the source list to the primary list
  bool stoppedOnParkingLimit = false;
  bool cancelled = false;  // `stop` was requested; every line is still in one list
};

// Pages the index one step Up (towards the preceding lines) or Down. When
// the list in the direction of travel is empty, nothing moves. Otherwise
// the primary lines move one at a time (Down: always the first, Up: always
// the last) into the other hidden list, then - unless that move stopped on
// the position limit - the source's first lines move into the primary list.
// Each line is inserted before it is removed, so a line is never lost and
// never held twice. `onScrollStep(row)` runs for every line put at a
// multiple of kPagingScrollStepLines in the primary list; the lists do not
// change during the call.
PagingResult PageIndex(navdb::IndexLists& index, PageDirection direction,
                       const std::function<void(size_t row)>& onScrollStep = {},
                       std::stop_token stop = {});
