// The work one scenery image may cost its decoder. Tables of an image point
// at runs of records by offset, and nothing in the format keeps two entries
// from pointing at the same run: a crafted image of half a megabyte whose
// every VOR channel and sub-table entry names the same run makes billions of
// lines or record visits. So each record (and each sub-table entry and
// airport block) is decoded once, the steps of the walk are bounded by the
// image's size, and so are the lines: an image past either bound is not a
// scenery file, and is reported as unrecognised data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scanner {

// Steps a sound image needs at most: about one for every byte (a channel
// entry is 5 bytes, a table entry 9, a chunk 8 or more and walked three
// times), so twice that leaves room; a tiny image gets a floor.
inline constexpr uint64_t kStepsPerImageByte = 2;
inline constexpr uint64_t kStepsOfAnyImage = 4096;
// No record is shorter than an NDB record: a sound image holds no more
// lines than this many bytes each.
inline constexpr uint64_t kSmallestRecordBytes = 42;
// Nor more lines of one kind than a list holds (navdb::kMaxEntryRows): the
// rest could only be refused, and an unpacked image of 256 MB could
// otherwise make millions.
inline constexpr uint64_t kMostLinesOfOneKind = 100000;

class DecodeBudget {
 public:
  explicit DecodeBudget(uint64_t imageBytes)
      : imageBytes_(imageBytes),
        stepsLeft_(kStepsPerImageByte * imageBytes + kStepsOfAnyImage),
        linesLeft_(imageBytes / kSmallestRecordBytes + 1) {}

  // One more step of a walk; false once the image has had all it may take.
  bool Step() {
    ++stepsTaken_;
    if (stepsLeft_ == 0) return false;
    --stepsLeft_;
    return true;
  }
  // True the first time `offset` is reached as the start of something that
  // is decoded once (a record, a sub-table entry, an airport block).
  bool FirstVisit(uint64_t offset) {
    if (offset >= imageBytes_) return true;  // the reader refuses it anyway
    if (visited_.empty()) visited_.resize(imageBytes_);
    if (visited_[offset]) return false;
    visited_[offset] = true;
    return true;
  }
  // One more line of the kind numbered `kind` (0 to 3); false once the
  // image has made more than it can hold.
  bool Line(size_t kind) {
    if (linesLeft_ == 0 || linesOfKind_[kind] == kMostLinesOfOneKind) return false;
    --linesLeft_;
    ++linesOfKind_[kind];
    return true;
  }
  uint64_t StepsTaken() const { return stepsTaken_; }

 private:
  uint64_t imageBytes_;
  uint64_t stepsLeft_;
  uint64_t linesLeft_;
  uint64_t stepsTaken_ = 0;
  uint64_t linesOfKind_[4] = {};
  std::vector<bool> visited_;  // a bit per byte, made when first needed
};

}  // namespace scanner
