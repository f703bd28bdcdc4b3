#include "shell/skat/airport_editor.h"

#include <QLineEdit>

using shell::CoordinateAxis;
using shell::EditorBox;

AirportEditor::AirportEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row)
    : EntryEditorDialog(window, state, navdb::NavaidKind::Airport, row) {
  addIdentityRows("ICAO ID :", "Name :");
  QLineEdit* runway = makeBox(EditorBox::Runway);
  addRow("Runway :", {runway, makeText("/"), makeDisplayBox(EditorBox::OppositeRunway)});
  QLineEdit* heading = makeBox(EditorBox::Heading);
  addRow("Hdg :", {heading, makeText("/"), makeDisplayBox(EditorBox::OppositeHeading)});
  addWideRow(makeText("Center of runway coordinates :"));
  addCoordinateRow("Latitude :", CoordinateAxis::Latitude, false);
  addCoordinateRow("Longitude :", CoordinateAxis::Longitude, false);
  addRow("Altitude(ft) :", {makeBox(EditorBox::Altitude)});
  addRow("Length(ft) :", {makeBox(EditorBox::Length)});
  addRow("Width(ft) :", {makeBox(EditorBox::Width)});
  addRow("ATIS :", {makeBox(EditorBox::AtisInteger), makeText("."),
                    makeBox(EditorBox::AtisDecimals), makeText("MHz")});
  checkOnLeave(runway, [this] { return shell::OnRunwayBoxLeft(session_.fields, ui_); });
  checkOnLeave(heading, [this] { return shell::OnHeadingBoxLeft(session_.fields, ui_); });
  finish();
}
