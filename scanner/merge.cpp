#include "scanner/merge.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "navdb/line_layout.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace scanner {
namespace {

using navdb::NavaidKind;

size_t KeyLength(NavaidKind kind) {
  return kind == NavaidKind::Airport ? kRunwayKeyLength : kNdbVorKeyLength;
}

// Degrees rounded to whole ones as the duplicate dialog compares them.
long WholeDegrees(double degrees) {
  return platform::RoundHalfAwayFromZero(degrees);
}

// True when the two lines' positions round to different whole degrees.
bool FarApart(NavaidKind kind, std::string_view existingLine, std::string_view newLine) {
  const navdb::KindInfo& info = navdb::InfoOf(kind);
  const auto latitude = [&](std::string_view line) {
    return WholeDegrees(navdb::ParseLatitude(platform::Columns(line, info.latitudeColumn)));
  };
  const auto longitude = [&](std::string_view line) {
    return WholeDegrees(navdb::ParseLongitude(platform::Columns(line, info.longitudeColumn)));
  };
  return latitude(existingLine) != latitude(newLine) ||
         longitude(existingLine) != longitude(newLine);
}

MergeResult AddOrRefuse(std::optional<size_t> row) {
  if (!row) return {MergeStatus::Refused, std::nullopt};
  return {MergeStatus::Added, row};
}

MergeResult MergeIntoList(ScanSession& session, NavaidKind kind, std::string_view line) {
  navdb::EntryList& list = session.db.List(kind);
  const std::string_view key = line.substr(0, KeyLength(kind));
  // One search finds the first line with the same identity, the same line
  // if it is there, and where the new line goes.
  const navdb::EntryList::Probe probe = list.ProbeLine(key, line);
  if (!probe.match) return AddOrRefuse(list.AddProbedLine(probe, line));
  if (probe.same) return {MergeStatus::Present, probe.same};

  DuplicateRequest request;
  request.kind = kind;
  request.row = static_cast<int>(*probe.match);
  request.existingLine = std::string(list.GetLine(*probe.match));
  request.newLine = std::string(line);
  switch (DecideDuplicate(session, request)) {
    case DuplicateOutcome::AbortScan:
      return {MergeStatus::Aborted, std::nullopt};
    case DuplicateOutcome::KeepExisting:
      return {MergeStatus::KeptExisting, std::nullopt};
    case DuplicateOutcome::KeepNew:
      session.scanReplacedEntry = true;
      list.DeleteLine(*probe.match);
      return AddOrRefuse(list.AddLine(line));
    case DuplicateOutcome::KeepBoth:
      break;
  }
  // Asking changed nothing in the list: the point found still holds.
  return AddOrRefuse(list.AddProbedLine(probe, line));
}

}  // namespace

std::string_view DuplicateExistingLabel(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return "This NDB is already in the list :";
    case NavaidKind::Vor:
      return "This VOR is already in the list :";
    case NavaidKind::Airport:
      return "This Airport's runway is already in the list :";
    case NavaidKind::Intersection:
      break;
  }
  return "This Intersection is already in the list :";
}

DuplicateOutcome DecideDuplicate(ScanSession& session, const DuplicateRequest& request) {
  if (FarApart(request.kind, request.existingLine, request.newLine)) {
    return DuplicateOutcome::KeepBoth;
  }
  if (session.keepAlwaysOutcome) return *session.keepAlwaysOutcome;
  const ScanReporter& ui = session.ui;
  FlushMergeNotices(session);
  ui.EntryInFocus(request.kind, request.row);
  ui.Alert();
  const DuplicateAnswer answer = ui.ChooseDuplicate(request);
  // "Abort scanning" ends this scan only; it never stands for the next one.
  if (answer.always && answer.outcome != DuplicateOutcome::AbortScan) {
    session.keepAlwaysOutcome = answer.outcome;
  }
  return answer.outcome;
}

MergeResult MergeLine(ScanSession& session, NavaidKind kind, std::string_view line) {
  if (std::optional<std::string> problem = navdb::LineLayoutProblem(kind, line)) {
    return {MergeStatus::Malformed, std::nullopt, std::move(*problem)};
  }
  const navdb::Reporter& ui = session.ui;
  ScanSession::MergeNotices& notices = session.notices;
  if (!notices.batching || notices.tabShown != kind) {
    ui.KindInFocus(kind);
    notices.tabShown = kind;
  }
  navdb::EntryList& list = session.db.List(kind);
  if (list.Count() > 0 && list.GetLine(0) == navdb::kPlaceholderLine) list.Clear();
  const MergeResult result = MergeIntoList(session, kind, line);
  if (notices.batching)
    notices.countPending[navdb::IndexOf(kind)] = true;
  else
    ui.EntryCountChanged(kind, static_cast<int>(list.Count()));
  return result;
}

void KeepRefusedLine(ScanSession& session, NavaidKind kind, std::string_view source,
                     std::string_view reason, std::string_view line) {
  std::string text;
  text.reserve(source.size() + reason.size() + line.size() + 4);
  text.append(source).append(": ").append(reason).append(": ").append(line);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  session.db.rejectedLines[navdb::IndexOf(kind)].push_back(std::move(text));
  session.linesSetAside = true;
}

MergeNoticeBatch::MergeNoticeBatch(ScanSession& session)
    : session_(session), outermost_(!session.notices.batching) {
  if (!outermost_) return;
  session.notices.batching = true;
  // Each batch shows its first kind's tab, whatever the user looked at between.
  session.notices.tabShown.reset();
}

MergeNoticeBatch::~MergeNoticeBatch() {
  if (!outermost_) return;
  FlushMergeNotices(session_);
  session_.notices.batching = false;
}

void FlushMergeNotices(ScanSession& session) {
  for (NavaidKind kind : navdb::kAllKinds) {
    bool& pending = session.notices.countPending[navdb::IndexOf(kind)];
    if (!pending) continue;
    pending = false;
    session.ui.EntryCountChanged(kind, static_cast<int>(session.db.List(kind).Count()));
  }
}

navdb::RunwayDesignator RunwayDesignatorOfCode(uint32_t code) {
  if (code >= 1 && code <= 4) return static_cast<navdb::RunwayDesignator>(code);
  return navdb::RunwayDesignator::Plain;
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
  // "%.2f" cut to 31 characters, without printf's format parsing.
  char frequencyText[400];
  const std::to_chars_result written =
      std::to_chars(std::begin(frequencyText), std::end(frequencyText), vor.frequencyMhz,
                    std::chars_format::fixed, 2);
  const std::string_view frequency(
      frequencyText, std::min<size_t>(31, static_cast<size_t>(written.ptr - frequencyText)));
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
  const std::string designation = navdb::RunwayDesignation(runway.number, runway.designator);
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

MergeResult AddNdbEntry(ScanSession& session, const ScannedNdb& ndb) {
  return MergeLine(session, NavaidKind::Ndb, ScannedNdbLine(ndb));
}

MergeResult AddVorEntry(ScanSession& session, const ScannedVor& vor) {
  return MergeLine(session, NavaidKind::Vor, ScannedVorLine(vor));
}

MergeResult AddRunwayEntry(ScanSession& session, const ScannedRunway& runway) {
  return MergeLine(session, NavaidKind::Airport, ScannedRunwayLine(runway));
}

}  // namespace scanner
