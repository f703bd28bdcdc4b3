#include "shell/skat/window_accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// The program's own windows made straight from QWidget (the main window,
// Help, the index, the loading window): dialogs and QMainWindow already
// tell their role.
QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr || !widget->isWindow()) return nullptr;
  const QMetaObject* type = widget->metaObject();
  if (className != QLatin1String(type->className()) ||
      type->superClass() != &QWidget::staticMetaObject) {
    return nullptr;
  }
  return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void InstallWindowAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(WindowFactory);
    return true;
  }();
  (void)installed;
}
