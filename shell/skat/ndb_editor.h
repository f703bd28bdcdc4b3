// The "NDB entry edition" window.
#pragma once

#include "shell/skat/entry_editor_dialog.h"

class NdbEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  NdbEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row);
};
