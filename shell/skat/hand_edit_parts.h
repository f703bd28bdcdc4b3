// What the two windows of hand edits share, the "Hand edits" view and the
// dialog of hand edits not replayed: the words for actions and kinds, the
// box an entry line is shown in, and their place over the main window.
#pragma once

#include <QString>

#include "navdb/edit_journal.h"
#include "navdb/navaid_kind.h"

class QFont;
class QLabel;
class QWidget;

// "Modify", "Delete", "Add".
QString ActionCaption(navdb::JournalAction action);
// "NDB", "VOR", "Runway", "Intersection".
QString KindCaption(navdb::NavaidKind kind);

// A sunken, selectable one-line box wide enough for the longest entry line
// in `listFont`.
QLabel* MakeLineBox(QWidget* parent, const QFont& listFont);

// Sizes `dialog` to what its layout holds.
void FitToContents(QWidget& dialog);
// Moves `dialog` to the centre of `owner`.
void CentreOnOwner(QWidget& dialog, const QWidget& owner);
