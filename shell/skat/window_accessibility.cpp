#include "shell/skat/window_accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
  if (className != QLatin1String("MainWindow")) return nullptr;
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr || !widget->isWindow()) return nullptr;
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
