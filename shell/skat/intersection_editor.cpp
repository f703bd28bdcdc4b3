#include "shell/skat/intersection_editor.h"

using shell::CoordinateAxis;
using shell::EditorBox;

IntersectionEditor::IntersectionEditor(WindowView& window, shell::AppState& state,
                                       std::optional<size_t> row)
    : EntryEditorDialog(window, state, navdb::NavaidKind::Intersection, row) {
  addIdentityRows("ID :", "Comment :");
  addWideRow(makeText("Enter either DMS or DM values"));
  addCoordinateRow("Latitude :", CoordinateAxis::Latitude, true);
  addCoordinateRow("Longitude :", CoordinateAxis::Longitude, true);
  addRow("Altitude (ft) :", {makeBox(EditorBox::Altitude)});
  finish();
}
