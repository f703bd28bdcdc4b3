// Hand edits of entries, kept in "edits.journal" beside the database files so
// that a rebuild, a restore or a rescan can apply them again. A record is one
// change of one entry: when it was made, what was done, and the entry's line
// before and after.
//
// Text form, Windows-1252, lines ending in CR LF (a reader also takes LF or a
// bare CR), made to be read and compared by a person:
//
//   // Edit journal for Skyatlas, format 1
//
//   2026-12-08T09:14:03Z modify ndb
//   - <the entry's line before the change>
//   + <the entry's line after it>
//
// A record is its head line (the UTC time, add|modify|delete and
// ndb|vor|apt|int, one space apart), then "- " and the line before (modify,
// delete) and "+ " and the line after (add, modify), lines as the lists show
// them; blank lines between records. In a line '\' is written "\\" and a byte
// below 0x20 "\xHH", so that no record can break into more lines.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/navaid_kind.h"
#include "platform/result.h"

namespace navdb {

inline constexpr std::string_view kJournalFileName = "edits.journal";
inline constexpr std::string_view kJournalHeader = "// Edit journal for Skyatlas, format 1";

enum class JournalAction { Add, Modify, Delete };

struct JournalRecord {
  std::string timeUtc;  // "2026-12-08T09:14:03Z"
  JournalAction action = JournalAction::Modify;
  NavaidKind kind = NavaidKind::Ndb;
  std::string before;  // the entry's line before the change; empty for an add
  std::string after;   // the entry's line after the change; empty for a delete

  bool operator==(const JournalRecord&) const = default;
};

// "add", "modify", "delete"; and back.
std::string_view ActionName(JournalAction action);
std::optional<JournalAction> ActionFromName(std::string_view name);
// "ndb", "vor", "apt", "int": the kind's word in records and on the command line.
std::string_view JournalKindWord(NavaidKind kind);
std::optional<NavaidKind> KindFromJournalWord(std::string_view word);

// ISO 8601 in UTC to the second: "2026-12-08T09:14:03Z".
std::string JournalTimeText(std::chrono::system_clock::time_point time);

// A record of a change made now.
JournalRecord MakeJournalRecord(JournalAction action, NavaidKind kind, std::string before,
                                std::string after);

// Whether a list line comes back whole from its database file and from a
// record: the kind's length, a space at every separator column, no byte
// below 0x20.
bool IsStorableLine(NavaidKind kind, std::string_view line);

// One record's text: its head line, its lines and a blank line.
std::string EncodeJournalRecord(const JournalRecord& record);
// The whole file: the header line, a blank line and every record.
std::string EncodeJournal(std::span<const JournalRecord> records);

// Where a journal stops being readable, and what follows from there.
struct JournalDamage {
  size_t lineNumber = 0;  // the first line of the damaged rest, from 1
  std::string reason;     // what is wrong, and on which line
  std::string rest;       // the bytes from that line to the end, as they were
};

struct JournalContents {
  std::vector<JournalRecord> records;   // every whole record before any damage
  std::optional<JournalDamage> damage;  // nothing when the journal is whole
};

// Reads a journal's bytes up to the first record that is not whole: an
// unknown head, a line missing or of the wrong layout, a bad escape. Empty
// bytes are an empty journal. Fails when the first line is not the header of
// this format: such a file is not read, nor ever written over.
platform::Result<JournalContents> DecodeJournal(std::string_view bytes);

}  // namespace navdb
