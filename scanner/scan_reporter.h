// What a scan tells and asks beyond the database's reports: where the walk
// is, how many scenery files it goes through, and which version stays when
// a scanned entry duplicates one in the list.
#pragma once

#include <cstddef>
#include <string>

#include "navdb/navaid_kind.h"
#include "navdb/reporter.h"

namespace scanner {

// The two versions of an entry that the double-entry question shows.
struct DuplicateRequest {
  navdb::NavaidKind kind = navdb::NavaidKind::Ndb;  // the list of both lines
  int row = 0;                                      // row of the existing line in its list
  std::string existingLine;
  std::string newLine;
};

// Outcomes of the double-entry question.
enum class DuplicateOutcome { AbortScan, KeepExisting, KeepBoth, KeepNew };

struct DuplicateAnswer {
  DuplicateOutcome outcome = DuplicateOutcome::KeepBoth;
  bool always = false;  // "Keep always": the same answer for the rest of the scan
};

class ScanReporter : public virtual navdb::Reporter {
 public:
  // Which version of an entry stays. Just before, the existing entry is in
  // focus and the user alerted. Unanswered, both stay: nothing is lost.
  virtual DuplicateAnswer ChooseDuplicate(const DuplicateRequest& /*request*/) const { return {}; }
  // The folder or scenery file the walk is at; " " between folders.
  virtual void ScanPosition(const std::string& /*path*/) const {}
  // How many scenery files the scan goes through, told once while it runs,
  // as soon as its walk has listed the tree.
  virtual void ScanFileTotal(size_t /*files*/) const {}
};

}  // namespace scanner
