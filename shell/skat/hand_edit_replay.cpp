#include "shell/skat/hand_edit_replay.h"

#include <string>
#include <vector>

#include "navdb/geo_index.h"
#include "navdb/journal_file.h"
#include "shell/core/app_state.h"
#include "shell/core/journal_replay.h"
#include "shell/skat/conflict_dialog.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_view.h"

namespace {

void Tell(const navdb::Reporter& ui, const char* caption, const std::string& text,
          navdb::MessageIcon icon) {
  navdb::ShowMessage(ui, caption, text, icon, navdb::MessageButtons::Ok);
}

// Replays the records, the conflicts settled as the user chose, and saves
// what changed.
void Replay(navdb::Database& db, const UiBridge& ui, WindowView& window,
            const std::vector<navdb::JournalRecord>& records) {
  const std::vector<shell::ReplayConflict> conflicts = shell::ForeseeConflicts(db, records);
  RecordChoices choices;
  if (!conflicts.empty()) {
    choices = ui.onWindowThread(
        [&] { return AskConflictChoices(window.widget(), conflicts, window.listFont()); });
  }
  const platform::Result<shell::JournalReplay> replayed =
      shell::ReplayJournalFile(db, shell::DecisionsByRecord(std::move(choices)));
  if (!replayed) {
    Tell(ui, "Error", replayed.error().message + "\r\rNo hand edit was replayed.",
         navdb::MessageIcon::Error);
    return;
  }
  if (replayed->dropFailure) {
    Tell(ui, "Error",
         replayed->dropFailure->message + "\r\rThe records to drop are still in the journal.",
         navdb::MessageIcon::Error);
  }
  if (replayed->report.listsChanged) {
    navdb::RebuildIndex(db.lists, db.index, ui);
    // A failed save has told why; the replayed lists stay marked modified,
    // so that quitting offers the save again.
    if (navdb::SaveDatabase(db, ui)) db.databaseModified = false;
  }
  Tell(ui, "Information", shell::ReplaySummaryText(replayed->report),
       navdb::MessageIcon::Information);
}

}  // namespace

void ReplayHandEditsFromWindow(shell::AppState& state, const UiBridge& ui, WindowView& window) {
  navdb::Database& db = state.db;
  // Read first on its own, so that a damaged rest is set aside and told
  // before any question about the records that were whole.
  const platform::Result<navdb::JournalUpdate> opened = navdb::OpenJournalFile(db.folder);
  if (!opened) {
    Tell(ui, "Error", opened.error().message + "\r\rNo hand edit was replayed.",
         navdb::MessageIcon::Error);
    return;
  }
  if (opened->setAside) {
    Tell(ui, "Warning", navdb::SetAsideText(*opened->setAside, opened->records.size()),
         navdb::MessageIcon::Warning);
  }
  if (opened->records.empty()) return;
  // The lists are the worker's until the replay has ended: the views show
  // copies meanwhile.
  ui.onWindowThread([&window] {
    window.setListsBusy(true);
    window.refreshBusyViews();
  });
  ui.DatabaseBusy(true);
  Replay(db, ui, window, opened->records);
  ui.DatabaseBusy(false);
}
