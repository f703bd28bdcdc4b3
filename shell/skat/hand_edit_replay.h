// The replay of the edit journal by the window, after "Rebuild database" and
// "Restore original DB": the same engine as skat-cli's, with the conflicts
// asked in one dialog instead of record by record on a terminal.
#pragma once

namespace shell {
struct AppState;
}
class UiBridge;
class WindowView;

// Worker side, once the lists were made anew: replays edits.journal onto
// `state.db` (the window holds the database lock all along). A damaged rest
// of the journal is set aside and told; the hand edits that cannot be made
// as recorded are shown together in the "Hand edits not replayed" dialog and
// settled by the user's choices; changed lists are re-indexed and saved as
// one set; the summary tells what became of every record.
void ReplayHandEditsFromWindow(shell::AppState& state, const UiBridge& ui, WindowView& window);
