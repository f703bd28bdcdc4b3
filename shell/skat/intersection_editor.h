// The "Intersection entry edition" window.
#pragma once

#include "shell/skat/entry_editor_dialog.h"

class IntersectionEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  IntersectionEditor(MainWindow& window, std::optional<size_t> row);
};
