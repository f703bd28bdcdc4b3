// Merging scanned navaids into the database: each one becomes an entry line,
// which is added, recognised as already present, or - when a line with the
// same identity is there - settled by the double-entry dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/entry_lines.h"
#include "navdb/navaid_kind.h"
#include "scanner/scan_session.h"

namespace scanner {

// What became of a scanned line.
enum class MergeStatus {
  Added,         // a new line in its list (beside an existing version, or in its place)
  Present,       // the very same line was there already
  KeptExisting,  // another version was there and stays alone
  Refused,       // the list could not take the line
  Aborted,       // the user chose "Abort scanning"
  Malformed,     // the line does not have its kind's layout: nothing was asked or changed
};

struct MergeResult {
  MergeStatus status = MergeStatus::Added;
  std::optional<size_t> row;  // the line's row when it was added or present
  std::string problem = {};   // why a Malformed line does not have its layout

  bool operator==(const MergeResult&) const = default;
};

struct ScannedNdb {
  std::string_view identifier;     // up to 5 characters
  std::string_view name;           // up to 24 characters
  std::string_view frequencyText;  // kHz, "352.5"
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  int16_t elevationM = 0;
  int16_t rangeNm = 0;
};

struct ScannedVor {
  std::string_view identifier;
  std::string_view name;
  double frequencyMhz = 0;
  uint8_t flags = 0;     // kVorFlag...
  double courseDeg = 0;  // localizer course, used for an ILS only
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  double magneticVariationDeg = 0;
  int elevationM = 0;
  int rangeNm = 0;
};

inline constexpr uint8_t kVorFlagIls = 0x80;
inline constexpr uint8_t kVorFlagGlideSlope = 0x40;
inline constexpr uint8_t kVorFlagDmeOnly = 0x04;
inline constexpr uint8_t kVorFlagTacan = 0x02;
inline constexpr uint8_t kVorFlagDme = 0x01;

struct ScannedRunway {
  std::string_view identifier;  // airport ICAO identifier
  std::string_view name;        // airport name
  int number = 0;
  navdb::RunwayDesignator designator = navdb::RunwayDesignator::Plain;
  double headingDeg = 0;  // may be negative
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  int elevationM = 0;
  long lengthFt = 0;
  long widthFt = 0;
  std::string_view atisText;  // "118.05", or "000.00" when none
};

// The designator of a runway record's code: 1 left/right, 2 right/left,
// 3 centre, 4 helipad; any other code is a plain runway.
navdb::RunwayDesignator RunwayDesignatorOfCode(uint32_t code);

// The entry lines built from scanned values.
std::string ScannedNdbLine(const ScannedNdb& ndb);
std::string ScannedVorLine(const ScannedVor& vor);
std::string ScannedRunwayLine(const ScannedRunway& runway);

MergeResult AddNdbEntry(ScanSession& session, const ScannedNdb& ndb);
MergeResult AddVorEntry(ScanSession& session, const ScannedVor& vor);
MergeResult AddRunwayEntry(ScanSession& session, const ScannedRunway& runway);

// Characters of a line that identify its entry: identifier and name, and
// for runways the start of the designation.
inline constexpr size_t kNdbVorKeyLength = 31;
inline constexpr size_t kRunwayKeyLength = 36;

// Merges `line` into the list of `kind` with the duplicate rules above. A
// line built from outside data that does not have its layout exactly is
// Malformed and leaves the list as it was.
MergeResult MergeLine(ScanSession& session, navdb::NavaidKind kind, std::string_view line);

// Sets a line that was not merged aside in the ".rejected" file of its kind,
// which the next save writes: "SOURCE: REASON: LINE", control bytes shown as
// '?' so that the file stays one line per refusal.
void KeepRefusedLine(ScanSession& session, navdb::NavaidKind kind, std::string_view source,
                     std::string_view reason, std::string_view line);

// While a batch lives, merges show a kind's tab only when the kind changes
// and hold back the count notices; the batch's end tells the latest counts.
// Telling the window of every one of thousands of lines a file holds costs
// more than the merge itself, and the window can only show the last one.
class MergeNoticeBatch {
 public:
  explicit MergeNoticeBatch(ScanSession& session);
  ~MergeNoticeBatch();
  MergeNoticeBatch(const MergeNoticeBatch&) = delete;
  MergeNoticeBatch& operator=(const MergeNoticeBatch&) = delete;

 private:
  ScanSession& session_;
  bool outermost_;
};

// Tells the counts held back so far; called before the user is asked
// anything, so that the window is current when a question comes.
void FlushMergeNotices(ScanSession& session);

// What the double-entry dialog decides for `request`: both are kept without
// asking when the two entries lie a whole degree or more apart, the standing
// "Keep always" answer when there is one, else the user's choice.
DuplicateOutcome DecideDuplicate(ScanSession& session, const DuplicateRequest& request);

// Fixed texts of the double-entry dialog. The "&&" shows as one ampersand.
inline constexpr std::string_view kDuplicateDialogTitle = "Double entry warning !";
inline constexpr std::string_view kDuplicateNewLineLabel =
    "and this one, with same ID && Name, is going to be added :";
inline constexpr std::string_view kDuplicateChooseText = "Choose the one(s) you want to keep";
// "This NDB is already in the list :" and its VOR, Airport's runway and
// Intersection forms.
std::string_view DuplicateExistingLabel(navdb::NavaidKind kind);

}  // namespace scanner
