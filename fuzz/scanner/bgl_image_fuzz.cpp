// Arbitrary bytes as a plain scenery image, merged into an empty database.
#include <cstddef>
#include <cstdint>

#include "scanner/bgl_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  navdb::Database db;
  scanner::ScanReporter ui;  // unanswered questions keep both versions and cancel refusals
  scanner::ScanSession session{db, ui};
  session.minRunwayLengthFt = 0;
  scanner::ScanBglImage(session, {data, size});
  return 0;
}
