#include "tools/navdata_database.h"

#include <cstdint>
#include <cstdio>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "xplane/navdata_reader.h"

namespace navdata_tools {
namespace {

using navdb::NavaidKind;

std::string Cut(const std::string& text, size_t width) {
  return text.substr(0, width);
}

void AddNdbs(const xplane::NavData& data, const Region& region, navdb::Database& db) {
  for (const xplane::NdbRecord& ndb : data.ndbs) {
    if (!region.Contains(ndb.latitudeDeg, ndb.longitudeDeg)) continue;
    char frequency[16];
    std::snprintf(frequency, sizeof frequency, "%03ld.0", ndb.frequencyKhz % 1000);
    db.List(NavaidKind::Ndb)
        .AddLine(navdb::BuildNdbLine({Cut(ndb.identifier, 5), Cut(ndb.name, 24), frequency,
                                      navdb::FormatLatitude(ndb.latitudeDeg),
                                      navdb::FormatLongitude(ndb.longitudeDeg), ndb.elevationFt,
                                      ndb.rangeNm % 1000}));
  }
}

void AddStations(const xplane::NavData& data, const Region& region, navdb::Database& db) {
  for (const xplane::StationRecord& s : data.stations) {
    if (!region.Contains(s.latitudeDeg, s.longitudeDeg)) continue;
    const navdb::VorBase base = s.hasLocalizer ? navdb::VorBase::Ils
                                : s.dmeOnly()  ? navdb::VorBase::DmeOnly
                                               : navdb::VorBase::Vor;
    char frequency[16], course[16] = "";
    std::snprintf(frequency, sizeof frequency, "%.2f", s.frequencyMhz());
    if (s.hasLocalizer)
      std::snprintf(course, sizeof course, "%03ld",
                    navdb::HeadingToWholeDegrees(s.localizerCourseDeg) % 1000);
    db.List(NavaidKind::Vor)
        .AddLine(navdb::BuildVorLine(
            {Cut(s.identifier, 5), Cut(s.name, 24),
             navdb::VorTypeText(base, s.hasDme, s.hasGlideSlope, s.hasTacan), frequency, course,
             navdb::FormatLatitude(s.latitudeDeg), navdb::FormatLongitude(s.longitudeDeg),
             s.elevationFt, s.rangeNm % 1000,
             navdb::MagneticVariationTenths(s.magneticVariationDeg)}));
  }
}

void AddRunways(const xplane::NavData& data, const Region& region, navdb::Database& db) {
  for (const xplane::AirportRecord& airport : data.airports) {
    char atis[16];
    std::snprintf(atis, sizeof atis, "%03ld.%02ld", airport.atisFrequency10Khz / 100 % 1000,
                  airport.atisFrequency10Khz % 100);
    for (const xplane::RunwayRecord& runway : airport.runways) {
      if (!region.Contains(runway.latitudeDeg, runway.longitudeDeg)) continue;
      const navdb::RunwayDesignator designator =
          runway.side == 'L'   ? navdb::RunwayDesignator::LeftRight
          : runway.side == 'R' ? navdb::RunwayDesignator::RightLeft
          : runway.side == 'C' ? navdb::RunwayDesignator::Centre
                               : navdb::RunwayDesignator::Plain;
      const long headingDeg = navdb::HeadingToWholeDegrees(runway.headingDeg) % 360;
      db.List(NavaidKind::Airport)
          .AddLine(navdb::BuildRunwayLine(
              {Cut(airport.identifier, 5), Cut(airport.name, 24),
               navdb::RunwayDesignation(runway.number % 100, designator), headingDeg,
               navdb::OppositeHeading(headingDeg), navdb::FormatLatitude(runway.latitudeDeg),
               navdb::FormatLongitude(runway.longitudeDeg), airport.elevationFt,
               static_cast<long>(runway.lengthFt) % 100000,
               static_cast<long>(runway.widthFt) % 1000, atis}));
    }
  }
}

void AddFixes(const xplane::NavData& data, const Region& region, navdb::Database& db) {
  for (const xplane::FixRecord& fix : data.fixes) {
    if (!region.Contains(fix.latitudeDeg, fix.longitudeDeg)) continue;
    db.List(NavaidKind::Intersection)
        .AddLine(navdb::BuildIntersectionLine({Cut(fix.identifier, 5), "",
                                               navdb::FormatLatitude(fix.latitudeDeg),
                                               navdb::FormatLongitude(fix.longitudeDeg), 0}));
  }
}

}  // namespace

std::filesystem::path RealNavDataFolder() {
  return std::filesystem::path(SKAT_SHARED_DATA) / "navdata";
}

platform::Status BuildDatabaseFromNavData(const std::filesystem::path& folder, const Region& region,
                                          navdb::Database& db) {
  xplane::NavData data;
  // A region is picked from the whole file: its entries may lie past the
  // first rows a list could take.
  data.recordsPerList = SIZE_MAX;
  if (platform::Status read = xplane::ReadNavDataFolder(folder, data); !read) return read;
  AddNdbs(data, region, db);
  AddStations(data, region, db);
  AddRunways(data, region, db);
  AddFixes(data, region, db);
  navdb::RebuildIndex(db.lists, db.index, {});
  return {};
}

platform::Status BuildRealWorldDatabase(navdb::Database& db) {
  return BuildDatabaseFromNavData(RealNavDataFolder(), Region{}, db);
}

}  // namespace navdata_tools
