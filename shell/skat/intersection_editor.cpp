#include "shell/skat/intersection_editor.h"

using shell::CoordinateAxis;
using shell::EditorBox;

IntersectionEditor::IntersectionEditor(MainWindow& window, std::optional<size_t> row)
    : EntryEditorDialog(window, navdb::NavaidKind::Intersection, row) {
  addIdentityRows("ID :", "Comment :");
  addWideRow(makeText("Enter either DMS or DM values"));
  addCoordinateRow("Latitude :", CoordinateAxis::Latitude, true);
  addCoordinateRow("Longitude :", CoordinateAxis::Longitude, true);
  addRow("Altitude (ft) :", {makeBox(EditorBox::Altitude)});
  finish();
}
