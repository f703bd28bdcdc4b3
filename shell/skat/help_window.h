// The help window: the program's HTML help, shipped inside it, in a browser
// that follows the document's links, with Back, Forward and Contents.
#pragma once

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the window, in front, at the document's contents.
  void showContents();
  QTextBrowser* browser() const { return browser_; }

  // Where the help document lives among the program's resources.
  static const char* const kDocumentUrl;

 protected:
  // Escape closes the window, as "Close": it takes the key before the main
  // window's Escape (which gives up a waypoint pick) can.
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_ = nullptr;
};
