#include "shell/skat/hand_edit_parts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>

namespace {

// Room for the longest entry line (VOR, 109 characters) and a little more.
constexpr int kLineBoxChars = 111;

}  // namespace

QString ActionCaption(navdb::JournalAction action) {
  switch (action) {
    case navdb::JournalAction::Add:
      return QStringLiteral("Add");
    case navdb::JournalAction::Modify:
      return QStringLiteral("Modify");
    case navdb::JournalAction::Delete:
      break;
  }
  return QStringLiteral("Delete");
}

QString KindCaption(navdb::NavaidKind kind) {
  switch (kind) {
    case navdb::NavaidKind::Ndb:
      return QStringLiteral("NDB");
    case navdb::NavaidKind::Vor:
      return QStringLiteral("VOR");
    case navdb::NavaidKind::Airport:
      return QStringLiteral("Runway");
    case navdb::NavaidKind::Intersection:
      break;
  }
  return QStringLiteral("Intersection");
}

QLabel* MakeLineBox(QWidget* parent, const QFont& listFont) {
  auto* box = new QLabel(parent);
  box->setTextFormat(Qt::PlainText);
  box->setFont(listFont);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setAutoFillBackground(true);
  box->setBackgroundRole(QPalette::Base);
  box->setMargin(3);
  const QFontMetrics metrics(listFont);
  box->setMinimumWidth(metrics.horizontalAdvance(QString(kLineBoxChars, QLatin1Char('M'))) + 8);
  return box;
}

void FitToContents(QWidget& dialog) {
  dialog.ensurePolished();
  if (dialog.layout()) dialog.layout()->activate();
  dialog.adjustSize();
}

void CentreOnOwner(QWidget& dialog, const QWidget& owner) {
  QRect frame = dialog.frameGeometry();
  frame.moveCenter(owner.frameGeometry().center());
  dialog.move(frame.topLeft());
}
