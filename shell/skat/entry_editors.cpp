#include "shell/skat/entry_editors.h"

#include "shell/skat/airport_editor.h"
#include "shell/skat/intersection_editor.h"
#include "shell/skat/ndb_editor.h"
#include "shell/skat/vor_editor.h"

std::unique_ptr<EntryEditorDialog> MakeEntryEditor(WindowView& window, shell::AppState& state,
                                                   navdb::NavaidKind kind,
                                                   std::optional<size_t> row) {
  std::unique_ptr<EntryEditorDialog> editor;
  switch (kind) {
    case navdb::NavaidKind::Ndb:
      editor = std::make_unique<NdbEditor>(window, state, row);
      break;
    case navdb::NavaidKind::Vor:
      editor = std::make_unique<VorEditor>(window, state, row);
      break;
    case navdb::NavaidKind::Airport:
      editor = std::make_unique<AirportEditor>(window, state, row);
      break;
    case navdb::NavaidKind::Intersection:
      editor = std::make_unique<IntersectionEditor>(window, state, row);
      break;
  }
  editor->centreOnOwner();
  return editor;
}

void RunEntryEditor(WindowView& window, shell::AppState& state, navdb::NavaidKind kind,
                    std::optional<size_t> row) {
  MakeEntryEditor(window, state, kind, row)->exec();
}
