#include <QAccessible>
#include <QApplication>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "tests/skat/editor_window_fixture.h"

namespace {

using navdb::NavaidKind;

// The focusable controls of `window` that a screen reader cannot tell
// apart: no name, or a name another control has too.
std::vector<std::string> UnnamedOrSharedControls(QWidget& window) {
  std::map<QString, int> names;
  std::vector<std::string> faults;
  std::set<QAccessibleInterface*> seen;
  std::set<std::pair<QString, QString>> places;  // name and screen rectangle
  std::vector<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(&window)};
  while (!pending.empty()) {
    QAccessibleInterface* node = pending.back();
    pending.pop_back();
    // A tab bar is reached both from its tab widget and as a child of its own.
    if (node == nullptr || !node->isValid() || !seen.insert(node).second) continue;
    // The lines of a list and the tabs of a tab bar are its items, named
    // by their text, not controls of their own.
    const QAccessible::Role nodeRole = node->role();
    const bool items = nodeRole == QAccessible::List || nodeRole == QAccessible::Table ||
                       nodeRole == QAccessible::Tree || nodeRole == QAccessible::PageTabList;
    for (int child = 0; child < node->childCount() && !items; ++child) {
      pending.push_back(node->child(child));
    }
    const QAccessible::State state = node->state();
    if (!state.focusable || state.invisible) continue;
    const QString name = node->text(QAccessible::Name);
    const std::string role = std::to_string(node->role());
    if (name.isEmpty()) {
      QObject* object = node->object();
      faults.push_back("no name: role " + role + " " +
                       (object ? object->metaObject()->className() + std::string(" ") +
                                     object->objectName().toStdString()
                               : std::string()));
    } else if (const QRect r = node->rect(); !places
                                                  .insert({name, QString("%1,%2,%3,%4")
                                                                     .arg(r.x())
                                                                     .arg(r.y())
                                                                     .arg(r.width())
                                                                     .arg(r.height())})
                                                  .second) {
      continue;  // the same control reached again
    } else if (++names[name] == 2) {
      faults.push_back("shared name: " + name.toStdString() + " (role " + role + ")");
    }
  }
  return faults;
}

class AccessibleNamesTest : public EditorWindowTest {};

TEST_F(AccessibleNamesTest, EveryFocusableControlOfTheMainWindowHasItsOwnName) {
  MainWindow& window = OpenWindow();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
  const std::vector<std::string> faults = UnnamedOrSharedControls(window);
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

TEST_F(AccessibleNamesTest, EveryFocusableControlOfEachEntryEditorHasItsOwnName) {
  MainWindow& window = OpenWindow();
  for (NavaidKind kind : navdb::kAllKinds) {
    auto editor = MakeEntryEditor(window, window.state(), kind, std::nullopt);
    editor->show();
    SCOPED_TRACE(editor->windowTitle().toStdString());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor.get())->role(), QAccessible::Dialog);
    for (const std::string& fault : UnnamedOrSharedControls(*editor)) ADD_FAILURE() << fault;
    editor->reject();
  }
}

}  // namespace
