// Arbitrary bytes as nav.dat, apt.dat or fix.dat (the first byte picks which),
// read and then merged into an empty database as an import would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scanner/navdata_import.h"
#include "xplane/navdata_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  xplane::NavData navData;
  switch (data[0] % 3) {
    case 0:
      xplane::ReadNavBytes(bytes, navData);
      break;
    case 1:
      xplane::ReadAirportBytes(bytes, navData);
      break;
    default:
      xplane::ReadFixBytes(bytes, navData);
      break;
  }
  // Every record or counted row came from a line of its own.
  const size_t records = navData.ndbs.size() + navData.stations.size() + navData.airports.size() +
                         navData.fixes.size() + navData.refusedRows + navData.PassedOverRows();
  if (records > bytes.size() + 1) std::abort();

  navdb::Database db;
  scanner::ScanReporter ui;  // unanswered questions keep both versions and cancel refusals
  scanner::ScanSession session{db, ui};
  scanner::MergeNavData(session, navData);
  return 0;
}
