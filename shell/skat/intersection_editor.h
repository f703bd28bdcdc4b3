// The "Intersection entry edition" window.
#pragma once

#include "shell/skat/entry_editor_dialog.h"

class IntersectionEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  IntersectionEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row);
};
