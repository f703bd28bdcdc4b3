// Arbitrary bytes as idx.dat (first byte even) or as vor.dat (first byte
// odd), beside small well-formed other files; then the checks and searches
// around a few positions, all of which must stay inside the files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/loader.h"
#include "data/nav_database.h"
#include "data/nav_math.h"

namespace {

const std::string kIndex =
    "// Index for Skyatlas 99\r\n"
    "-002.350000  48.856666  VOR00000\r\n"
    " 002.350000  48.856666  VOR00001\r\n"
    " 002.400000  48.900000  NDB00000\r\n";
const std::string kVors =
    "// VOR database for Skyatlas\r\n"
    "PGS  ; PARIS                  ;VOR/DME          ;113.90 ;     ;N48\xB0"
    "51'24.00  ;E002\xB0"
    "21'00.00  ;00200;  130;  01.0\r\n"
    "ILP  ; PARIS ILS              ;ILS/DME/GS       ;110.10 ;087  ;N48\xB0"
    "51'24.00  ;E002\xB0"
    "21'00.00  ;00200;  130;  01.0\r\n";
const std::string kNdbs =
    "// NDB database for Skyatlas\r\n"
    "AB   ; AB NDB                 ;375.0 ;N48\xB0"
    "54'00.00  ;E002\xB0"
    "24'00.00  ;00100;  025\r\n";
const std::string kEmpty = "// Airport database for Skyatlas\r\n";

std::span<const char> Span(const std::string& text) {
  return {text.data(), text.size()};
}

lumaro::LoaderInputs InputsAt(double latitudeDeg, double longitudeDeg, int rangeNm,
                              const char* nav1) {
  lumaro::LoaderInputs inputs;
  inputs.rawLatitude = latitudeDeg / lumaro::kLatitudeScale;
  inputs.rawLongitude =
      (longitudeDeg < 0 ? longitudeDeg + 360 : longitudeDeg) / lumaro::kLongitudeScale;
  inputs.rangeNm = rangeNm;
  inputs.nav1Ident = nav1;
  return inputs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool asIndex = (data[0] & 1) == 0;
  std::span<const char> bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  lumaro::NavDatabase database;
  database.views[lumaro::DatabaseFile::Index] =
      lumaro::MakeDatabaseView(asIndex ? bytes : Span(kIndex));
  database.views[lumaro::DatabaseFile::Ndb] = lumaro::MakeDatabaseView(Span(kNdbs));
  database.views[lumaro::DatabaseFile::Vor] =
      lumaro::MakeDatabaseView(asIndex ? Span(kVors) : bytes);
  database.views[lumaro::DatabaseFile::Airport] = lumaro::MakeDatabaseView(Span(kEmpty));
  database.views[lumaro::DatabaseFile::Intersection] = lumaro::MakeDatabaseView(Span(kEmpty));
  int status = lumaro::CheckDatabaseViews(database.views);
  if (status != 0 && status != 500 && (status < 400 || status > 431)) __builtin_trap();
  lumaro::SearchWindow window;
  const double positions[][2] = {{48.85, 2.35}, {48.85, -2.35}, {0, 179.9}, {0, -179.9}, {-60, 0}};
  for (const auto& position : positions) {
    for (int rangeNm : {10, 320}) {
      lumaro::SearchResult result =
          lumaro::SearchNavaids(database, window, InputsAt(position[0], position[1], rangeNm, "P"));
      for (const lumaro::DisplayList& list : result.lists.lists) {
        for (const lumaro::DisplayRecord& record : list) {
          if (record.shown != 0 && record.shown != 1) __builtin_trap();
        }
      }
    }
  }
  return 0;
}
