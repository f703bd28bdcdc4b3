// The loader: picks the navaids within reach of the display range around the
// aircraft from the longitude-sorted index, on a worker thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <stop_token>
#include <string>
#include <thread>

#include "data/display_data.h"
#include "data/nav_database.h"

namespace lumaro {

struct LoaderInputs {
  double rawLatitude = 0;   // host units
  double rawLongitude = 0;  // host units
  int rangeNm = 320;
  std::string nav1Ident;  // at most 5 characters; empty when nothing is tuned
};

// Two index positions kept from one run to the next.
struct SearchWindow {
  size_t lower = 0;
  size_t upper = 0;
};

// Candidate index positions of one kind: 600 slots, at most 599 counted.
struct CandidateList {
  static constexpr size_t kSlots = 600;
  std::array<size_t, kSlots> positions{};
  size_t count = 0;

  void Add(size_t position) {
    if (count < kSlots - 1) {
      positions[count++] = position;
    } else {
      positions[kSlots - 1] = position;  // a slot that is never read
    }
  }
};

enum class SearchOutcome { Complete, Fault, Stopped };

struct SearchResult {
  SearchOutcome outcome = SearchOutcome::Complete;
  DisplayLists lists;
  double nmPerDegreeLongitude = 0;
};

// One search over the index: moves the window and fills the lists. Every
// read is bounded; a row beyond its file ends the search as a fault with the
// lists built so far. A stop is looked for between records.
SearchResult SearchNavaids(const NavDatabase& database, SearchWindow& window,
                           const LoaderInputs& inputs, std::stop_token stop = {});

// The loader thread: one run per Start, never two at once.
class LoaderThread {
 public:
  ~LoaderThread() { Stop(); }

  bool IsRunning() const { return running_.load(); }
  // Starts a run; the trail entry and the swap happen on the worker.
  bool Start(const NavDatabase& database, SearchWindow& window, SharedDisplayData& shared,
             LoaderInputs inputs, bool lowPriority);
  // Asks a running search to stop and waits for it.
  void Stop();

 private:
  std::atomic<bool> running_{false};
  std::jthread thread_;
};

}  // namespace lumaro
