// Arbitrary bytes as idx.dat: lines of the index shape are taken, the rest
// kept aside; writing the index back gives only well-formed lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  navdb::IndexLists index;
  std::vector<std::string> rejected;
  navdb::DecodeIndexFile(bytes, index, 10, rejected, {});
  const std::string written = navdb::WriteIndex(index);
  if (written.size() != index.Count() * (navdb::kIndexLineLength + 2)) std::abort();
  navdb::IndexLists again;
  std::vector<std::string> rejectedAgain;
  navdb::DecodeIndexFile("// Index for Skyatlas 99\r\n" + written, again, 10, rejectedAgain, {});
  if (again.Count() != index.Count() || !rejectedAgain.empty()) std::abort();
  if (navdb::WriteIndex(again) != written) std::abort();
  // The slow path (limited lists) must agree with the one-step path.
  navdb::IndexLists limited{navdb::EntryList(navdb::EntryList::kUnlimited - 1), navdb::EntryList(),
                            navdb::EntryList()};
  std::vector<std::string> rejectedLimited;
  navdb::DecodeIndexFile(bytes, limited, 10, rejectedLimited, {});
  if (navdb::WriteIndex(limited) != written) std::abort();
  return 0;
}
