// Arbitrary bytes as an entry file of every kind: the reader must never
// crash, read out of bounds or lose a line; what it takes has exactly its
// kind's length and must save back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/database.h"
#include "navdb/entry_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    navdb::EntryList list(1 + size % 7);
    std::vector<std::string> rejected;
    // A full list is asked to try again: the refusal path runs each time.
    struct RetryingUi : navdb::Reporter {
      navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
        return request.buttons == navdb::MessageButtons::RetryCancel ? navdb::MessageAnswer::Retry
                                                                     : navdb::MessageAnswer::Ok;
      }
    } ui;
    navdb::DecodeEntryFile(kind, bytes, list, rejected, ui);
    // Every line taken must have the kind's layout and come back unchanged
    // through the file form.
    const std::string encoded = navdb::EncodeEntryFile(kind, list);
    navdb::EntryList again;
    std::vector<std::string> rejectedAgain;
    navdb::DecodeEntryFile(kind, encoded, again, rejectedAgain, ui);
    if (again.Count() != list.Count() || !rejectedAgain.empty()) std::abort();
    for (size_t row = 0; row < list.Count(); ++row) {
      if (list.GetLine(row) != again.GetLine(row)) std::abort();
      if (list.GetLine(row).size() != navdb::InfoOf(kind).lineLength) std::abort();
    }
    (void)navdb::ParseEntryLine(kind, list.Count() ? list.GetLine(0) : bytes.substr(0, 120));
  }
  return 0;
}
