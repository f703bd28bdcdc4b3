#include "scanner/merge.h"

#include <cstdio>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace scanner {
namespace {

using navdb::NavaidKind;

int RequestKind(NavaidKind kind) {
  return static_cast<int>(navdb::IndexOf(kind)) + 1;
}

size_t KeyLength(NavaidKind kind) {
  return kind == NavaidKind::Airport ? kRunwayKeyLength : kNdbVorKeyLength;
}

navdb::RunwayDesignator DesignatorOf(int designatorKind) {
  if (designatorKind >= 1 && designatorKind <= 4) {
    return static_cast<navdb::RunwayDesignator>(designatorKind);
  }
  return navdb::RunwayDesignator::Plain;
}

// Degrees rounded to whole ones as the duplicate dialog compares them.
long WholeDegrees(double degrees) {
  return platform::RoundHalfAwayFromZero(degrees);
}

// True when the two lines' positions round to different whole degrees.
bool FarApart(int requestKind, std::string_view existingLine, std::string_view newLine) {
  if (requestKind < 1 || requestKind > 4) return false;
  const navdb::KindInfo& info = navdb::kKindInfo[static_cast<size_t>(requestKind - 1)];
  const auto latitude = [&](std::string_view line) {
    return WholeDegrees(navdb::ParseLatitude(platform::Columns(line, info.latitudeColumn)));
  };
  const auto longitude = [&](std::string_view line) {
    return WholeDegrees(navdb::ParseLongitude(platform::Columns(line, info.longitudeColumn)));
  };
  return latitude(existingLine) != latitude(newLine) ||
         longitude(existingLine) != longitude(newLine);
}

int AddOrRefuse(navdb::EntryList& list, const std::string& line) {
  const std::optional<size_t> row = list.AddLine(line);
  return row ? static_cast<int>(*row) : kMergeRefused;
}

int MergeIntoList(ScanSession& session, NavaidKind kind, const std::string& line) {
  navdb::EntryList& list = session.db.list(kind);
  const std::string_view key = std::string_view(line).substr(0, KeyLength(kind));
  const std::optional<size_t> sameKey = list.FindPrefix(key);
  if (!sameKey) return AddOrRefuse(list, line);
  if (const std::optional<size_t> same = list.FindPrefix(line)) return static_cast<int>(*same);

  navdb::DuplicateRequest request;
  request.kind = RequestKind(kind);
  request.row = static_cast<int>(*sameKey);
  request.existingLine = std::string(list.GetLine(*sameKey));
  request.newLine = line;
  switch (DecideDuplicate(session, request)) {
    case navdb::kDuplicateAbortScan:
      return kMergeAborted;
    case navdb::kDuplicateKeepExisting:
      return 0;
    case navdb::kDuplicateKeepNew:
      if (line.size() > navdb::kMaxLineLength) return kMergeRefused;  // keep the old one then
      session.scanReplacedEntry = true;
      list.DeleteLine(*sameKey);
      return AddOrRefuse(list, line);
    default:
      return AddOrRefuse(list, line);
  }
}

}  // namespace

std::string_view DuplicateExistingLabel(int requestKind) {
  switch (requestKind) {
    case 1:
      return "This NDB is already in the list :";
    case 2:
      return "This VOR is already in the list :";
    case 3:
      return "This Airport's runway is already in the list :";
    default:
      return "This Intersection is already in the list :";
  }
}

int DecideDuplicate(ScanSession& session, const navdb::DuplicateRequest& request) {
  if (FarApart(request.kind, request.existingLine, request.newLine)) {
    return navdb::kDuplicateKeepBoth;
  }
  if (session.keepAlwaysChoice != 0) return session.keepAlwaysChoice;
  const navdb::UiCallbacks& ui = session.ui;
  if (!ui.chooseDuplicate) return navdb::kDuplicateKeepBoth;  // nobody to ask: lose nothing
  if (request.kind >= 1 && request.kind <= 4) {
    const NavaidKind kind = navdb::kAllKinds[static_cast<size_t>(request.kind - 1)];
    if (ui.selectRow) ui.selectRow(kind, request.row);
  }
  if (ui.beep) ui.beep();
  const navdb::DuplicateAnswer answer = ui.chooseDuplicate(request);
  const bool standing =
      answer.outcome >= navdb::kDuplicateKeepExisting && answer.outcome <= navdb::kDuplicateKeepNew;
  if (!standing && answer.outcome != navdb::kDuplicateAbortScan) return navdb::kDuplicateKeepBoth;
  if (answer.always && standing) session.keepAlwaysChoice = answer.outcome;
  return answer.outcome;
}

int MergeLine(ScanSession& session, NavaidKind kind, const std::string& line) {
  const navdb::UiCallbacks& ui = session.ui;
  if (ui.showKindTab) ui.showKindTab(kind);
  navdb::EntryList& list = session.db.list(kind);
  if (list.Count() > 0 && list.GetLine(0) == navdb::kPlaceholderLine) list.Clear();
  const int result = MergeIntoList(session, kind, line);
  if (ui.showEntryCount) ui.showEntryCount(kind, static_cast<int>(list.Count()));
  return result;
}

std::string ScannedNdbLine(const ScannedNdb& ndb) {
  const std::string latitude = navdb::FormatLatitude(ndb.latitudeDeg);
  const std::string longitude = navdb::FormatLongitude(ndb.longitudeDeg);
  return navdb::BuildNdbLine({ndb.identifier, ndb.name, ndb.frequencyText, latitude, longitude,
                              navdb::MetresToFeet(ndb.elevationM), ndb.rangeNm});
}

std::string ScannedVorLine(const ScannedVor& vor) {
  navdb::VorBase base = navdb::VorBase::Vor;
  if (vor.flags & kVorFlagIls)
    base = navdb::VorBase::Ils;
  else if (vor.flags & kVorFlagDmeOnly)
    base = navdb::VorBase::DmeOnly;
  const std::string type =
      navdb::VorTypeText(base, (vor.flags & kVorFlagDme) != 0 && base != navdb::VorBase::DmeOnly,
                         (vor.flags & kVorFlagGlideSlope) != 0, (vor.flags & kVorFlagTacan) != 0);
  char frequency[32];
  std::snprintf(frequency, sizeof frequency, "%.2f", vor.frequencyMhz);
  const std::string course =
      (vor.flags & kVorFlagIls)
          ? platform::ZeroPadded(navdb::HeadingToWholeDegrees(vor.courseDeg), 3)
          : std::string();
  const std::string latitude = navdb::FormatLatitude(vor.latitudeDeg);
  const std::string longitude = navdb::FormatLongitude(vor.longitudeDeg);
  return navdb::BuildVorLine({vor.identifier, vor.name, type, frequency, course, latitude,
                              longitude, navdb::MetresToFeet(vor.elevationM), vor.rangeNm,
                              navdb::MagneticVariationTenths(vor.magneticVariationDeg)});
}

std::string ScannedRunwayLine(const ScannedRunway& runway) {
  const std::string designation =
      navdb::RunwayDesignation(runway.number, DesignatorOf(runway.designatorKind));
  const long headingDeg = navdb::HeadingToWholeDegrees(runway.headingDeg);
  const std::string latitude = navdb::FormatLatitude(runway.latitudeDeg);
  const std::string longitude = navdb::FormatLongitude(runway.longitudeDeg);
  std::string line = navdb::BuildRunwayLine(
      {runway.identifier, runway.name, designation, headingDeg, navdb::OppositeHeading(headingDeg),
       latitude, longitude, navdb::MetresToFeet(runway.elevationM), runway.lengthFt, runway.widthFt,
       runway.atisText});
  const size_t kRunwayLineLength = navdb::InfoOf(NavaidKind::Airport).lineLength;
  if (line.size() > kRunwayLineLength) line.resize(kRunwayLineLength);
  return line;
}

int AddNdbEntry(ScanSession& session, const ScannedNdb& ndb) {
  return MergeLine(session, NavaidKind::Ndb, ScannedNdbLine(ndb));
}

int AddVorEntry(ScanSession& session, const ScannedVor& vor) {
  return MergeLine(session, NavaidKind::Vor, ScannedVorLine(vor));
}

int AddRunwayEntry(ScanSession& session, const ScannedRunway& runway) {
  return MergeLine(session, NavaidKind::Airport, ScannedRunwayLine(runway));
}

}  // namespace scanner
