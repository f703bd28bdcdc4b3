// The logic of the four entry editors over plain field values:
// opening an editor on a line, building the line from the boxes, Validate,
// Add, Delete and Cancel, the VOR type choice and the runway designation and
// heading helpers. The editor windows hold an EditorSession, copy box texts
// into it (editor_boxes.h) and call these functions; what they ask or tell
// the user goes through navdb::Reporter.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/database.h"
#include "navdb/navaid_kind.h"
#include "navdb/reporter.h"
#include "shell/core/editor_boxes.h"

namespace shell {

// An open editor: its kind, the row it was opened on (none on the
// placeholder) and its boxes.
struct EditorSession {
  navdb::NavaidKind kind = navdb::NavaidKind::Ndb;
  std::optional<size_t> row;
  EditorFields fields;
};

// Opens the editor of `kind` on the selected row of the kind's list and
// fills its boxes from that line. The placeholder (or no valid row) gives
// row none and empty boxes.
EditorSession OpenEntryEditor(const navdb::Database& db, navdb::NavaidKind kind,
                              std::optional<size_t> selectedRow);

// The line the editor's boxes make.
// A hemisphere or VOR type with nothing chosen is written as "N"/"E" or
// "VOR", so that the columns of the layout hold.
std::string BuildEditorLine(navdb::NavaidKind kind, const EditorFields& fields);

// Whether the editor closes after a button, or stays open.
enum class EditorOutcome { Close, StayOpen };

// The fixed texts of a kind's editor messages.
struct EditorMessages {
  std::string_view deleteQuestion;
  std::string_view duplicateQuestion;
  std::string_view insertionFailure;
};
const EditorMessages& MessagesOf(navdb::NavaidKind kind);

// Characters of a new line compared with the list for the duplicate check
// on Add: identifier and name, and for runways the designation.
size_t DuplicatePrefixLength(navdb::NavaidKind kind);

// Whether a built line holds the kind's layout: its length, a space in
// every column the database file turns into a separator, and no control
// byte (a tab pasted into a name). A line that does not would come back
// from the file changed, or not at all.
bool LineFitsLayout(navdb::NavaidKind kind, std::string_view line);

// Validate, Add and Delete note what they changed in `db.unsavedEdits`,
// which the next save writes to the edit journal.

// "Validate": replaces the remembered line by the built line. A line that
// does not fit the layout changes nothing: the insertion failure is shown
// and the editor stays open.
EditorOutcome ValidateEntry(navdb::Database& db, EditorSession& session, const navdb::Reporter& ui);
// "Add": inserts the built line as a new entry, asking first when an entry
// with the same prefix exists. A line that does not fit the layout is
// refused as with Validate.
EditorOutcome AddEntry(navdb::Database& db, EditorSession& session, const navdb::Reporter& ui);
// "Delete": deletes the remembered line after asking.
EditorOutcome DeleteEntry(navdb::Database& db, EditorSession& session, const navdb::Reporter& ui);
// "Cancel": closes without change.
inline EditorOutcome CancelEntry() {
  return EditorOutcome::Close;
}

// The VOR editor's type box: sets the choice and the states of "Direction :"
// and the "DME" check box.
void ChooseVorType(EditorFields& fields, VorTypeChoice choice);

// Whether the focus may leave a box.
enum class LeaveOutcome { Leave, FocusStays };

// The user leaves "Runway :": the opposite designation is recomputed; a
// number above 18 beeps and keeps the focus in the box.
LeaveOutcome OnRunwayBoxLeft(EditorFields& fields, const navdb::Reporter& ui);
// "Mag Var :" holds two digits of whole degrees and one of tenths.
inline constexpr long kMaxVariationTenths = 999;
// The user leaves "Mag Var :": a value that rounds beyond -99.9..99.9 beeps
// and keeps the focus in the box.
LeaveOutcome OnMagneticVariationBoxLeft(const EditorFields& fields, const navdb::Reporter& ui);
// The user leaves "Hdg :": the opposite heading is recomputed; a heading
// above 180 beeps and keeps the focus in the box.
LeaveOutcome OnHeadingBoxLeft(EditorFields& fields, const navdb::Reporter& ui);

}  // namespace shell
