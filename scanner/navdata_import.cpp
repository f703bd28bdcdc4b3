#include "scanner/navdata_import.h"

#include <algorithm>
#include <cmath>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "platform/text_columns.h"
#include "scanner/bgl_decoder.h"

namespace scanner {
namespace {

using navdb::NavaidKind;

constexpr double kFeetPerMetre = 3.280839895013123;

int16_t ClampToInt16(long value) {
  return static_cast<int16_t>(std::clamp<long>(value, INT16_MIN, INT16_MAX));
}

// Where a record came from, as the ".rejected" file names it.
std::string SourceOf(const std::string& fileName, size_t lineNumber) {
  return fileName + " line " + std::to_string(lineNumber);
}

// Merges `line` and reports a refused line as a scanned one would be; false
// when the import stops.
bool Merged(ScanSession& session, NavaidKind kind, std::string_view line, std::string_view listName,
            const std::string& source, ImportResult& outcome) {
  const MergeResult result = MergeLine(session, kind, line);
  if (result.status == MergeStatus::Malformed) {
    KeepRefusedLine(session, kind, source, result.problem, line);
    if (outcome.malformedLines++ == 0) outcome.firstMalformed = source + ": " + result.problem;
    return true;
  }
  if (result.status == MergeStatus::Aborted) {
    outcome.aborted = true;
    return false;
  }
  if (result.status != MergeStatus::Refused) return true;
  ++outcome.refusedEntries;
  FlushMergeNotices(session);
  const navdb::MessageAnswer answer =
      navdb::ShowMessage(session.ui, "Error", ListFullText(listName), navdb::MessageIcon::Error,
                         navdb::MessageButtons::RetryCancel);
  if (answer == navdb::MessageAnswer::Cancel) outcome.aborted = true;
  return answer != navdb::MessageAnswer::Cancel;
}

bool MergeNdbs(ScanSession& session, const xplane::NavData& data, ImportResult& outcome) {
  for (const xplane::NdbRecord& record : data.ndbs) {
    const std::string frequency = NdbFrequencyTextOf(record.frequencyKhz);
    ScannedNdb ndb;
    ndb.identifier = platform::Columns(record.identifier, 0, 5);
    ndb.name = platform::Columns(record.name, 0, 24);
    ndb.frequencyText = frequency;
    ndb.latitudeDeg = record.latitudeDeg;
    ndb.longitudeDeg = record.longitudeDeg;
    ndb.elevationM = ClampToInt16(FeetToMetres(static_cast<double>(record.elevationFt)));
    ndb.rangeNm = ClampToInt16(record.rangeNm);
    if (!Merged(session, NavaidKind::Ndb, ScannedNdbLine(ndb), "NDB",
                SourceOf(data.navFile, record.lineNumber), outcome)) {
      return false;
    }
  }
  return true;
}

bool MergeStations(ScanSession& session, const xplane::NavData& data, ImportResult& outcome) {
  for (const xplane::StationRecord& record : data.stations) {
    ScannedVor vor;
    vor.identifier = platform::Columns(record.identifier, 0, 5);
    vor.name = platform::Columns(record.name, 0, 24);
    vor.frequencyMhz = record.frequencyMhz();
    vor.flags = VorFlagsOf(record);
    vor.courseDeg = record.localizerCourseDeg;
    vor.latitudeDeg = record.latitudeDeg;
    vor.longitudeDeg = record.longitudeDeg;
    vor.magneticVariationDeg = record.magneticVariationDeg;
    vor.elevationM = static_cast<int>(FeetToMetres(static_cast<double>(record.elevationFt)));
    vor.rangeNm = static_cast<int>(record.rangeNm);
    if (!Merged(session, NavaidKind::Vor, ScannedVorLine(vor), "VOR",
                SourceOf(data.navFile, record.lineNumber), outcome)) {
      return false;
    }
  }
  return true;
}

bool MergeAirports(ScanSession& session, const xplane::NavData& data, ImportResult& outcome) {
  for (const xplane::AirportRecord& airport : data.airports) {
    const std::string atis = AtisTextOf(airport.atisFrequency10Khz);
    for (const xplane::RunwayRecord& record : airport.runways) {
      ScannedRunway runway;
      runway.identifier = platform::Columns(airport.identifier, 0, 5);
      runway.name = platform::Columns(airport.name, 0, 24);
      runway.number = record.number;
      runway.designator = RunwayDesignatorOfCode(DesignatorCodeOf(record.side));
      runway.headingDeg = record.headingDeg;
      runway.latitudeDeg = record.latitudeDeg;
      runway.longitudeDeg = record.longitudeDeg;
      runway.elevationM = static_cast<int>(FeetToMetres(static_cast<double>(airport.elevationFt)));
      runway.lengthFt = std::lround(record.lengthFt);
      runway.widthFt = std::lround(record.widthFt);
      runway.atisText = atis;
      if (!Merged(session, NavaidKind::Airport, ScannedRunwayLine(runway), "Airport",
                  SourceOf(data.airportFile, record.lineNumber), outcome)) {
        return false;
      }
    }
  }
  return true;
}

bool MergeFixes(ScanSession& session, const xplane::NavData& data, ImportResult& outcome) {
  for (const xplane::FixRecord& fix : data.fixes) {
    const std::string latitude = navdb::FormatLatitude(fix.latitudeDeg);
    const std::string longitude = navdb::FormatLongitude(fix.longitudeDeg);
    const std::string line = navdb::BuildIntersectionLine(
        {platform::Columns(fix.identifier, 0, 5), "", latitude, longitude, 0});
    if (!Merged(session, NavaidKind::Intersection, line, "Intersection",
                SourceOf(data.fixFile, fix.lineNumber), outcome)) {
      return false;
    }
  }
  return true;
}

}  // namespace

navdb::NavaidKind KindOfRows(xplane::RowList list) {
  switch (list) {
    case xplane::RowList::Ndb:
      return NavaidKind::Ndb;
    case xplane::RowList::Station:
      return NavaidKind::Vor;
    case xplane::RowList::Runway:
      return NavaidKind::Airport;
    case xplane::RowList::Fix:
      break;
  }
  return NavaidKind::Intersection;
}

ImportResult MergeNavData(ScanSession& session, const xplane::NavData& data) {
  ImportResult outcome;
  for (const xplane::RefusedRow& row : data.refused) {
    KeepRefusedLine(session, KindOfRows(row.list), row.source, row.reason, row.row);
  }
  outcome.setAsideRows = static_cast<long>(data.refused.size());
  const MergeNoticeBatch batch(session);
  MergeNdbs(session, data, outcome) && MergeStations(session, data, outcome) &&
      MergeAirports(session, data, outcome) && MergeFixes(session, data, outcome);
  return outcome;
}

std::string NdbFrequencyTextOf(long frequencyKhz) {
  return platform::ZeroPadded(std::clamp(frequencyKhz, 0L, 9999L), 3) + ".0";
}

uint8_t VorFlagsOf(const xplane::StationRecord& station) {
  uint8_t flags = 0;
  if (station.hasLocalizer)
    flags |= kVorFlagIls;
  else if (station.dmeOnly())
    flags |= kVorFlagDmeOnly;
  if (station.hasDme) flags |= kVorFlagDme;
  if (station.hasGlideSlope) flags |= kVorFlagGlideSlope;
  if (station.hasTacan) flags |= kVorFlagTacan;
  return flags;
}

uint32_t DesignatorCodeOf(char side) {
  switch (side) {
    case 'L':
      return 1;
    case 'R':
      return 2;
    case 'C':
      return 3;
    default:
      return 0;
  }
}

std::string AtisTextOf(long frequency10Khz) {
  const long clamped = std::clamp(frequency10Khz, 0L, 99999L);
  return platform::ZeroPadded(clamped / 100, 3) + "." + platform::ZeroPadded(clamped % 100, 2);
}

long FeetToMetres(double feet) {
  return std::lround(feet / kFeetPerMetre);
}

}  // namespace scanner
