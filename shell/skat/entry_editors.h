// The entry editor of each kind, as a double click on a list line opens it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "navdb/navaid_kind.h"

namespace shell {
struct AppState;
}
class EntryEditorDialog;
class WindowView;

// The editor of `kind` on `row` of the window's list (none or the
// placeholder: empty boxes), built and centred but not shown.
std::unique_ptr<EntryEditorDialog> MakeEntryEditor(WindowView& window, shell::AppState& state,
                                                   navdb::NavaidKind kind,
                                                   std::optional<size_t> row);

// Runs the editor modally; returns when it closes.
void RunEntryEditor(WindowView& window, shell::AppState& state, navdb::NavaidKind kind,
                    std::optional<size_t> row);
