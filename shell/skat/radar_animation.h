// The small animation at the top left of the main window: a radar sweep
// that turns while the program runs.
#pragma once

#include <QTimer>
#include <QWidget>

class RadarAnimation : public QWidget {
  Q_OBJECT

 public:
  explicit RadarAnimation(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {48, 48}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int sweepDeg_ = 0;
};
