// Merging X-Plane format navigation data (nav.dat, apt.dat, fix.dat) into
// the database through the same Add...Entry operations a scenery scan uses,
// so that duplicates are settled the same way. Fixes become intersections.
#pragma once

#include <cstdint>
#include <string>

#include "scanner/merge.h"
#include "scanner/scan_session.h"
#include "xplane/navdata_reader.h"

namespace scanner {

// How an import ended.
struct ImportResult {
  bool aborted = false;     // "Abort scanning", or Cancel after a refused line
  long refusedEntries = 0;  // lines a full list refused
  long malformedLines = 0;  // lines that would not have had their layout
  long setAsideRows = 0;    // rows the reader refused, set aside with their reason
  // "nav.dat line 12: frequency '1669.' is not written ddd.d"
  std::string firstMalformed = {};
};

// Merges every record of `data`; stops at "Abort scanning". A list that
// refuses a line is reported with the scan's "Can't add entry to ... list."
// box: Retry goes on with the next record, Cancel ends the import. The rows
// the reader refused, and the records whose lines would not have their
// layout, are set aside for the ".rejected" files with their reasons.
ImportResult MergeNavData(ScanSession& session, const xplane::NavData& data);

// The database list of a row's navaid.
navdb::NavaidKind KindOfRows(xplane::RowList list);

// The conversions shared with the tools that write scenery from the same data.
// NDB frequency text: "352.0", or "1025.0" above 999 kHz.
std::string NdbFrequencyTextOf(long frequencyKhz);
// The flags byte of a station (kVorFlag...).
uint8_t VorFlagsOf(const xplane::StationRecord& station);
// The runway record's designator code of a side letter: 1 L, 2 R, 3 C, 0 none.
uint32_t DesignatorCodeOf(char side);
// "120.47", or "000.00" without an ATIS frequency.
std::string AtisTextOf(long frequency10Khz);
// Feet to whole metres, rounded to the nearest metre.
long FeetToMetres(double feet);

}  // namespace scanner
