#include "scanner/bgl_decoder.h"

#include <algorithm>
#include <array>

#include "navdb/database.h"
#include "navdb/reporter.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "scanner/decode_budget.h"
#include "scanner/image_reader.h"
#include "scanner/merge.h"

namespace scanner {
namespace {

static_assert(kMostLinesOfOneKind == navdb::kMaxEntryRows);

enum class Flow { Continue, EndAirport, EndFile, StopScan, Unreadable };

constexpr int16_t kLowestNdbElevationM = -3000;
constexpr int kLowestVorElevationM = -3000;
constexpr int kHighestVorElevationM = 10000;
constexpr double kLowestAtisMhz = 118.0;
constexpr double kHighestAtisMhz = 136.95;

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Appends printf's "%X" of `byte` (at least `minDigits` digits, 1 or 2).
void AppendHex(std::string& text, uint8_t byte, int minDigits) {
  if (byte >= 16 || minDigits >= 2) text += kHexDigits[byte >> 4];
  text += kHexDigits[byte & 15];
}

// The first character of printf's "%X" of `byte`.
char FirstHexDigit(uint8_t byte) {
  return kHexDigits[byte >= 16 ? byte >> 4 : byte];
}

int16_t RangeNm(uint8_t rangeUnits) {
  return static_cast<int16_t>(rangeUnits * kRangeUnitMetres / kMetresPerNm);
}

class ImageDecoder {
 public:
  ImageDecoder(std::span<const uint8_t> image, unsigned minRunwayLengthFt, DecodedImage& out)
      : reader_(image), budget_(image.size()), minRunwayLengthFt_(minRunwayLengthFt), out_(out) {}

  uint64_t StepsTaken() const { return budget_.StepsTaken(); }

  Flow Decode() {
    const uint64_t vorSection = SectionOffset(reader_.HeaderU32(kHeaderVorSection));
    const uint64_t ndbSection = SectionOffset(reader_.HeaderU32(kHeaderNdbSection));
    uint64_t airportSection = 0;
    if (reader_.HeaderU32(kHeaderExtendedMark) == kExtendedHeaderMark) {
      airportSection = SectionOffset(reader_.HeaderU32(kHeaderAirportSection));
    }
    Flow flow = Flow::Continue;
    if (ndbSection != 0) flow = DecodeNdbSection(ndbSection);
    if (flow == Flow::Continue && vorSection != 0) {
      flow = DecodeVorSection(vorSection, reader_.HeaderS16(kHeaderFirstChannel),
                              reader_.HeaderS16(kHeaderLastChannel));
    }
    if (flow == Flow::Continue && airportSection != 0) flow = DecodeAirportSection(airportSection);
    return flow;
  }

 private:
  uint64_t SectionOffset(uint32_t offset) const { return offset > reader_.size() ? 0 : offset; }

  Flow DecodeNdbSection(uint64_t section) {
    for (uint64_t entry = section; reader_.TagByteIs(entry, kTableEntryTag);
         entry += kTableEntrySize) {
      if (!budget_.Step()) return Flow::Unreadable;
      const uint64_t run = section + reader_.U32(entry + 5);
      if (reader_.overrun()) return Flow::Unreadable;
      for (uint64_t record = run; reader_.TagByteIs(record, 4); record += kNdbRecordSize) {
        if (!budget_.Step()) return Flow::Unreadable;
        // A record met again: the rest of its run was decoded from it then.
        if (!budget_.FirstVisit(record)) break;
        const Flow flow = DecodeNdb(record);
        if (flow != Flow::Continue) return flow;
      }
    }
    return Flow::Continue;
  }

  Flow DecodeNdb(uint64_t record) {
    const std::string frequency =
        NdbFrequencyText(reader_.U8(record + 1), reader_.U8(record + 2), reader_.U8(record + 3));
    ScannedNdb ndb;
    ndb.latitudeDeg = reader_.ReadSigned24(record + 4) * kLatitude24Deg;
    ndb.longitudeDeg = reader_.ReadSigned24(record + 7) * kLongitude24Deg;
    ndb.elevationM = reader_.S16(record + 10);
    if (ndb.elevationM < kLowestNdbElevationM) ndb.elevationM = 0;
    const uint8_t rangeUnits = reader_.U8(record + 12);
    const std::string identifier = reader_.Text(record + 13, 5);
    const std::string name = reader_.Text(record + 18, 24);
    if (reader_.overrun()) return Flow::Unreadable;
    if (name.starts_with("     ") || frequency == "000.0") return Flow::Continue;
    ndb.identifier = identifier;
    ndb.name = name;
    ndb.frequencyText = frequency;
    ndb.rangeNm = RangeNm(rangeUnits);
    return Add(navdb::NavaidKind::Ndb, ScannedNdbLine(ndb));
  }

  Flow DecodeVorSection(uint64_t section, int firstChannel, int lastChannel) {
    for (int channel = firstChannel; channel <= lastChannel; ++channel) {
      if (!budget_.Step()) return Flow::Unreadable;
      const uint64_t entry =
          section + static_cast<uint64_t>(channel - firstChannel) * kChannelEntrySize;
      const uint8_t used = reader_.U8(entry);
      const uint32_t subTable = reader_.U32(entry + 1);
      if (reader_.overrun()) return Flow::Unreadable;
      if (used != 1 || subTable == 0) continue;
      const double frequencyMhz = channel * 0.05 + 108.0;
      for (uint64_t sub = section + subTable; reader_.TagByteIs(sub, kTableEntryTag);
           sub += kTableEntrySize) {
        if (!budget_.Step()) return Flow::Unreadable;
        // Channels sharing a sub-table: its rest was walked the first time.
        if (!budget_.FirstVisit(sub)) break;
        const uint64_t run = section + reader_.U32(sub + 5);
        if (reader_.overrun()) return Flow::Unreadable;
        const Flow flow = DecodeVorRun(run, frequencyMhz);
        if (flow != Flow::Continue) return flow;
      }
    }
    return Flow::Continue;
  }

  Flow DecodeVorRun(uint64_t record, double frequencyMhz) {
    for (;;) {
      const bool shortRecord = reader_.TagByteIs(record, 4);
      if (!shortRecord && !reader_.TagByteIs(record, 5) && !reader_.TagByteIs(record, 6)) {
        return Flow::Continue;
      }
      if (!budget_.Step()) return Flow::Unreadable;
      if (!budget_.FirstVisit(record)) return Flow::Continue;
      const Flow flow = DecodeVor(record, shortRecord, frequencyMhz);
      if (flow != Flow::Continue) return flow;
      record += shortRecord ? kVorRecordSize : kIlsRecordSize;
    }
  }

  Flow DecodeVor(uint64_t record, bool shortRecord, double frequencyMhz) {
    ScannedVor vor;
    vor.frequencyMhz = frequencyMhz;
    const uint8_t rangeUnits = reader_.U8(record + 1);
    vor.magneticVariationDeg = reader_.S16(record + 2) * kAngle16Deg;
    vor.flags = reader_.U8(record + 4);
    int32_t latitude = reader_.ReadSigned24(record + 5);
    int32_t longitude = reader_.ReadSigned24(record + 8);
    vor.elevationM = reader_.S16(record + 11);
    const std::string identifier = reader_.Text(record + 15, 5);
    const std::string name = reader_.Text(record + 20, 24);
    if (!shortRecord) {
      vor.courseDeg = reader_.S16(record + 13) * kAngle16Deg;
      latitude = reader_.ReadSigned24(record + 44);
      longitude = reader_.ReadSigned24(record + 47);
      vor.elevationM = reader_.S16(record + 50);
    }
    if (reader_.overrun()) return Flow::Unreadable;
    if (!shortRecord && !(vor.flags & kVorFlagIls)) return Flow::Continue;
    if (vor.elevationM < kLowestVorElevationM || vor.elevationM > kHighestVorElevationM ||
        identifier.empty()) {
      return Flow::Continue;
    }
    vor.identifier = identifier;
    vor.name = name;
    vor.rangeNm = RangeNm(rangeUnits);
    vor.latitudeDeg = latitude * kLatitude24Deg;
    vor.longitudeDeg = longitude * kLongitude24Deg;
    return Add(navdb::NavaidKind::Vor, ScannedVorLine(vor));
  }

  // The language chunk in English, else the first one.
  uint64_t ChooseLanguageChunk(uint64_t section) {
    for (uint64_t chunk = section; reader_.TagU32Is(chunk, kLanguageChunkTag);) {
      if (!budget_.Step()) return 0;
      const uint32_t length = reader_.U32(chunk + 4);
      const uint32_t language = reader_.U32(chunk + 8);
      if (reader_.overrun()) return 0;
      if (language == kEnglishLanguage) return chunk;
      chunk += uint64_t{length} + 8;
    }
    return section;
  }

  Flow DecodeAirportSection(uint64_t section) {
    const uint64_t chunk = ChooseLanguageChunk(section);
    if (reader_.overrun() || chunk == 0) return Flow::Unreadable;
    for (uint64_t entry = chunk + 24; reader_.TagU32Is(entry, kAirportEntryTag);) {
      if (!budget_.Step()) return Flow::Unreadable;
      const uint32_t length = reader_.U32(entry + 4);
      const uint32_t kind = reader_.U32(entry + 8);
      if (reader_.overrun()) return Flow::Unreadable;
      if (kind == kAirportEntryKind) {
        const Flow flow = DecodeAirport(entry);
        if (flow != Flow::Continue) return flow;
      }
      entry += uint64_t{length} + 8;
    }
    return Flow::Continue;
  }

  // Walks the records of the data block at `block` from its first record,
  // calling visit(record, tag) until it returns false or the block ends.
  // False when the walk went past the image's budget.
  template <class Visit>
  bool WalkBlock(uint64_t block, uint64_t blockEnd, Visit&& visit) {
    for (uint64_t record = block + 16; record < blockEnd;) {
      if (!reader_.Contains(record, 4)) return true;  // the tag ends the walk
      if (!budget_.Step()) return false;
      const uint32_t tag = reader_.U32(record);
      const uint32_t length = reader_.U32(record + 4);
      if (reader_.overrun() || !visit(record, tag)) return true;
      record += uint64_t{length} + 8;
    }
    return true;
  }

  Flow DecodeAirport(uint64_t entry) {
    const uint64_t block = reader_.U32(entry + 12);
    const std::string name = platform::Fitted(reader_.Text(entry + 16, 24), 24);
    const uint64_t blockEnd = block + reader_.U32(block + 4);
    const uint32_t blockKind = reader_.U32(block + 8);
    if (reader_.overrun()) return Flow::Unreadable;
    if (blockKind != 1) return Flow::Continue;
    // Airports sharing a data block: its runways were taken the first time.
    if (!budget_.FirstVisit(block)) return Flow::Continue;

    std::optional<std::string> identifier;
    const bool walked = WalkBlock(block, blockEnd, [&](uint64_t record, uint32_t tag) {
      if (tag != kIdentifierRecord) return true;
      identifier = platform::Fitted(reader_.Text(record + 8, 5), 5);
      return false;
    });
    if (!walked || reader_.overrun()) return Flow::Unreadable;
    if (!identifier) return Flow::Continue;  // an airport without identifier is passed over

    std::string atis = "000.00";
    const bool walkedAtis = WalkBlock(block, blockEnd, [&](uint64_t record, uint32_t tag) {
      if (tag != kFrequencyRecord || reader_.U32(record + 12) != 1) return true;
      const std::string text = AtisFrequencyText(reader_.U8(record + 9), reader_.U8(record + 10),
                                                 reader_.U8(record + 11));
      const double mhz = platform::ReadDouble(text);
      if (reader_.overrun()) return false;
      if (mhz >= kLowestAtisMhz && mhz <= kHighestAtisMhz) {
        atis = text;
        return false;
      }
      return true;
    });
    if (!walkedAtis || reader_.overrun()) return Flow::Unreadable;

    Flow flow = Flow::Continue;
    const bool walkedRunways = WalkBlock(block, blockEnd, [&](uint64_t record, uint32_t tag) {
      if (tag != kRunwayRecord) return true;
      flow = DecodeRunway(record, *identifier, name, atis);
      return flow == Flow::Continue;
    });
    if (!walkedRunways || reader_.overrun()) return Flow::Unreadable;
    // A runway below the length filter ends its airport, not the file.
    return flow == Flow::EndAirport ? Flow::Continue : flow;
  }

  Flow DecodeRunway(uint64_t record, const std::string& identifier, const std::string& name,
                    const std::string& atis) {
    ScannedRunway runway;
    runway.latitudeDeg = reader_.S32(record + 12) * kLatitude32Deg;
    runway.longitudeDeg = reader_.S32(record + 20) * kAngle32Deg;
    runway.elevationM = reader_.S32(record + 26) / 65535;
    runway.headingDeg = reader_.S32(record + 32) * kAngle32Deg;
    runway.lengthFt = static_cast<int16_t>(reader_.U32(record + 40) & 0xFFFF);
    runway.widthFt = static_cast<long>(reader_.U32(record + 44) & 0xFFFF);
    runway.designator = RunwayDesignatorOfCode(reader_.U32(record + 48));
    runway.number = static_cast<int>(reader_.U32(record + 52));
    if (reader_.overrun()) return Flow::Unreadable;
    if (runway.lengthFt < static_cast<long>(minRunwayLengthFt_)) return Flow::EndAirport;
    runway.identifier = identifier;
    runway.name = name;
    runway.atisText = atis;
    return Add(navdb::NavaidKind::Airport, ScannedRunwayLine(runway));
  }

  Flow Add(navdb::NavaidKind kind, std::string_view line) {
    if (!budget_.Line(navdb::IndexOf(kind))) return Flow::Unreadable;
    out_.Add(kind, line);
    return Flow::Continue;
  }

  ImageReader reader_;
  DecodeBudget budget_;
  unsigned minRunwayLengthFt_;
  DecodedImage& out_;
};

std::string_view ListName(navdb::NavaidKind kind) {
  switch (kind) {
    case navdb::NavaidKind::Ndb:
      return "NDB";
    case navdb::NavaidKind::Vor:
      return "VOR";
    default:
      return "Airport";
  }
}

// What a merge result means for the rest of the image.
Flow AfterMerge(ScanSession& session, const MergeResult& result, navdb::NavaidKind kind) {
  if (result.status == MergeStatus::Aborted) return Flow::StopScan;
  if (result.status != MergeStatus::Refused) return Flow::Continue;
  ++session.refusedEntries;
  FlushMergeNotices(session);
  const navdb::MessageAnswer answer =
      navdb::ShowMessage(session.ui, "Error", ListFullText(ListName(kind)),
                         navdb::MessageIcon::Error, navdb::MessageButtons::RetryCancel);
  return answer == navdb::MessageAnswer::Retry ? Flow::Continue : Flow::EndFile;
}

// The lines of one image that did not have their layout, told once the
// image is merged: one message a file, not one a line.
struct MalformedLines {
  size_t count = 0;
  std::string firstProblem;
  std::array<bool, navdb::kAllKinds.size()> kinds{};
};

void TellMalformedLines(ScanSession& session, std::string_view source,
                        const MalformedLines& malformed) {
  if (malformed.count == 0) return;
  std::string files;
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    if (!malformed.kinds[navdb::IndexOf(kind)]) continue;
    if (!files.empty()) files += " and ";
    files += navdb::RejectedFileName(navdb::InfoOf(kind).fileName);
  }
  FlushMergeNotices(session);
  navdb::ShowMessage(
      session.ui, "Warning",
      "The BGL file \"" + std::string(source) + "\" holds " + std::to_string(malformed.count) +
          " navaid(s) whose line would not have its layout (the first: " + malformed.firstProblem +
          ").\rThey are kept in " + files + " when the database is saved.",
      navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
}

}  // namespace

std::string NdbFrequencyText(uint8_t tensUnits, uint8_t hundreds, uint8_t tenths) {
  // The tens and units are written from the second character on.
  std::string text(1, FirstHexDigit(hundreds));
  AppendHex(text, tensUnits, 2);
  text += '.';
  AppendHex(text, tenths, 1);
  return text;
}

std::string AtisFrequencyText(uint8_t hundredths, uint8_t tensUnits, uint8_t hundreds) {
  std::string text(1, FirstHexDigit(hundreds));
  AppendHex(text, tensUnits, 2);
  text += '.';
  AppendHex(text, hundredths, 2);
  return text;
}

void DecodedImage::Reserve(size_t imageBytes) {
  // A record of 42 to 60 bytes gives a line of 80 to 110 characters; a large
  // image is mostly other scenery, so the guess stops at a megabyte.
  constexpr size_t kMostReserved = size_t{1} << 20;
  text_.reserve(std::min(2 * imageBytes, kMostReserved));
  lines_.reserve(std::min(imageBytes / 40, kMostReserved / 100));
}

DecodedImage DecodeBglImage(std::span<const uint8_t> image, unsigned minRunwayLengthFt) {
  DecodedImage decoded;
  decoded.Reserve(image.size());
  ImageDecoder decoder(image, minRunwayLengthFt, decoded);
  decoded.unreadable = decoder.Decode() == Flow::Unreadable;
  decoded.stepsTaken = decoder.StepsTaken();
  return decoded;
}

ImageResult MergeDecodedImage(ScanSession& session, const DecodedImage& decoded,
                              std::string_view source) {
  MalformedLines malformed;
  ImageResult result = decoded.unreadable ? ImageResult::Unreadable : ImageResult::Done;
  for (size_t i = 0; i < decoded.LineCount(); ++i) {
    const navdb::NavaidKind kind = decoded.KindOf(i);
    const std::string_view line = decoded.LineText(i);
    const MergeResult merged = MergeLine(session, kind, line);
    if (merged.status == MergeStatus::Malformed) {
      KeepRefusedLine(session, kind, source, merged.problem, line);
      ++session.malformedLines;
      if (malformed.count++ == 0) malformed.firstProblem = merged.problem;
      malformed.kinds[navdb::IndexOf(kind)] = true;
      continue;
    }
    const Flow flow = AfterMerge(session, merged, kind);
    if (flow == Flow::StopScan) {
      result = ImageResult::StopScan;
      break;
    }
    // Cancel on a refused line ends the image: what came after it is not
    // asked about, not even an unreadable end.
    if (flow == Flow::EndFile) {
      result = ImageResult::Done;
      break;
    }
  }
  TellMalformedLines(session, source, malformed);
  return result;
}

ImageResult ScanBglImage(ScanSession& session, std::span<const uint8_t> image,
                         std::string_view source) {
  return MergeDecodedImage(session, DecodeBglImage(image, session.minRunwayLengthFt), source);
}

std::string ListFullText(std::string_view listName) {
  return "Can't add entry to " + std::string(listName) + " list.\r\r" +
         std::string(navdb::kListLimitText);
}

}  // namespace scanner
