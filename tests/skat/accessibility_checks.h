// What a screen reader and a keyboard user need from every window: each
// focusable control told apart by its own name, and Tab going through the
// controls in reading order.
#pragma once

#include <QAccessible>
#include <QWidget>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace skat_test {

// The focusable controls of `window` that a screen reader cannot tell
// apart: no name, or a name another control has too.
inline std::vector<std::string> UnnamedOrSharedControls(QWidget& window) {
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

// The controls Tab stops at in `window`, in the order it visits them.
inline std::vector<QWidget*> TabStops(QWidget& window) {
  std::vector<QWidget*> stops;
  for (QWidget* widget = window.nextInFocusChain(); widget != &window && stops.size() < 1000;
       widget = widget->nextInFocusChain()) {
    if (!window.isAncestorOf(widget) || !widget->isVisibleTo(&window) ||
        !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy() != nullptr) {
      continue;
    }
    stops.push_back(widget);
  }
  return stops;
}

// Whether `first` comes before `second` when the window is read top to
// bottom and left to right. Two widgets are compared where their parents
// part: a group box and the controls beside it are read as one block, and
// blocks side by side (whose heights overlap) from left to right.
inline bool ReadBefore(const QWidget& first, const QWidget& second) {
  const QWidget* a = &first;
  const QWidget* b = &second;
  while (a->parentWidget() && !a->parentWidget()->isAncestorOf(b)) a = a->parentWidget();
  while (b->parentWidget() != a->parentWidget()) b = b->parentWidget();
  const QRect ra = a->geometry();
  const QRect rb = b->geometry();
  const bool sideBySide = ra.top() < rb.bottom() && rb.top() < ra.bottom();
  return sideBySide ? ra.left() < rb.left() : ra.top() < rb.top();
}

// The Tab steps of `window` that go against reading order.
inline std::vector<std::string> TabOrderFaults(QWidget& window) {
  const std::vector<QWidget*> stops = TabStops(window);
  std::vector<std::string> faults;
  const auto nameOf = [](const QWidget* widget) {
    return (widget->accessibleName().isEmpty() ? widget->objectName() : widget->accessibleName())
        .toStdString();
  };
  for (size_t i = 1; i < stops.size(); ++i) {
    if (!ReadBefore(*stops[i - 1], *stops[i])) {
      faults.push_back("tab from " + nameOf(stops[i - 1]) + " to " + nameOf(stops[i]));
    }
  }
  return faults;
}

}  // namespace skat_test
