#include "navdb/geo_index.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "navdb/list_order.h"
#include "platform/numbers.h"

namespace navdb {
namespace {

// Unsigned degrees of the coordinate whose hemisphere letter is at `column`.
double CoordinateMagnitude(std::string_view line, size_t column, size_t degreeDigits) {
  const long degrees = platform::ReadLong(Columns(line, column + 1, column + degreeDigits));
  const long minutes = platform::ReadLong(Columns(line, column + degreeDigits + 2, column + degreeDigits + 3));
  const double seconds = platform::ReadDouble(Columns(line, column + degreeDigits + 5, column + degreeDigits + 9));
  return DegreesFromParts(degrees, minutes, seconds);
}

void SplitDegrees(double magnitude, long& whole, long& millionths) {
  whole = static_cast<long>(magnitude);
  millionths = static_cast<long>((magnitude - static_cast<double>(whole)) * 1000000);
}

bool UnlimitedLists(const IndexLists& index) {
  return index.primary.Capacity() == EntryList::kUnlimited &&
         index.following.Capacity() == EntryList::kUnlimited;
}

// Fills the lists from lines already in index order, as adding them one by
// one would.
void AssignInIndexOrder(IndexLists& index, std::vector<std::string>& lines) {
  index.Clear();
  const size_t primaryCount = std::min(lines.size(), kPrimaryIndexCapacity);
  std::vector<std::string> following(std::make_move_iterator(lines.begin() + primaryCount),
                                     std::make_move_iterator(lines.end()));
  lines.resize(primaryCount);
  index.primary.AssignSorted(lines);
  index.following.AssignSorted(following);
}

std::string PerformedText(size_t done, size_t total) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Performed : %05zu / %05zu", done, total);
  return buffer;
}

bool IsKnownTag(std::string_view tag) {
  for (const KindInfo& info : kKindInfo) {
    if (info.indexTag == tag) return true;
  }
  return false;
}

}  // namespace

std::string MakeIndexLine(NavaidKind kind, std::string_view line, size_t row) {
  const KindInfo& info = InfoOf(kind);
  long lonWhole, lonMillionths, latWhole, latMillionths;
  SplitDegrees(CoordinateMagnitude(line, info.longitudeColumn, 3), lonWhole, lonMillionths);
  SplitDegrees(CoordinateMagnitude(line, info.latitudeColumn, 2), latWhole, latMillionths);
  const bool east = info.longitudeColumn < line.size() && line[info.longitudeColumn] == 'E';
  const bool north = info.latitudeColumn < line.size() && line[info.latitudeColumn] == 'N';
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, " %03ld.%06ld %c%02ld.%06ld  %.*s%05zu", lonWhole,
                lonMillionths, north ? ' ' : '-', latWhole, latMillionths,
                static_cast<int>(info.indexTag.size()), info.indexTag.data(), row);
  if (!east) buffer[0] = '-';
  return buffer;
}

bool AddIndexLine(IndexLists& index, std::string_view line) {
  if (!index.primary.AddLine(line)) return false;
  if (index.primary.Count() > kPrimaryIndexCapacity) {
    const size_t last = index.primary.Count() - 1;
    const std::string moved(index.primary.GetLine(last));
    if (!index.following.AddLine(moved)) return false;
    index.primary.DeleteLine(last);
  }
  return true;
}

void RebuildIndex(const std::array<EntryList, 4>& lists, IndexLists& index, const UiCallbacks& ui) {
  if (ui.showIndexWindow) ui.showIndexWindow(true);
  SetStatus(ui, StatusIcon::Sorting, "Status : sorting index...");
  index.Clear();
  size_t total = 0;
  for (const EntryList& list : lists) total += list.EntryCount();

  const bool oneStep = UnlimitedLists(index);
  std::vector<std::string> lines;
  if (oneStep) lines.reserve(total);
  size_t done = 0;
  for (NavaidKind kind : kAllKinds) {
    const EntryList& list = lists[IndexOf(kind)];
    const size_t count = list.EntryCount();
    for (size_t row = 0; row < count; ++row) {
      std::string line = MakeIndexLine(kind, list.GetLine(row), row);
      ++done;
      if (oneStep) {
        lines.push_back(std::move(line));
      } else if (!AddIndexLine(index, line)) {
        const MessageAnswer answer = ShowMessage(ui, "Index Error", "Can't add index to list.",
                                                 MessageIcon::Error, MessageButtons::RetryCancel);
        if (answer == MessageAnswer::Cancel) {
          if (ui.setProgressText) ui.setProgressText(PerformedText(done, total));
          break;
        }
      }
      if (ui.setProgressText) ui.setProgressText(PerformedText(done, total));
    }
  }
  if (oneStep) {
    // Adding every line one by one would give the same lists: the smallest
    // lines in the primary list, the rest in the following one.
    std::sort(lines.begin(), lines.end(), ListOrderLess);
    AssignInIndexOrder(index, lines);
  }
  if (ui.showIndexWindow) ui.showIndexWindow(false);
  SetStatus(ui, StatusIcon::Ready, "Status : index sorted");
  if (ui.setProgressText) ui.setProgressText(" ");
}

std::string WriteIndex(const IndexLists& index) {
  std::string out;
  out.reserve(index.Count() * (kIndexLineLength + 2));
  // The three lists taken together are one sequence in index order: east
  // lines first, then west lines by growing magnitude. West lines go out
  // backwards so the file runs in ascending signed longitude.
  const EntryList* inOrder[] = {&index.preceding, &index.primary, &index.following};
  for (int l = 2; l >= 0; --l) {
    const EntryList& list = *inOrder[l];
    for (size_t row = list.Count(); row-- > 0;) {
      std::string_view line = list.GetLine(row);
      if (!line.empty() && line[0] == '-') out.append(line).append("\r\n");
    }
  }
  for (const EntryList* list : inOrder) {
    list->ForEach([&](size_t, std::string_view line) {
      if (line.empty() || line[0] != '-') out.append(line).append("\r\n");
    });
  }
  return out;
}

bool NormalizeIndexFileLine(std::string_view fileLine, std::string& line) {
  size_t start = 0;
  while (start < fileLine.size() && (fileLine[start] == ' ' || fileLine[start] == '\t')) ++start;
  std::string_view rest = fileLine.substr(start);
  line.clear();
  if (rest.empty() || rest[0] != '-') line.push_back(' ');
  line.append(rest);
  if (line.size() != kIndexLineLength) return false;
  if (line[4] != '.' || line[15] != '.') return false;
  return IsKnownTag(std::string_view(line).substr(24, 3));
}

}  // namespace navdb
