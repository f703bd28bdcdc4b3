#include "shell/core/restore.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace shell {

bool RestoreOriginalDatabase(navdb::Database& db, const navdb::UiCallbacks& ui,
                             const std::function<void(bool)>& showLoading) {
  using navdb::MessageButtons;
  using navdb::MessageIcon;
  if (!navdb::CopyOriginalDatabase(db, ui)) return false;

  std::atomic<bool> loaded{false};
  std::jthread loader([&] {
    navdb::LoadDatabase(db, ui);
    loaded = true;
    loaded.notify_all();
  });
  if (ui.showIndexWindow) ui.showIndexWindow(true);
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
  if (ui.showIndexWindow) ui.showIndexWindow(false);
  navdb::ShowMessage(ui, "Information", "Original database restored.", MessageIcon::Information,
                     MessageButtons::Ok);
  return true;
}

}  // namespace shell
