// The entry commands of the menus and of the lists' context menu: Edit,
// Add and Delete on the list of the current tab, and the keyboard's pick of
// a waypoint. Each goes the way the double click and the entry editors go,
// so the questions, the journal notes and the refreshed lists are the same.
#pragma once

#include <optional>

#include "navdb/navaid_kind.h"

class MainWindow;

// The selected line of the current tab's list, if any.
std::optional<int> SelectedRow(const MainWindow& window);

// "Edit entry": the editor of the selected line, as a double click opens
// it. Without a selected line it only beeps.
void EditSelectedEntry(MainWindow& window);
// "Add entry": the current kind's editor with empty boxes, whose "Add"
// inserts what the user types.
void AddEntryOfCurrentKind(MainWindow& window);
// "Delete entry": asks the editor's question over the main window (No is
// the default) and deletes the selected line on Yes; the line that takes
// its place is selected, so that the next one can follow. Without a
// selected line (or on the placeholder) it only beeps.
void DeleteSelectedEntry(MainWindow& window);

// Enter during a waypoint pick: the selected line of the current tab is
// picked as a double click picks it. True when a pick was waiting (the key
// is used up, picked or, with nothing selected, beeped at).
bool PickSelectedWaypoint(MainWindow& window);
