// The fields of one X-Plane row, read with their checks: a number must be a
// finite number as a whole field and lie within its range, a text must hold
// no control bytes. The first failure is kept as the reason the row is
// refused, so that a reader reads every field it needs and asks once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xplane {

// Numbers beyond this are no value of these files, and stay clear of what
// the conversions to whole numbers can hold.
inline constexpr double kLargestRowNumber = 1e9;

class RowFields {
 public:
  explicit RowFields(const std::vector<std::string_view>& fields) : fields_(fields) {}

  bool ok() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }

  // The number in field `index`, which must lie within [lowest, highest];
  // 0 after a failure.
  double Number(size_t index, std::string_view name, double lowest = -kLargestRowNumber,
                double highest = kLargestRowNumber);
  // The same, cut toward zero to a whole number.
  long Whole(size_t index, std::string_view name, double lowest = -kLargestRowNumber,
             double highest = kLargestRowNumber);
  double LatitudeDeg(size_t index) { return Number(index, "latitude", -90, 90); }
  double LongitudeDeg(size_t index) { return Number(index, "longitude", -180, 180); }
  // Field `index` (or the fields from `index` on, joined by single spaces).
  std::string Text(size_t index, std::string_view name);
  std::string JoinedText(size_t first, std::string_view name);

 private:
  void Fail(std::string problem);
  void CheckText(const std::string& text, std::string_view name);

  const std::vector<std::string_view>& fields_;
  std::string problem_;
};

// A field read as a finite number over its whole length ("38.5", "-077",
// "+1e3"), or false ("1e999", "nan", "12abc", "").
bool ReadFiniteNumber(std::string_view field, double& value);

}  // namespace xplane
