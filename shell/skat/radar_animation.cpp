#include "shell/skat/radar_animation.h"

#include <QConicalGradient>
#include <QPainter>

RadarAnimation::RadarAnimation(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  connect(&timer_, &QTimer::timeout, this, [this] {
    sweepDeg_ = (sweepDeg_ + 6) % 360;
    update();
  });
  timer_.start(80);
}

void RadarAnimation::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF dial = QRectF(rect()).adjusted(2, 2, -2, -2);
  painter.setPen(QPen(QColor(40, 160, 60), 1.5));
  painter.setBrush(QColor(10, 30, 15));
  painter.drawEllipse(dial);
  painter.drawEllipse(
      dial.adjusted(dial.width() / 4, dial.height() / 4, -dial.width() / 4, -dial.height() / 4));
  // The trail behind the sweep fades from bright to the dial's colour.
  QConicalGradient trail(dial.center(), -sweepDeg_);
  trail.setColorAt(0.0, QColor(80, 255, 110, 200));
  trail.setColorAt(0.25, QColor(80, 255, 110, 0));
  trail.setColorAt(1.0, QColor(80, 255, 110, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(trail);
  painter.drawEllipse(dial);
}
