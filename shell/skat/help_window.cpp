#include "shell/skat/help_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

const char* const HelpWindow::kDocumentUrl = "qrc:/help/skat-help.html";

// The document is compiled into a static library, whose resources the
// program must register itself (at global scope, where the resource
// compiler defines the function).
static void RegisterHelpDocument() {
  Q_INIT_RESOURCE(help);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  RegisterHelpDocument();
  setWindowTitle("Skyatlas Help");
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  // The buttons stand above the text and are made first: Tab follows the
  // order widgets are made in.
  for (const char* caption : {"Contents", "Back", "Forward", "Close"}) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(caption);
    bar->addWidget(button);
    if (QString(caption) == "Forward") bar->addStretch(1);
  }
  browser_ = new QTextBrowser(this);
  browser_->setAccessibleName("Help text");
  browser_->setOpenExternalLinks(false);
  connect(findChild<QPushButton*>("Contents"), &QPushButton::clicked, this,
          &HelpWindow::showContents);
  connect(findChild<QPushButton*>("Back"), &QPushButton::clicked, browser_,
          &QTextBrowser::backward);
  connect(findChild<QPushButton*>("Forward"), &QPushButton::clicked, browser_,
          &QTextBrowser::forward);
  connect(findChild<QPushButton*>("Close"), &QPushButton::clicked, this, &QWidget::close);
  connect(browser_, &QTextBrowser::backwardAvailable, findChild<QPushButton*>("Back"),
          &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, findChild<QPushButton*>("Forward"),
          &QWidget::setEnabled);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);
  browser_->setSource(QUrl(QString::fromLatin1(kDocumentUrl)));
  resize(760, 640);
}

void HelpWindow::showContents() {
  const QUrl contents(QString::fromLatin1(kDocumentUrl));
  if (browser_->source() != contents) browser_->setSource(contents);
  // The contents open the document.
  browser_->verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
}

bool HelpWindow::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::Key_Escape)) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->keyCombination() == QKeyCombination(Qt::Key_Escape)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}
