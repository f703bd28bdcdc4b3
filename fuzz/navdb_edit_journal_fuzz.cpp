// Arbitrary bytes as edits.journal: the reader must never crash or read out
// of bounds; the records it takes must come back unchanged through the
// written form, and the damaged rest it reports must be the input's own tail,
// so that setting it aside loses no byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "navdb/edit_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::Result<navdb::JournalContents> read = navdb::DecodeJournal(bytes);
  if (!read) return 0;
  if (read->damage && !bytes.ends_with(read->damage->rest)) std::abort();
  if (read->damage && read->damage->reason.find('\n') != std::string::npos) std::abort();
  for (const navdb::JournalRecord& record : read->records) {
    if (!record.before.empty() && !navdb::IsStorableLine(record.kind, record.before)) std::abort();
    if (!record.after.empty() && !navdb::IsStorableLine(record.kind, record.after)) std::abort();
  }
  const platform::Result<navdb::JournalContents> again =
      navdb::DecodeJournal(navdb::EncodeJournal(read->records));
  if (!again || again->damage || again->records != read->records) std::abort();
  return 0;
}
