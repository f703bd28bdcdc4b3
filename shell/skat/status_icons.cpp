#include "shell/skat/status_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <utility>

namespace {

// Every drawing is made on a 32 by 32 canvas and scaled to the pixmap.
constexpr double kCanvas = 32.0;
constexpr int kIconSizesPx[] = {16, 20, 24, 32, 48, 64};

using Drawing = std::function<void(QPainter&)>;

QPixmap Render(const Drawing& draw, int sizePx) {
  QPixmap pixmap(sizePx, sizePx);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(sizePx / kCanvas, sizePx / kCanvas);
  draw(painter);
  return pixmap;
}

// Draws an icon at the size it is asked for, when it is asked for, and
// keeps what it drew: a window's icon that nothing shows costs nothing, and
// the start of the program does not paint sizes no one looks at.
class DrawnIconEngine : public QIconEngine {
 public:
  explicit DrawnIconEngine(Drawing draw) : draw_(std::move(draw)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int sizePx = std::max(1, std::min(size.width(), size.height()));
    auto drawn = drawn_.find(sizePx);
    if (drawn == drawn_.end()) drawn = drawn_.emplace(sizePx, Render(draw_, sizePx)).first;
    if (mode != QIcon::Disabled || !qApp) return drawn->second;
    const QStyleOption option;
    return QApplication::style()->generatedIconPixmap(mode, drawn->second, &option);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int sizePx : kIconSizesPx) sizes.append(QSize(sizePx, sizePx));
    return sizes;
  }

  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
  QString key() const override { return QStringLiteral("DrawnIconEngine"); }

 private:
  Drawing draw_;
  std::map<int, QPixmap> drawn_;
};

QIcon IconOf(Drawing draw) {
  return QIcon(new DrawnIconEngine(std::move(draw)));
}

QPen RoundPen(const QColor& color, double width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawReady(QPainter& p) {
  p.setPen(RoundPen(QColor(0x1b, 0x6e, 0x2a), 1.5));
  p.setBrush(QColor(0x2e, 0xa0, 0x43));
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setPen(RoundPen(Qt::white, 4));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(9, 16.5), QPointF(14, 21.5), QPointF(23.5, 10.5)}));
}

// Bars growing downwards beside a down arrow: lines being put in order.
void DrawSorting(QPainter& p) {
  const QColor blue(0x1f, 0x5f, 0xbf);
  p.setPen(Qt::NoPen);
  p.setBrush(blue);
  for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRectF(3, 4 + i * 7, 8 + i * 4, 4.5), 1.5, 1.5);
  p.setPen(RoundPen(QColor(0x10, 0x30, 0x60), 3));
  p.drawLine(QPointF(25, 4), QPointF(25, 25));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x10, 0x30, 0x60));
  p.drawPolygon(QPolygonF({QPointF(19, 21), QPointF(31, 21), QPointF(25, 30)}));
}

void DrawSaving(QPainter& p) {
  p.setPen(RoundPen(QColor(0x1d, 0x2b, 0x4a), 1.5));
  p.setBrush(QColor(0x34, 0x55, 0x94));
  QPainterPath body;
  body.moveTo(3, 4);
  body.lineTo(24, 4);
  body.lineTo(29, 9);
  body.lineTo(29, 28);
  body.lineTo(3, 28);
  body.closeSubpath();
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd8, 0xdd, 0xe6));
  p.drawRect(QRectF(8, 4.5, 14, 8));  // shutter
  p.setBrush(QColor(0x1d, 0x2b, 0x4a));
  p.drawRect(QRectF(17, 5.5, 3, 6));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(7, 17, 18, 10), 1, 1);  // label
  p.setPen(QPen(QColor(0x9a, 0xa4, 0xb5), 1));
  p.drawLine(QPointF(9, 20.5), QPointF(23, 20.5));
  p.drawLine(QPointF(9, 23.5), QPointF(23, 23.5));
}

void DrawProblem(QPainter& p) {
  p.setPen(RoundPen(QColor(0x8a, 0x10, 0x10), 1.5));
  p.setBrush(QColor(0xd9, 0x26, 0x26));
  p.drawPolygon(QPolygonF({QPointF(16, 2.5), QPointF(30.5, 28.5), QPointF(1.5, 28.5)}));
  p.setPen(RoundPen(Qt::white, 3.5));
  p.drawLine(QPointF(16, 11), QPointF(16, 19));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(16, 24.2), 2, 2);
}

void DrawSelecting(QPainter& p) {
  const QColor magenta(0xb0, 0x1e, 0x9a);
  p.setBrush(Qt::NoBrush);
  p.setPen(RoundPen(magenta, 2.5));
  p.drawEllipse(QPointF(16, 16), 10.5, 10.5);
  p.setPen(RoundPen(magenta, 2.2));
  p.drawLine(QPointF(16, 1.5), QPointF(16, 10));
  p.drawLine(QPointF(16, 22), QPointF(16, 30.5));
  p.drawLine(QPointF(1.5, 16), QPointF(10, 16));
  p.drawLine(QPointF(22, 16), QPointF(30.5, 16));
  p.setPen(Qt::NoPen);
  p.setBrush(magenta);
  p.drawEllipse(QPointF(16, 16), 2.2, 2.2);
}

void DrawScanning(QPainter& p) {
  const QPointF centre(16, 16);
  p.setPen(RoundPen(QColor(0x0b, 0x3d, 0x1c), 1.5));
  p.setBrush(QColor(0x10, 0x2a, 0x18));
  p.drawEllipse(centre, 14, 14);
  QConicalGradient sweep(centre, 60);
  sweep.setColorAt(0, QColor(0x5c, 0xff, 0x7a, 230));
  sweep.setColorAt(0.25, QColor(0x5c, 0xff, 0x7a, 0));
  sweep.setColorAt(1, QColor(0x5c, 0xff, 0x7a, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sweep);
  p.drawPie(QRectF(3, 3, 26, 26), -30 * 16, 90 * 16);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x3c, 0xb0, 0x55), 1));
  p.drawEllipse(centre, 7, 7);
  p.setPen(RoundPen(QColor(0x9c, 0xff, 0xb0), 2));
  const double beamRad = 60 * std::numbers::pi / 180;
  p.drawLine(centre, centre + QPointF(13 * std::cos(beamRad), -13 * std::sin(beamRad)));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd0, 0xff, 0xd8));
  p.drawEllipse(QPointF(22.5, 20), 1.6, 1.6);  // an echo
}

// A navigation display: dark face, heading arc with ticks, a compass star
// pointing north and the aircraft symbol at the centre.
void DrawApplication(QPainter& p) {
  const QPointF centre(16, 16);
  QRadialGradient face(centre, 15);
  face.setColorAt(0, QColor(0x1a, 0x2c, 0x4e));
  face.setColorAt(1, QColor(0x08, 0x10, 0x22));
  p.setPen(RoundPen(QColor(0x90, 0xa8, 0xc8), 1.2));
  p.setBrush(face);
  p.drawEllipse(centre, 15, 15);

  p.setPen(RoundPen(Qt::white, 1.2));
  for (int deg = 0; deg < 360; deg += 30) {
    const double rad = deg * std::numbers::pi / 180;
    const double inner = deg % 90 == 0 ? 10.5 : 12;
    p.drawLine(centre + QPointF(inner * std::sin(rad), -inner * std::cos(rad)),
               centre + QPointF(13.5 * std::sin(rad), -13.5 * std::cos(rad)));
  }
  // Compass star: north point in magenta, the others in cyan.
  p.setPen(Qt::NoPen);
  for (int quarter = 0; quarter < 4; ++quarter) {
    p.save();
    p.translate(centre);
    p.rotate(quarter * 90);
    p.setBrush(quarter == 0 ? QColor(0xff, 0x4f, 0xd8) : QColor(0x4f, 0xd8, 0xff));
    p.drawPolygon(QPolygonF({QPointF(0, -10), QPointF(2.6, 0), QPointF(-2.6, 0)}));
    p.restore();
  }
  p.setBrush(QColor(0xff, 0xd2, 0x3f));
  p.drawEllipse(centre, 2.2, 2.2);
}

Drawing DrawingOf(navdb::StatusIcon icon) {
  switch (icon) {
    case navdb::StatusIcon::Ready:
      return DrawReady;
    case navdb::StatusIcon::Sorting:
      return DrawSorting;
    case navdb::StatusIcon::Saving:
      return DrawSaving;
    case navdb::StatusIcon::Problem:
      return DrawProblem;
    case navdb::StatusIcon::Selecting:
      return DrawSelecting;
    case navdb::StatusIcon::Scanning:
      return DrawScanning;
  }
  return DrawReady;
}

}  // namespace

QPixmap StatusIconPixmap(navdb::StatusIcon icon, int sizePx) {
  return Render(DrawingOf(icon), sizePx);
}

QPixmap ApplicationIconPixmap(int sizePx) {
  return Render(DrawApplication, sizePx);
}

QIcon StatusIconImage(navdb::StatusIcon icon) {
  return IconOf(DrawingOf(icon));
}

QIcon ApplicationIcon() {
  return IconOf(DrawApplication);
}

void PaintApplicationIcon(QPainter& painter, double sizePx) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(sizePx / kCanvas, sizePx / kCanvas);
  DrawApplication(painter);
  painter.restore();
}
