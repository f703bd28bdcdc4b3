// The "Loading" window shown while the database loads at start-up: the
// program's splash artwork, the caption "Loading" and a progress bar.
#pragma once

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

#include <chrono>
#include <functional>

class QLabel;
class QPainter;
class QProgressBar;

class LoadingWindow : public QWidget {
  Q_OBJECT

 public:
  // The window stays up at least this long, so the start is seen even when
  // the database loads in a blink.
  static constexpr std::chrono::milliseconds kMinimumShowTime{2000};

  explicit LoadingWindow(QWidget* parent = nullptr);

  // 0 to 100. May be called from any thread; the bar moves on the GUI thread.
  void setProgress(int percent);
  int progress() const;
  // Milliseconds since the window was first shown; 0 before that.
  qint64 shownForMs() const { return shownFor_.isValid() ? shownFor_.elapsed() : 0; }

  // Closes the window once it has been shown for the minimum time (counted
  // from the first show; from now when it was never shown), then calls
  // `done` on the GUI thread (at once when that time is already over).
  void finishAfterMinimum(std::function<void()> done);

  // Shortens the minimum, for tests.
  void setMinimumShowTime(std::chrono::milliseconds minimum) { minimumShowTime_ = minimum; }

  // Puts the window in the middle of the screen it is on; a window shown
  // without being moved first goes there by itself.
  void centreOnScreen();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintArt(QPainter& painter) const;

  QLabel* caption_;
  QProgressBar* bar_;
  QElapsedTimer shownFor_;
  std::chrono::milliseconds minimumShowTime_ = kMinimumShowTime;
  QPixmap art_;  // the splash as paintArt draws it, at the window's size
};
