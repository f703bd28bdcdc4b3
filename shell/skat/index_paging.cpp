#include "shell/skat/index_paging.h"

#include <optional>
#include <string>

namespace {

// Moves line `row` of `from` into `to` in index order; the position it took
// in `to`, or nothing when `to` refused it (then `from` is unchanged).
std::optional<size_t> MoveLine(navdb::EntryList& from, size_t row, navdb::EntryList& to) {
  const std::string line(from.GetLine(row));
  const std::optional<size_t> position = to.AddLine(line);
  if (position) from.DeleteLine(row);
  return position;
}

}  // namespace

PagingResult PageIndex(navdb::IndexLists& index, PageDirection direction,
                       const std::function<void(size_t row)>& onScrollStep, std::stop_token stop) {
  PagingResult result;
  navdb::EntryList& source = direction == PageDirection::Up ? index.preceding : index.following;
  navdb::EntryList& parking = direction == PageDirection::Up ? index.following : index.preceding;
  navdb::EntryList& primary = index.primary;
  if (source.Empty()) return result;

  while (!primary.Empty()) {
    if (stop.stop_requested()) {
      result.cancelled = true;
      return result;
    }
    const size_t row = direction == PageDirection::Down ? 0 : primary.Count() - 1;
    const std::optional<size_t> position = MoveLine(primary, row, parking);
    if (!position) break;
    ++result.parkedLines;
    if (*position >= kPagingPositionLimit) {
      result.stoppedOnParkingLimit = true;
      return result;
    }
  }

  while (!source.Empty()) {
    if (stop.stop_requested()) {
      result.cancelled = true;
      return result;
    }
    const std::optional<size_t> position = MoveLine(source, 0, primary);
    if (!position) break;
    ++result.filledLines;
    if (*position % kPagingScrollStepLines == 0 && onScrollStep) onScrollStep(*position);
    if (*position >= kPagingPositionLimit) break;
  }
  return result;
}
