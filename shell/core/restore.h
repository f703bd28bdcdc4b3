// The "Restore original DB" command as both front ends run it.
#pragma once

#include <functional>

#include "navdb/database.h"
#include "navdb/reporter.h"

namespace shell {

// After the user's Yes the reference copies replace the working files as one
// set; then the database is loaded again on a second thread while a modal
// "Please wait" box keeps the user out. Returns false when the user said No
// or when the copies could not be made (the working files are then left as
// they were and nothing is loaded). Edits not saved yet are written to the
// edit journal before the load, for the replay that follows the restore.
// `showLoading` (true, then false once the load has ended) lets a front end
// show its own progress instead; without it the "Please wait" box comes back
// each time it is closed until the load has ended.
bool RestoreOriginalDatabase(navdb::Database& db, const navdb::Reporter& ui,
                             const std::function<void(bool loading)>& showLoading = {});

}  // namespace shell
