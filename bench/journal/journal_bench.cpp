// The replay of an edit journal of 10,000 hand edits onto the real-world
// database, against making the same changes directly in the same run: the
// replay reads and checks the journal, finds each entry again by its line
// and keeps its account of what changed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "shell/core/entry_search.h"
#include "shell/core/journal_replay.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"

namespace {

using navdb::JournalAction;
using navdb::JournalRecord;
using navdb::NavaidKind;

constexpr size_t kRecords = 10000;
constexpr size_t kDeletes = 1000;
constexpr size_t kAdds = 1000;

struct Fixture {
  navdb::Database db;
  testing_support::TempFolder folder;
  std::vector<JournalRecord> records;
};

// The line with its last digit changed: another version of the same entry.
std::string Edited(std::string line) {
  char& last = line.back();
  last = last == '9' ? '0' : static_cast<char>(last + 1);
  return line;
}

// A new entry of its own identifier, made from an existing line.
std::string NewEntry(std::string line, size_t number) {
  char id[6];
  std::snprintf(id, sizeof id, "Q%04zu", number);
  line.replace(0, 5, id);
  return line;
}

std::vector<JournalRecord> MakeRecords(const navdb::Database& db) {
  std::vector<std::pair<NavaidKind, std::string>> lines;
  for (const NavaidKind kind : navdb::kAllKinds) {
    db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(kind, line); });
  }
  std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
  std::vector<JournalRecord> records;
  const std::string time = "2026-12-08T12:00:00Z";
  for (size_t i = 0; i < kRecords - kAdds; ++i) {
    const auto& [kind, line] = lines[i];
    if (i < kDeletes) {
      records.push_back({time, JournalAction::Delete, kind, line, ""});
    } else {
      records.push_back({time, JournalAction::Modify, kind, line, Edited(line)});
    }
  }
  // The intersection list is full: new entries go to the other lists.
  for (size_t i = 0, added = 0; added < kAdds; ++i) {
    const auto& [kind, line] = lines[kRecords + i];
    if (kind == NavaidKind::Intersection) continue;
    records.push_back({time, JournalAction::Add, kind, "", NewEntry(line, added++)});
  }
  std::shuffle(records.begin(), records.end(), std::mt19937(11));
  return records;
}

Fixture& Shared() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    const platform::Status built = navdata_tools::BuildRealWorldDatabase(f->db);
    if (!built) {
      std::fprintf(stderr, "cannot read the real-world navdata: %s\n",
                   built.error().message.c_str());
      std::exit(1);
    }
    f->db.folder = f->folder.path();
    f->records = MakeRecords(f->db);
    f->folder.Write(navdb::kJournalFileName, navdb::EncodeJournal(f->records));
    return f;
  }();
  return *fixture;
}

// The changes made directly: each line found by its prefix and replaced.
void ApplyDirectly_Baseline(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    navdb::Database db = f.db;
    state.ResumeTiming();
    for (const JournalRecord& record : f.records) {
      navdb::EntryList& list = db.List(record.kind);
      if (record.action != JournalAction::Add) {
        if (const std::optional<size_t> row = shell::RowOfLine(list, record.before)) {
          list.DeleteLine(*row);
        }
      }
      if (record.action != JournalAction::Delete) list.AddLine(record.after);
    }
    benchmark::DoNotOptimize(db.lists[0].Count());
  }
}

// The journal file read and replayed onto the same lists.
void ReplayJournal(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    navdb::Database db = f.db;
    state.ResumeTiming();
    const platform::Result<shell::JournalReplay> replay = shell::ReplayJournalFile(db, {});
    if (!replay || replay->report.appliedRecords != kRecords) {
      state.SkipWithError("the replay did not apply every record");
      return;
    }
  }
}

BENCHMARK(ApplyDirectly_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplayJournal)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(argc, argv,
                                      {{"ReplayJournal", "ApplyDirectly_Baseline", 2.0}});
}
