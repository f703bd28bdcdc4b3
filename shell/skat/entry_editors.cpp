#include "shell/skat/entry_editors.h"

#include "shell/skat/airport_editor.h"
#include "shell/skat/intersection_editor.h"
#include "shell/skat/ndb_editor.h"
#include "shell/skat/vor_editor.h"

std::unique_ptr<EntryEditorDialog> MakeEntryEditor(MainWindow& window, navdb::NavaidKind kind,
                                                   std::optional<size_t> row) {
  std::unique_ptr<EntryEditorDialog> editor;
  switch (kind) {
    case navdb::NavaidKind::Ndb:
      editor = std::make_unique<NdbEditor>(window, row);
      break;
    case navdb::NavaidKind::Vor:
      editor = std::make_unique<VorEditor>(window, row);
      break;
    case navdb::NavaidKind::Airport:
      editor = std::make_unique<AirportEditor>(window, row);
      break;
    case navdb::NavaidKind::Intersection:
      editor = std::make_unique<IntersectionEditor>(window, row);
      break;
  }
  editor->centreOnOwner();
  return editor;
}

void RunEntryEditor(MainWindow& window, navdb::NavaidKind kind, std::optional<size_t> row) {
  MakeEntryEditor(window, kind, row)->exec();
}
