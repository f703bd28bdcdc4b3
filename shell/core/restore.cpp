#include "shell/core/restore.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "navdb/journal_file.h"

namespace shell {

bool RestoreOriginalDatabase(navdb::Database& db, const navdb::Reporter& ui,
                             const std::function<void(bool)>& showLoading) {
  using navdb::MessageButtons;
  using navdb::MessageIcon;
  if (!navdb::CopyOriginalDatabase(db, ui)) return false;
  // The load replaces the lists: edits not saved yet go to the journal now,
  // whose replay after the restore applies them again.
  if (!db.unsavedEdits.empty()) {
    const platform::Result<navdb::JournalUpdate> journaled = navdb::JournalUnsavedEdits(db);
    if (journaled) {
      db.unsavedEdits.clear();
    } else {
      navdb::ShowMessage(
          ui, "Error",
          journaled.error().message + "\r\rThe edits not saved before the restore are lost.",
          MessageIcon::Error, MessageButtons::Ok);
    }
  }

  std::atomic<bool> loaded{false};
  std::jthread loader([&] {
    navdb::LoadDatabase(db, ui);
    loaded = true;
    loaded.notify_all();
  });
  ui.IndexInFlux(true);
  if (showLoading) {
    showLoading(true);
    loader.join();
    showLoading(false);
  }
  // The wait message comes back each time it is closed while the load runs.
  while (!showLoading) {
    navdb::ShowMessage(ui, "Please wait", "Restoring original database...",
                       MessageIcon::Information, MessageButtons::Ok);
    for (int waited = 0; waited < 25 && !loaded; ++waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (loaded) break;
  }
  if (loader.joinable()) loader.join();
  ui.IndexInFlux(false);
  navdb::ShowMessage(ui, "Information", "Original database restored.", MessageIcon::Information,
                     MessageButtons::Ok);
  return true;
}

}  // namespace shell
