#include "shell/skat/ndb_editor.h"

using shell::CoordinateAxis;
using shell::EditorBox;

NdbEditor::NdbEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row)
    : EntryEditorDialog(window, state, navdb::NavaidKind::Ndb, row) {
  addIdentityRows("ID :", "Name :");
  addRow("Freq :", {makeBox(EditorBox::FrequencyInteger), makeText("."),
                    makeBox(EditorBox::FrequencyDecimals), makeText("kHz")});
  addCoordinateRow("Latitude :", CoordinateAxis::Latitude, false);
  addCoordinateRow("Longitude :", CoordinateAxis::Longitude, false);
  addRow("Altitude (ft) :", {makeBox(EditorBox::Altitude)});
  addRow("Range (nm) :", {makeBox(EditorBox::Range)});
  finish();
}
