// The "Airport entry edition" window.
#pragma once

#include "shell/skat/entry_editor_dialog.h"

class AirportEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  AirportEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row);
};
