#include "data/loader.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <system_error>

#include "data/nav_math.h"

namespace lumaro {

namespace {

constexpr size_t kColdStartStep = 10;
constexpr int kIlsHiddenFromRangeNm = 30;
constexpr int kLowPriorityNice = 10;

int VorKindFromTypeLetter(char letter) {
  switch (letter) {
    case 'V':
      return LUMARO_KIND_VOR;
    case 'I':
      return LUMARO_KIND_ILS;
    case 'D':
      return LUMARO_KIND_DME;
    default:
      return 0;
  }
}

// Everything one search needs, so the steps below stay short.
class Search {
 public:
  Search(const NavDatabase& database, SearchWindow& window, const LoaderInputs& inputs,
         std::stop_token stop)
      : index_(database.views[DatabaseFile::Index]),
        vors_(database.views[DatabaseFile::Vor]),
        window_(window),
        inputs_(inputs),
        stop_(std::move(stop)) {
    latitudeDeg_ = HostLatitudeToDeg(inputs.rawLatitude);
    longitudeDeg_ = HostLongitudeToDeg(inputs.rawLongitude);
    reachNm_ = inputs.rangeNm * kReachFactor;
    nmPerDegree_ = NmPerDegreeLongitude(latitudeDeg_);
  }

  SearchResult Run() {
    result_.nmPerDegreeLongitude = nmPerDegree_;
    size_t recordCount = index_.RecordCount();
    if (recordCount == 0) return Finish(SearchOutcome::Fault);
    last_ = recordCount - 1;
    window_.lower = std::min(window_.lower, last_);
    window_.upper = std::min(window_.upper, last_);
    MoveWindow();
    if (stop_.stop_requested()) return Finish(SearchOutcome::Stopped);
    SearchOutcome outcome = CollectCandidates();
    if (outcome != SearchOutcome::Complete) return Finish(outcome);
    return Finish(ThinCandidates());
  }

 private:
  double LongitudeAt(size_t position) const { return IndexLongitudeDeg(*index_.Record(position)); }
  double WestOfAircraftNm(size_t position) const {
    return (longitudeDeg_ - LongitudeAt(position)) * nmPerDegree_;
  }
  double EastOfAircraftNm(size_t position) const {
    return (LongitudeAt(position) - longitudeDeg_) * nmPerDegree_;
  }

  void MoveWindow() {
    size_t& lower = window_.lower;
    size_t& upper = window_.upper;
    if (upper == last_ && longitudeDeg_ < -170) lower = upper = 0;
    if (lower == 0 && longitudeDeg_ > 170) lower = upper = last_;
    bool coldStart = lower == 0 && upper == 0;
    size_t step = coldStart ? kColdStartStep : 1;

    ExtendLowerWest();
    while (lower < last_ && WestOfAircraftNm(lower) > reachNm_)
      lower = std::min(lower + step, last_);
    // The coarse step may have passed records inside the reach; take them back.
    if (step > 1) ExtendLowerWest();
    if (coldStart) upper = lower;
    while (upper < last_ && EastOfAircraftNm(upper) < reachNm_)
      upper = std::min(upper + step, last_);
    while (upper > 0 && EastOfAircraftNm(upper - 1) > reachNm_) --upper;
  }

  // Moves lower down while the record before it is within reach.
  void ExtendLowerWest() {
    size_t& lower = window_.lower;
    while (lower > 0 && WestOfAircraftNm(lower - 1) < reachNm_) --lower;
  }

  SearchOutcome CollectCandidates() {
    for (size_t position = window_.lower; position < window_.upper; ++position) {
      if (stop_.stop_requested()) return SearchOutcome::Stopped;
      std::string_view record = *index_.Record(position);
      if (std::fabs(IndexLatitudeDeg(record) - latitudeDeg_) * kNmPerDegreeLatitude >= reachNm_) {
        continue;
      }
      switch (IndexKindLetter(record)) {
        case 'V':
          if (!AddVorCandidate(record, position)) return SearchOutcome::Fault;
          break;
        case 'N':
          candidates_[LUMARO_LIST_NDB].Add(position);
          break;
        case 'A':
          candidates_[LUMARO_LIST_AIRPORT].Add(position);
          break;
        case 'I':
          candidates_[LUMARO_LIST_INTERSECTION].Add(position);
          break;
        default:
          break;
      }
    }
    return SearchOutcome::Complete;
  }

  std::optional<std::string_view> VorRecordOf(std::string_view indexRecord) const {
    long row = IndexRow(indexRecord);
    if (row < 0) return std::nullopt;
    return vors_.Record(static_cast<size_t>(row));
  }

  // The station tuned on NAV 1 is kept apart from the list; a later match wins.
  bool AddVorCandidate(std::string_view record, size_t position) {
    const std::string& ident = inputs_.nav1Ident;
    if (!ident.empty()) {
      std::optional<std::string_view> vor = VorRecordOf(record);
      if (!vor) return false;
      if (vor->starts_with(ident)) {
        result_.lists.tuned = MakeRecord(record, VorKindFromTypeLetter(TypeLetter(*vor)));
        return true;
      }
    }
    candidates_[LUMARO_LIST_VOR].Add(position);
    return true;
  }

  static char TypeLetter(std::string_view vorRecord) {
    return vorRecord.size() > 33 ? vorRecord[33] : '\0';
  }

  static DisplayRecord MakeRecord(std::string_view indexRecord, int kind) {
    DisplayRecord display{};
    display.latitudeDeg = static_cast<float>(IndexLatitudeDeg(indexRecord));
    display.longitudeDeg = static_cast<float>(IndexLongitudeDeg(indexRecord));
    display.row = static_cast<int32_t>(IndexRow(indexRecord));
    display.kind = kind;
    display.shown = 1;
    return display;
  }

  // Every s-th candidate, s = n/50 + 1, so no list holds more than 50.
  SearchOutcome ThinCandidates() {
    static constexpr std::array<int, LUMARO_LIST_COUNT> kKinds = {
        0, LUMARO_KIND_NDB, LUMARO_KIND_AIRPORT, LUMARO_KIND_INTERSECTION};
    for (int list = 0; list < LUMARO_LIST_COUNT; ++list) {
      const CandidateList& candidates = candidates_[list];
      size_t stride = candidates.count / LUMARO_LIST_CAPACITY + 1;
      size_t filled = 0;
      for (size_t taken = 0; taken < candidates.count; taken += stride) {
        std::string_view record = *index_.Record(candidates.positions[taken]);
        int kind = kKinds[list];
        if (list == LUMARO_LIST_VOR) {
          std::optional<std::string_view> vor = VorRecordOf(record);
          if (!vor) return SearchOutcome::Fault;
          kind = VorKindFromTypeLetter(TypeLetter(*vor));
          if (kind == LUMARO_KIND_ILS && inputs_.rangeNm >= kIlsHiddenFromRangeNm) continue;
        }
        result_.lists.lists[list][filled++] = MakeRecord(record, kind);
      }
    }
    return SearchOutcome::Complete;
  }

  SearchResult Finish(SearchOutcome outcome) {
    result_.outcome = outcome;
    return result_;
  }

  const DatabaseView& index_;
  const DatabaseView& vors_;
  SearchWindow& window_;
  const LoaderInputs& inputs_;
  const std::stop_token stop_;
  double latitudeDeg_ = 0;
  double longitudeDeg_ = 0;
  double reachNm_ = 0;
  double nmPerDegree_ = 0;
  size_t last_ = 0;
  std::array<CandidateList, LUMARO_LIST_COUNT> candidates_{};
  SearchResult result_;
};

void LowerThisThreadPriority() {
  // Linux keeps a nice value per thread; the display must never wait on the loader.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kLowPriorityNice);
}

}  // namespace

SearchResult SearchNavaids(const NavDatabase& database, SearchWindow& window,
                           const LoaderInputs& inputs, std::stop_token stop) {
  // The candidate lists are large; keep them off the caller's stack.
  auto search = std::make_unique<Search>(database, window, inputs, std::move(stop));
  return search->Run();
}

bool LoaderThread::Start(const NavDatabase& database, SearchWindow& window,
                         SharedDisplayData& shared, LoaderInputs inputs, bool lowPriority) {
  if (running_.load()) return false;
  if (thread_.joinable()) thread_.join();
  running_ = true;
  auto run = [this, &database, &window, &shared, inputs = std::move(inputs),
              lowPriority](std::stop_token stop) {
    if (lowPriority) LowerThisThreadPriority();
    {
      std::lock_guard guard(shared.lock);
      shared.trail.Add(static_cast<float>(HostLatitudeToDeg(inputs.rawLatitude)),
                       static_cast<float>(HostLongitudeToDeg(inputs.rawLongitude)));
    }
    SearchResult result = SearchNavaids(database, window, inputs, std::move(stop));
    if (result.outcome != SearchOutcome::Stopped) {
      std::lock_guard guard(shared.lock);
      shared.lists = result.lists;
      shared.nmPerDegreeLongitude = result.nmPerDegreeLongitude;
      shared.loaderRuns.fetch_add(1);
      shared.loading = false;
      shared.redrawRequest = true;
    } else {
      shared.loading = false;
    }
    running_ = false;
  };
  try {
    thread_ = std::jthread(std::move(run));
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

void LoaderThread::Stop() {
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
  running_ = false;
}

}  // namespace lumaro
