#include "scanner/merge.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/recording_ui.h"

namespace scanner {
void PrintTo(const MergeResult& result, std::ostream* out) {
  *out << "status " << static_cast<int>(result.status) << " row "
       << (result.row ? std::to_string(*result.row) : "none");
}
}  // namespace scanner

namespace {

using navdb::NavaidKind;
using scanner::DuplicateOutcome;
using scanner::MergeResult;
using scanner::MergeStatus;
using scanner::ScanSession;

// Scripted answers of the double-entry dialog, recording each request.
struct DialogScript {
  std::vector<scanner::DuplicateAnswer> answers;
  std::vector<scanner::DuplicateRequest> requests;

  void Install(testing_support::RecordingUi& recording) {
    recording.duplicateAnswer = [this](const scanner::DuplicateRequest& request) {
      requests.push_back(request);
      scanner::DuplicateAnswer answer =
          answers.empty() ? scanner::DuplicateAnswer{} : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      return answer;
    };
  }
};

scanner::ScannedNdb Ndb(double latitudeDeg, std::string_view name = "TEST NDB") {
  scanner::ScannedNdb ndb;
  ndb.identifier = "ABC";
  ndb.name = name;
  ndb.frequencyText = "352.5";
  ndb.latitudeDeg = latitudeDeg;
  ndb.longitudeDeg = -0.5;
  ndb.elevationM = 100;
  ndb.rangeNm = 11;
  return ndb;
}

TEST(MergeLines, BuildsTheLinesOfEachKind) {
  EXPECT_EQ(scanner::ScannedNdbLine(Ndb(48.8566667)),
            "ABC    TEST NDB                  352.5  N48\xB0"
            "51'24.00  W000\xB0"
            "30'00.00  "
            "00328  011");

  scanner::ScannedVor ils;
  ils.identifier = "IGG";
  ils.name = "EGKK 08R ILS";
  ils.frequencyMhz = 110.9;
  ils.flags = scanner::kVorFlagIls | scanner::kVorFlagGlideSlope | scanner::kVorFlagDme;
  ils.courseDeg = -90.4;
  ils.latitudeDeg = -0.5;
  ils.longitudeDeg = 10.25;
  ils.magneticVariationDeg = -2.34;
  ils.elevationM = -1;
  ils.rangeNm = 18;
  EXPECT_EQ(scanner::ScannedVorLine(ils),
            "IGG    EGKK 08R ILS              ILS/DME/GS       110.90  270  S00\xB0"
            "30'00.00  E010\xB0"
            "15'00.00  -0003  018  -02.3");

  scanner::ScannedVor dme;  // DME only with TACAN: never "/DME", no course
  dme.identifier = "ZZ";
  dme.flags = scanner::kVorFlagDmeOnly | scanner::kVorFlagDme | scanner::kVorFlagTacan |
              scanner::kVorFlagGlideSlope;
  dme.frequencyMhz = 108.75;
  dme.courseDeg = 45;
  dme.magneticVariationDeg = 0.05;
  EXPECT_EQ(scanner::ScannedVorLine(dme),
            "ZZ                               DME/GS /TCN      108.75       N00\xB0"
            "00'00.00  E000\xB0"
            "00'00.00  00000  000   00.1");

  scanner::ScannedRunway runway;
  runway.identifier = "EGKK ";
  runway.name = "GATWICK                 ";
  runway.number = 9;
  runway.designator = navdb::RunwayDesignator::LeftRight;
  runway.headingDeg = -90;
  runway.latitudeDeg = 51.1501;
  runway.longitudeDeg = -0.19;
  runway.elevationM = 60;
  runway.lengthFt = 10364;
  runway.widthFt = 148;
  runway.atisText = "136.52";
  EXPECT_EQ(scanner::ScannedRunwayLine(runway),
            "EGKK   GATWICK                   09L/27R  270/090  N51\xB0"
            "09'00.36  W000\xB0"
            "11'24.00  00197  10364  148  136.52");
  // The record codes 1 to 4 name designators; anything else is a plain runway.
  EXPECT_EQ(scanner::RunwayDesignatorOfCode(1), navdb::RunwayDesignator::LeftRight);
  EXPECT_EQ(scanner::RunwayDesignatorOfCode(4), navdb::RunwayDesignator::Helipad);
  EXPECT_EQ(scanner::RunwayDesignatorOfCode(0), navdb::RunwayDesignator::Plain);
  EXPECT_EQ(scanner::RunwayDesignatorOfCode(5), navdb::RunwayDesignator::Plain);
  EXPECT_EQ(scanner::RunwayDesignatorOfCode(0xFFFFFFFF), navdb::RunwayDesignator::Plain);
  runway.designator = scanner::RunwayDesignatorOfCode(7);
  runway.number = 27;
  EXPECT_EQ(scanner::ScannedRunwayLine(runway).substr(33, 9), "27 /09   ");
  runway.number = 1234567890;  // a number of the file's choosing never overruns the line
  EXPECT_EQ(scanner::ScannedRunwayLine(runway).size(), 105u);
}

TEST(MergeLines, VorFrequencyIsWrittenAsPrintfRoundsIt) {
  // Every channel, halfway cases and values far out of range.
  std::vector<double> frequenciesMhz = {0.0,     0.005, 0.015,     108.125, 108.135,
                                        117.955, -1.5,  99999.995, 1e30,    -1e30};
  for (int channel = 0; channel <= 400; ++channel) {
    frequenciesMhz.push_back(108.0 + channel * 0.025);
  }
  for (double frequencyMhz : frequenciesMhz) {
    scanner::ScannedVor vor;
    vor.identifier = "ABC";
    vor.frequencyMhz = frequencyMhz;
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f", frequencyMhz);
    const std::string line = scanner::ScannedVorLine(vor);
    const std::string_view written = std::string_view(line).substr(50, std::strlen(expected));
    EXPECT_EQ(written, expected) << frequencyMhz;
    // The field ends there: padding or the next field follows.
    if (std::strlen(expected) < 8) {
      EXPECT_EQ(line[50 + std::strlen(expected)], ' ');
    }
  }
}

TEST(MergeLines, AddsKnownAndDuplicateEntriesByTheRules) {
  navdb::Database db;
  db.List(NavaidKind::Ndb).AddLine(navdb::kPlaceholderLine);
  testing_support::RecordingUi recording;
  DialogScript dialog;
  dialog.Install(recording);
  const std::vector<NavaidKind>& tabs = recording.kindsInFocus;
  ScanSession session{db, recording};
  navdb::EntryList& list = db.List(NavaidKind::Ndb);

  // The placeholder goes before the first scanned line.
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.1)), (MergeResult{MergeStatus::Added, 0}));
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_EQ(tabs, std::vector<NavaidKind>{NavaidKind::Ndb});
  ASSERT_FALSE(recording.counts.empty());
  EXPECT_EQ(recording.counts.back(), std::make_pair(NavaidKind::Ndb, 1));

  // The same line, even in other letter case, is already present.
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.1, "test ndb")),
            (MergeResult{MergeStatus::Present, 0}));
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_TRUE(dialog.requests.empty());

  // 45.1 and 45.6 round to 45 and 46: both stay, nobody is asked.
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.6)), (MergeResult{MergeStatus::Added, 1}));
  EXPECT_TRUE(dialog.requests.empty());
  EXPECT_EQ(list.Count(), 2u);

  // 45.4 rounds like 45.1: the dialog is shown against the first match.
  dialog.answers = {{DuplicateOutcome::KeepExisting, false}};
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.4)),
            (MergeResult{MergeStatus::KeptExisting, std::nullopt}));
  ASSERT_EQ(dialog.requests.size(), 1u);
  EXPECT_EQ(dialog.requests[0].kind, NavaidKind::Ndb);
  EXPECT_EQ(dialog.requests[0].row, 0);
  EXPECT_EQ(dialog.requests[0].existingLine, std::string(list.GetLine(0)));
  EXPECT_EQ(dialog.requests[0].newLine, scanner::ScannedNdbLine(Ndb(45.4)));
  EXPECT_EQ(recording.beeps, 1);
  EXPECT_EQ(recording.selections.back(), std::make_pair(NavaidKind::Ndb, 0));
  EXPECT_EQ(list.Count(), 2u);

  dialog.answers = {{DuplicateOutcome::AbortScan, false}};
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.4)),
            (MergeResult{MergeStatus::Aborted, std::nullopt}));
  EXPECT_EQ(list.Count(), 2u);
  // "Abort scanning" never becomes the standing answer, even with "always".
  dialog.answers = {{DuplicateOutcome::AbortScan, true}};
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.4)).status, MergeStatus::Aborted);
  EXPECT_FALSE(session.keepAlwaysOutcome.has_value());

  // The new version replaces the old one: the count stays, the flag is set.
  dialog.answers = {{DuplicateOutcome::KeepNew, false}};
  EXPECT_FALSE(session.scanReplacedEntry);
  const MergeResult replaced = scanner::AddNdbEntry(session, Ndb(45.4));
  EXPECT_EQ(replaced.status, MergeStatus::Added);
  ASSERT_TRUE(replaced.row.has_value());
  EXPECT_EQ(list.GetLine(*replaced.row), scanner::ScannedNdbLine(Ndb(45.4)));
  EXPECT_TRUE(session.scanReplacedEntry);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_FALSE(list.FindPrefix(scanner::ScannedNdbLine(Ndb(45.1))).has_value());

  // "Keep always" on "Keep both": later duplicates are added without asking.
  dialog.answers = {{DuplicateOutcome::KeepBoth, true}};
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.3)).status, MergeStatus::Added);
  EXPECT_EQ(session.keepAlwaysOutcome, DuplicateOutcome::KeepBoth);
  const size_t asked = dialog.requests.size();
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(45.2)).status, MergeStatus::Added);
  EXPECT_EQ(dialog.requests.size(), asked);
  EXPECT_EQ(list.Count(), 4u);
  EXPECT_EQ(recording.counts.back(), std::make_pair(NavaidKind::Ndb, 4));
}

TEST(MergeLines, RefusedLinesAndTheDialogTexts) {
  navdb::Database db;
  db.lists[navdb::IndexOf(NavaidKind::Ndb)] = navdb::EntryList(1);
  db.List(NavaidKind::Ndb).AddLine(navdb::kPlaceholderLine);
  testing_support::RecordingUi recording;
  ScanSession session{db, recording};
  // The placeholder leaves, the list takes the first line, refuses the next.
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(10)), (MergeResult{MergeStatus::Added, 0}));
  EXPECT_EQ(scanner::AddNdbEntry(session, Ndb(20, "OTHER")),
            (MergeResult{MergeStatus::Refused, std::nullopt}));
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 1u);
  // Without a dialog to ask, a near duplicate is kept beside the existing entry.
  EXPECT_EQ(scanner::DecideDuplicate(session, {NavaidKind::Ndb, 0, scanner::ScannedNdbLine(Ndb(10)),
                                               scanner::ScannedNdbLine(Ndb(10.2))}),
            DuplicateOutcome::KeepBoth);

  EXPECT_EQ(scanner::DuplicateExistingLabel(NavaidKind::Ndb), "This NDB is already in the list :");
  EXPECT_EQ(scanner::DuplicateExistingLabel(NavaidKind::Vor), "This VOR is already in the list :");
  EXPECT_EQ(scanner::DuplicateExistingLabel(NavaidKind::Airport),
            "This Airport's runway is already in the list :");
  EXPECT_EQ(scanner::DuplicateExistingLabel(NavaidKind::Intersection),
            "This Intersection is already in the list :");
}

TEST(MergeLines, RunwaysAreIdentifiedByTheirDesignation) {
  navdb::Database db;
  testing_support::RecordingUi recording;
  DialogScript dialog;
  dialog.Install(recording);
  ScanSession session{db, recording};
  scanner::ScannedRunway runway;
  runway.identifier = "LFPG ";
  runway.name = "CHARLES DE GAULLE       ";
  runway.number = 9;
  runway.designator = navdb::RunwayDesignator::LeftRight;
  runway.headingDeg = 85;
  runway.latitudeDeg = 49.0;
  runway.longitudeDeg = 2.5;
  runway.lengthFt = 13829;
  runway.atisText = "000.00";
  EXPECT_EQ(scanner::AddRunwayEntry(session, runway), (MergeResult{MergeStatus::Added, 0}));
  // Identical: no dialog.
  EXPECT_EQ(scanner::AddRunwayEntry(session, runway), (MergeResult{MergeStatus::Present, 0}));
  runway.designator = navdb::RunwayDesignator::RightLeft;  // 09R is another runway
  EXPECT_EQ(scanner::AddRunwayEntry(session, runway), (MergeResult{MergeStatus::Added, 1}));
  runway.lengthFt = 13000;  // 09R again, changed: the user decides
  dialog.answers = {{DuplicateOutcome::KeepExisting, true}};
  const MergeResult kept{MergeStatus::KeptExisting, std::nullopt};
  EXPECT_EQ(scanner::AddRunwayEntry(session, runway), kept);
  ASSERT_EQ(dialog.requests.size(), 1u);
  EXPECT_EQ(dialog.requests[0].kind, NavaidKind::Airport);
  EXPECT_EQ(dialog.requests[0].row, 1);
  EXPECT_EQ(session.keepAlwaysOutcome, DuplicateOutcome::KeepExisting);
  runway.lengthFt = 12000;
  EXPECT_EQ(scanner::AddRunwayEntry(session, runway), kept);
  EXPECT_EQ(dialog.requests.size(), 1u);
  EXPECT_EQ(db.List(NavaidKind::Airport).Count(), 2u);
}

}  // namespace
