#include "scanner/bgl_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "navdb/entry_lines.h"
#include "scanner/image_reader.h"
#include "scanner/merge.h"
#include "tests/support/recording_ui.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;
using scenery_writer::BglAirport;
using scenery_writer::BglNdb;
using scenery_writer::BglRunway;
using scenery_writer::BglScenery;
using scenery_writer::BglVor;

struct Scan {
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};

  scanner::ImageResult Run(const std::vector<uint8_t>& image) {
    return scanner::ScanBglImage(session, image);
  }
  std::vector<std::string> Lines(NavaidKind kind) const {
    std::vector<std::string> lines;
    db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
    return lines;
  }
};

BglNdb Ndb(std::string identifier, std::string name, double latitudeDeg, double longitudeDeg) {
  BglNdb ndb;
  ndb.identifier = std::move(identifier);
  ndb.name = std::move(name);
  ndb.latitude24 = scenery_writer::Latitude24(latitudeDeg);
  ndb.longitude24 = scenery_writer::Longitude24(longitudeDeg);
  return ndb;
}

TEST(BglDecoder, FieldConverters) {
  EXPECT_EQ(scanner::NdbFrequencyText(0x52, 0x03, 0x05), "352.5");
  EXPECT_EQ(scanner::NdbFrequencyText(0x00, 0x00, 0x00), "000.0");
  EXPECT_EQ(scanner::NdbFrequencyText(0x15, 0x10, 0x0C), "115.C");  // only the first digit of +2
  EXPECT_EQ(scanner::AtisFrequencyText(0x05, 0x18, 0x01), "118.05");
  EXPECT_EQ(scanner::AtisFrequencyText(0x95, 0x36, 0x01), "136.95");
}

TEST(BglDecoder, ImageTextsStopAtNulAndBlankControlBytes) {
  const std::vector<uint8_t> image = {'A', 0x01, 'B', 0x1F, 0x20, 0xE9, 0x7F, 0, 'C', 'D'};
  scanner::ImageReader reader(image);
  EXPECT_EQ(reader.Text(0, 10), "A B  \xE9\x7F");
  EXPECT_EQ(reader.Text(0, 3), "A B");
  EXPECT_EQ(reader.Text(8, 2), "CD");  // no NUL within the width
  EXPECT_EQ(reader.Text(7, 3), "");
  EXPECT_EQ(reader.Text(10, 0), "");
  EXPECT_FALSE(reader.overrun());
  EXPECT_EQ(reader.Text(8, 3), "");  // past the end: nothing, and an overrun
  EXPECT_TRUE(reader.overrun());
}

TEST(BglDecoder, FrequencyTextsAgreeWithPrintfForEveryByte) {
  const auto hex = [](unsigned value, const char* format) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return std::string(text);
  };
  for (unsigned hundreds = 0; hundreds < 256; hundreds += 15) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      const std::string first = hex(hundreds, "%X").substr(0, 1);
      const auto b = static_cast<uint8_t>(byte), h = static_cast<uint8_t>(hundreds);
      ASSERT_EQ(scanner::NdbFrequencyText(b, h, b),
                first + hex(byte, "%02X") + "." + hex(byte, "%X"));
      ASSERT_EQ(scanner::AtisFrequencyText(b, b, h),
                first + hex(byte, "%02X") + "." + hex(byte, "%02X"));
    }
  }
}

TEST(BglDecoder, NdbRecordsBecomeLines) {
  BglScenery scenery;
  scenery.ndbs.push_back(Ndb("AB", "ALPHA", 48.8566667, -0.5));
  scenery.ndbs.back().altitudeM = -3001;  // far below the sea: altitude 0
  scenery.ndbs.push_back(Ndb("ZERO", "NO FREQUENCY", 1, 1));
  scenery.ndbs.back().tensUnits = scenery.ndbs.back().hundreds = scenery.ndbs.back().tenths = 0;
  scenery.ndbs.push_back(Ndb("SP", "     BLANK NAME", 1, 1));
  scenery.ndbs.push_back(Ndb("CD", "CHARLIE", -33.5, 151.25));
  scenery.ndbs.back().altitudeM = 30;
  scenery.ndbs.back().rangeUnits = 25;
  scenery.ndbs.push_back(Ndb("EF", "ECHO", 10, 20));  // second run of the table
  Scan scan;
  ASSERT_EQ(scan.Run(scenery_writer::WriteBglImage(scenery)), scanner::ImageResult::Done);
  const std::vector<std::string> lines = scan.Lines(NavaidKind::Ndb);
  ASSERT_EQ(lines.size(), 3u);
  const auto expected = [](const BglNdb& ndb, int16_t elevationM, int16_t rangeNm) {
    return scanner::ScannedNdbLine(
        {ndb.identifier, ndb.name, "352.5", ndb.latitude24 * scanner::kLatitude24Deg,
         ndb.longitude24 * scanner::kLongitude24Deg, elevationM, rangeNm});
  };
  EXPECT_EQ(lines[0], expected(scenery.ndbs[0], 0, 11));
  EXPECT_EQ(lines[0].substr(33, 21),
            "352.5  N48\xB0"
            "51'23.98  ");
  EXPECT_EQ(lines[1], expected(scenery.ndbs[3], 30, 27));  // 25 x 2048 / 1852 = 27.6
  EXPECT_EQ(lines[1].substr(69), "00098  027");
  EXPECT_EQ(lines[2].substr(0, 7), "EF     ");
  EXPECT_TRUE(scan.recording.messages.empty());
}

BglVor Vor(int channel, uint8_t type, uint8_t flags, std::string identifier) {
  BglVor vor;
  vor.channel = channel;
  vor.type = type;
  vor.flags = flags;
  vor.identifier = std::move(identifier);
  vor.name = "STATION " + vor.identifier;
  vor.latitude24 = scenery_writer::Latitude24(45.5);
  vor.longitude24 = scenery_writer::Longitude24(7.25);
  vor.rangeUnits = 100;
  vor.magneticVariation16 = scenery_writer::Angle16(-2.34);
  vor.altitudeM = 500;
  return vor;
}

TEST(BglDecoder, VorChannelsSubTablesAndRecordTypes) {
  BglScenery scenery;
  scenery.vors.push_back(Vor(117, 4, scanner::kVorFlagDme, "VOR"));  // 113.85 MHz
  BglVor ils = Vor(58, 5, scanner::kVorFlagIls | scanner::kVorFlagGlideSlope, "ILS");
  ils.course16 = scenery_writer::Angle16(-90);
  ils.latitude24Second = scenery_writer::Latitude24(-10.5);
  ils.longitude24Second = scenery_writer::Longitude24(-20.5);
  ils.altitudeMSecond = 12;
  scenery.vors.push_back(ils);
  scenery.vors.push_back(Vor(58, 6, 0, "NOFL"));  // type 6 without ILS flag: dropped
  scenery.vors.push_back(Vor(58, 4, 0, ""));      // no identifier: dropped
  scenery.vors.push_back(Vor(58, 4, 0, "HIGH"));
  scenery.vors.back().altitudeM = 10001;  // above 10000 m: dropped
  scenery.vors.push_back(Vor(58, 4, 0, "LOW"));
  scenery.vors.back().altitudeM = -3000;  // kept
  Scan scan;
  ASSERT_EQ(scan.Run(scenery_writer::WriteBglImage(scenery)), scanner::ImageResult::Done);
  const std::vector<std::string> lines = scan.Lines(NavaidKind::Vor);
  ASSERT_EQ(lines.size(), 3u);
  // List order: ILS, LOW, VOR.
  EXPECT_EQ(lines[0].substr(0, 7), "ILS    ");
  EXPECT_EQ(lines[0].substr(33, 30), "ILS/GS           110.90  270  ");
  EXPECT_EQ(lines[0].substr(63, 12),
            "S10\xB0"
            "29'59.97");
  EXPECT_EQ(lines[0].substr(92), "00039  110  -02.3");
  EXPECT_EQ(lines[1].substr(0, 7), "LOW    ");
  EXPECT_EQ(lines[1].substr(92, 5), "-9843");
  EXPECT_EQ(lines[2].substr(33, 30), "VOR/DME          113.85       ");
}

BglAirport Airport(std::string identifier, std::vector<uint32_t> lengthsFt) {
  BglAirport airport;
  airport.identifier = std::move(identifier);
  airport.name = "FIELD " + airport.identifier;
  uint32_t number = 1;
  for (uint32_t length : lengthsFt) {
    BglRunway runway;
    runway.latitude32 = scenery_writer::Latitude32(51.5);
    runway.longitude32 = scenery_writer::Angle32(-0.25);
    runway.elevation = 100 * 65535 + 65534;  // 100.99 m: 100 m
    runway.heading32 = scenery_writer::Angle32(-90);
    runway.lengthFt = length;
    runway.widthFt = 148;
    runway.designatorKind = number;
    runway.number = 27;
    airport.runways.push_back(runway);
    ++number;
  }
  return airport;
}

TEST(BglDecoder, AirportsRunwaysAtisAndTheLengthFilter) {
  BglScenery scenery;
  scenery.frenchChunkFirst = true;
  scenery.airports.push_back(Airport("EGLL", {12000, 3000, 2999, 9000}));
  scenery.airports.back().frequencies = {{0x00, 0x17, 0x01},
                                         {0x05, 0x37, 0x01},
                                         {0x25, 0x28, 0x01, 2},
                                         {0x75, 0x28, 0x01},
                                         {0x50, 0x30, 0x01}};
  scenery.airports.push_back(Airport("SHRT", {2000, 9000}));
  scenery.airports.push_back(Airport("", {9000}));  // no identifier record: passed over
  scenery.airports.push_back(Airport("KIND", {9000}));
  scenery.airports.back().blockKind = 2;                // not an airport block
  scenery.airports.push_back(Airport("NONE", {9000}));  // no frequency: "000.00"
  Scan scan;
  ASSERT_EQ(scan.Run(scenery_writer::WriteBglImage(scenery)), scanner::ImageResult::Done);
  const std::vector<std::string> lines = scan.Lines(NavaidKind::Airport);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "EGLL   FIELD EGLL                27L/09R  270/090  N51\xB0"
            "30'00.01  W000\xB0"
            "14'59.99  00328  12000  148  128.75");
  EXPECT_EQ(lines[1].substr(33, 9), "27R/09L  ");
  EXPECT_EQ(lines[1].substr(87), "03000  148  128.75");
  EXPECT_EQ(lines[2].substr(0, 33), "NONE   FIELD NONE                ");
  EXPECT_EQ(lines[2].substr(99), "000.00");

  // A filter of 0 lets every runway of non-negative length through.
  Scan open;
  open.session.minRunwayLengthFt = 0;
  scenery.frenchChunkFirst = false;
  ASSERT_EQ(open.Run(scenery_writer::WriteBglImage(scenery)), scanner::ImageResult::Done);
  EXPECT_EQ(open.Lines(NavaidKind::Airport).size(), 7u);
}

TEST(BglDecoder, ReadsAreBoundedByTheImage) {
  BglScenery scenery;
  scenery.ndbs.push_back(Ndb("AB", "ALPHA", 1, 1));
  scenery.ndbs.push_back(Ndb("CD", "CHARLIE", 2, 2));
  std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  image.pop_back();  // the run's terminator: the run ends exactly at the end
  {
    Scan scan;
    EXPECT_EQ(scan.Run(image), scanner::ImageResult::Done);
    EXPECT_EQ(scan.Lines(NavaidKind::Ndb).size(), 2u);
  }
  image.pop_back();  // now the second record is cut short
  {
    Scan scan;
    EXPECT_EQ(scan.Run(image), scanner::ImageResult::Unreadable);
    EXPECT_EQ(scan.Lines(NavaidKind::Ndb).size(), 1u);  // what came before stays
  }
  // A VOR channel table that runs past the end is unreadable too.
  std::vector<uint8_t> header(128, 0);
  const uint32_t section = 100;
  std::memcpy(header.data() + 18, &section, 4);
  const int16_t last = 50;
  std::memcpy(header.data() + 24, &last, 2);
  Scan scan;
  EXPECT_EQ(scan.Run(header), scanner::ImageResult::Unreadable);
  // Section offsets past the end count as none; a tiny image has no header at all.
  const uint32_t far = 4096;
  std::memcpy(header.data() + 18, &far, 4);
  EXPECT_EQ(scan.Run(header), scanner::ImageResult::Done);
  EXPECT_EQ(scan.Run(std::vector<uint8_t>(3, 0x15)), scanner::ImageResult::Done);
}

TEST(BglDecoder, RefusedEntriesAndAbortedScans) {
  BglScenery scenery;
  for (const char* id : {"A1", "A2", "A3"}) scenery.ndbs.push_back(Ndb(id, "NAME", 1, 1));
  scenery.vors.push_back(Vor(10, 4, 0, "V1"));
  const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  Scan scan;
  scan.db.lists[navdb::IndexOf(NavaidKind::Ndb)] = navdb::EntryList(1);
  scan.recording.QueueAnswers({navdb::MessageAnswer::Retry, navdb::MessageAnswer::Cancel});
  EXPECT_EQ(scan.Run(image), scanner::ImageResult::Done);
  ASSERT_EQ(scan.recording.messages.size(), 2u);
  EXPECT_EQ(scan.recording.messages[0].caption, "Error");
  EXPECT_EQ(scan.recording.messages[0].text,
            "Can't add entry to NDB list.\r\rA list holds at most 100,000 entries.");
  EXPECT_EQ(scan.session.refusedEntries, 2u);  // a refusal, whatever the answer
  EXPECT_EQ(scan.recording.messages[0].buttons, navdb::MessageButtons::RetryCancel);
  EXPECT_EQ(scan.recording.messages[0].icon, navdb::MessageIcon::Error);
  EXPECT_TRUE(scan.Lines(NavaidKind::Vor).empty());  // Cancel ended the file

  Scan abort;
  abort.db.List(NavaidKind::Ndb)
      .AddLine(scanner::ScannedNdbLine(
          {"A1", "NAME", "352.5", scenery.ndbs[0].latitude24 * scanner::kLatitude24Deg,
           scenery.ndbs[0].longitude24 * scanner::kLongitude24Deg, 0, 1}));
  abort.recording.duplicateAnswer = [](const scanner::DuplicateRequest&) {
    return scanner::DuplicateAnswer{scanner::DuplicateOutcome::AbortScan, false};
  };
  EXPECT_EQ(abort.Run(image), scanner::ImageResult::StopScan);
  EXPECT_EQ(abort.Lines(NavaidKind::Ndb).size(), 1u);
}

}  // namespace
