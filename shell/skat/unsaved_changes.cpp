#include "shell/skat/unsaved_changes.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <optional>

#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"

namespace {

// The value one widget shows, prefixed by its name so that the lists of
// two windows never agree by accident; nothing for a widget that holds no
// value the user sets.
std::optional<QString> ShownValue(const QWidget& widget) {
  const QString name = widget.objectName() + '=';
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
    // An editable choice's own box is part of the choice, read there.
    if (qobject_cast<const QComboBox*>(edit->parentWidget())) return std::nullopt;
    return name + edit->text();
  }
  if (const auto* choice = qobject_cast<const QComboBox*>(&widget)) {
    return name + QString::number(choice->currentIndex()) + ':' + choice->currentText();
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    if (button->isCheckable()) return name + (button->isChecked() ? "checked" : "unchecked");
  }
  return std::nullopt;
}

}  // namespace

QStringList ShownValuesOf(const QWidget& window) {
  QStringList values;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (std::optional<QString> value = ShownValue(*widget)) values << *value;
  }
  return values;
}

bool AgreesToDiscard(QWidget* window, const QString& text) {
  const navdb::MessageRequest question{"Warning", Win1252FromQString(text),
                                       navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo,
                                       false};
  return ShowMessageBox(window, question) == navdb::MessageAnswer::Yes;
}
