// The "NDB entry edition" window.
#pragma once

#include "shell/skat/entry_editor_dialog.h"

class NdbEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  NdbEditor(MainWindow& window, std::optional<size_t> row);
};
