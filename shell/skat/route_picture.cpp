#include "shell/skat/route_picture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "planner/leg_computation.h"
#include "platform/text_columns.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/route_description.h"

namespace {

constexpr int kMarginPx = 28;

// A waypoint is labelled with (up to six characters of) its identifier.
constexpr size_t kLabelChars = 6;

}  // namespace

RoutePicture::RoutePicture(QWidget* parent) : QWidget(parent) {
  setObjectName("Route picture");
  setAccessibleName("Route picture");
  setAccessibleDescription(QStringFromWin1252(RouteDescription({})));
  setMinimumSize(220, 220);
  setAutoFillBackground(true);
}

RoutePicture::Mark RoutePicture::MarkOf(planner::PlanRowKind kind) {
  if (kind == planner::PlanRowKind::TopOfClimb || kind == planner::PlanRowKind::TopOfDescent) {
    return Mark::ClimbOrDescent;
  }
  return planner::IsGenerated(kind) ? Mark::TurnPoint : Mark::Waypoint;
}

void RoutePicture::setRoute(const std::vector<planner::PlanRow>& rows,
                            std::optional<size_t> selectedRow) {
  points_.clear();
  selected_ = selectedRow;
  // Only a new route is told: a row selected keeps the words, and screen
  // readers hear of a change only when there is one.
  if (const QString words = QStringFromWin1252(RouteDescription(rows));
      words != accessibleDescription()) {
    setAccessibleDescription(words);
  }
  const auto first = std::find_if(rows.begin(), rows.end(),
                                  [](const planner::PlanRow& row) { return !row.IsVerbatim(); });
  if (first == rows.end()) {
    update();
    return;
  }
  // East distances on the parallel of the first row, so the picture keeps
  // the proportions the legs are computed with; the date line is crossed
  // the short way.
  const double firstLatDeg = first->LatitudeDeg();
  const double firstLonDeg = first->LongitudeDeg();
  const double nmPerLonDeg = 60 * std::cos(firstLatDeg * planner::kDegToRad);
  for (size_t i = 0; i < rows.size(); ++i) {
    const planner::PlanRow& row = rows[i];
    if (row.IsVerbatim()) continue;
    double lonDeltaDeg = row.LongitudeDeg() - firstLonDeg;
    if (lonDeltaDeg > 180) lonDeltaDeg -= 360;
    if (lonDeltaDeg < -180) lonDeltaDeg += 360;
    const Mark mark = MarkOf(row.kind);
    const std::string label =
        mark == Mark::Waypoint
            ? std::string(platform::Trim(platform::Columns(row.identifier, 0, kLabelChars)))
            : std::string(planner::KindCode(row.kind));
    points_.push_back(
        {lonDeltaDeg * nmPerLonDeg, (row.LatitudeDeg() - firstLatDeg) * 60, label, mark, i});
  }
  update();
}

void RoutePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), QColor(16, 28, 44));
  painter.setPen(QColor(120, 140, 160));
  painter.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignTop | Qt::AlignRight, "N \u2191");
  if (points_.empty()) {
    painter.drawText(rect(), Qt::AlignCenter, "No waypoints");
    return;
  }
  double minE = points_[0].eastNm, maxE = minE, minN = points_[0].northNm, maxN = minN;
  for (const Point& p : points_) {
    minE = std::min(minE, p.eastNm);
    maxE = std::max(maxE, p.eastNm);
    minN = std::min(minN, p.northNm);
    maxN = std::max(maxN, p.northNm);
  }
  const double spanNm = std::max({maxE - minE, maxN - minN, 1.0});
  const double usablePx = std::min(width(), height()) - 2.0 * kMarginPx;
  const double pxPerNm = usablePx / spanNm;
  const QPointF centre(width() / 2.0, height() / 2.0);
  auto at = [&](const Point& p) {
    return QPointF(centre.x() + (p.eastNm - (minE + maxE) / 2) * pxPerNm,
                   centre.y() - (p.northNm - (minN + maxN) / 2) * pxPerNm);
  };

  // Scale bar: a round number of miles near a quarter of the picture.
  const double wantedNm = spanNm / 4;
  const double magnitude = std::pow(10.0, std::floor(std::log10(wantedNm)));
  const double barNm = wantedNm >= 5 * magnitude   ? 5 * magnitude
                       : wantedNm >= 2 * magnitude ? 2 * magnitude
                                                   : magnitude;
  const QPointF barStart(8, height() - 10.0);
  painter.drawLine(barStart, barStart + QPointF(barNm * pxPerNm, 0));
  painter.drawText(barStart + QPointF(0, -4), QString::number(barNm) + " NM");

  QPainterPath path(at(points_[0]));
  for (size_t i = 1; i < points_.size(); ++i) path.lineTo(at(points_[i]));
  painter.setPen(QPen(QColor(90, 200, 255), 2));
  painter.drawPath(path);

  for (const Point& p : points_) {
    const QPointF xy = at(p);
    const bool selected = selected_ && *selected_ == p.row;
    if (selected) {
      painter.setPen(QPen(QColor(255, 220, 0), 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(xy, 9, 9);
    }
    if (p.mark == Mark::Waypoint) {
      painter.setPen(QPen(Qt::white, 1));
      painter.setBrush(QColor(90, 200, 255));
      painter.drawEllipse(xy, 4, 4);
      painter.setPen(selected ? QColor(255, 220, 0) : Qt::white);
      painter.drawText(xy + QPointF(7, -6), QStringFromWin1252(p.label));
    } else if (p.mark == Mark::TurnPoint) {
      painter.setPen(QPen(QColor(255, 140, 60), 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(xy, 3, 3);
      if (selected) painter.drawText(xy + QPointF(6, 12), QString::fromLatin1(p.label.c_str()));
    } else {
      // TOC and TOD: a small bar across the route with its name.
      painter.setPen(QPen(QColor(120, 255, 120), 2));
      painter.drawLine(xy + QPointF(-5, -5), xy + QPointF(5, 5));
      painter.drawLine(xy + QPointF(-5, 5), xy + QPointF(5, -5));
      painter.drawText(xy + QPointF(7, 12), QString::fromLatin1(p.label.c_str()));
    }
  }
}
