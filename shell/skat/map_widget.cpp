#include "shell/skat/map_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "map/hit_test.h"
#include "map/map_palette.h"

namespace {

// Moves shorter than this between press and release are clicks.
constexpr int kClickSlopPx = 4;
// Room round a fitted box for the labels at its edges.
constexpr int kFitMarginPx = 40;
// One notch of the wheel zooms by the square root of 2; two make a double.
constexpr double kWheelNotch = 120;
constexpr double kZoomPerNotch = 1.4142135623730951;
constexpr double kKeyZoom = 2;
constexpr double kKeyPanFraction = 0.25;

QColor SeaColour() {
  return QColor::fromRgb(static_cast<QRgb>(navmap::kSeaColour));
}

}  // namespace

MapWidget::MapWidget(QWidget* parent) : QWidget(parent), renderer_(new MapRenderer(this)) {
  setObjectName("Map");
  setAccessibleName("Map");
  setAccessibleDescription(
      "The database's navaids and the plan's route over the coastlines. Drag or use the arrow keys "
      "to move, the wheel or + and - to zoom, Home to show the whole plan or database; click a "
      "symbol to select its line, double click it to edit the entry.");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  view_ = navmap::ViewOfWorld(std::max(1, width()), std::max(1, height()));
  connect(renderer_, &MapRenderer::pictureReady, this, &MapWidget::onPictureReady);
}

void MapWidget::setSnapshot(std::shared_ptr<const MapSnapshot> snapshot) {
  snapshot_ = std::move(snapshot);
  redraw();
}

void MapWidget::setRoute(std::shared_ptr<const navmap::MapRoute> route) {
  route_ = std::move(route);
  redraw();
}

void MapWidget::setHighlight(std::optional<navmap::EntryRef> entry) {
  highlight_ = entry;
  redraw();
}

void MapWidget::setView(const navmap::MapView& view) {
  navmap::MapView sized = view;
  sized.widthPx = std::max(1, width());
  sized.heightPx = std::max(1, height());
  changeView(navmap::Projection(sized).View());
}

void MapWidget::centreOn(double latDeg, double lonDeg) {
  navmap::MapView view = view_;
  view.centreLatDeg = latDeg;
  view.centreLonDeg = lonDeg;
  setView(view);
}

void MapWidget::setRangeNm(double rangeNm) {
  changeView(navmap::ViewOfRange(view_.centreLatDeg, view_.centreLonDeg, rangeNm,
                                 std::max(1, width()), std::max(1, height())));
}

void MapWidget::showBox(double southDeg, double westDeg, double northDeg, double eastDeg) {
  changeView(navmap::ViewOfBox(southDeg, westDeg, northDeg, eastDeg, std::max(1, width()),
                               std::max(1, height()), kFitMarginPx));
}

void MapWidget::showWorld() {
  changeView(navmap::ViewOfWorld(std::max(1, width()), std::max(1, height())));
}

void MapWidget::zoomBy(double factor) {
  const QPointF about = pointer_ ? QPointF(*pointer_) : QPointF(width() / 2.0, height() / 2.0);
  changeView(navmap::ZoomedAbout(view_, about.x(), about.y(), factor));
}

void MapWidget::panBy(double xFraction, double yFraction) {
  changeView(navmap::Panned(view_, xFraction * view_.widthPx, yFraction * view_.heightPx));
}

std::optional<navmap::EntryRef> MapWidget::entryAt(QPoint point) const {
  // Rows of another copy of the lists would name other entries.
  if (picture_.image.isNull() || picture_.snapshot != snapshot_) return std::nullopt;
  const navmap::GeoPosition place = navmap::Projection(view_).ToGeo(point.x(), point.y());
  const navmap::ScreenXY at =
      navmap::Projection(picture_.view).ToScreen(place.latDeg, place.lonDeg);
  return navmap::HitTest(picture_.drawn, static_cast<int>(std::lround(at.x)),
                         static_cast<int>(std::lround(at.y)));
}

QPointF MapWidget::pointOf(double latDeg, double lonDeg) const {
  const navmap::ScreenXY at = navmap::Projection(view_).ToScreen(latDeg, lonDeg);
  return {at.x, at.y};
}

void MapWidget::changeView(const navmap::MapView& view) {
  view_ = view;
  update();
  redraw();
  emit viewChanged();
}

void MapWidget::redraw() {
  renderer_->request({snapshot_, route_, highlight_, view_});
}

void MapWidget::onPictureReady(const MapPicture& picture) {
  if (picture.serial < picture_.serial) return;
  picture_ = picture;
  update();
}

void MapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), SeaColour());
  if (picture_.image.isNull()) return;
  // The last picture where its places lie in the current view: its centre
  // moved to where that place now is, each axis scaled as the view was.
  const navmap::Projection shown(picture_.view);
  const navmap::Projection now(view_);
  const navmap::ScreenXY centre =
      now.ToScreen(picture_.view.centreLatDeg, picture_.view.centreLonDeg);
  const double scaleX = now.PxPerDegLon() / shown.PxPerDegLon();
  const double scaleY = now.PxPerDegLat() / shown.PxPerDegLat();
  const QRectF target(centre.x - picture_.view.widthPx / 2.0 * scaleX,
                      centre.y - picture_.view.heightPx / 2.0 * scaleY,
                      picture_.view.widthPx * scaleX, picture_.view.heightPx * scaleY);
  const bool exact = std::abs(scaleX - 1) < 1e-9 && std::abs(scaleY - 1) < 1e-9;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !exact);
  painter.drawImage(target, picture_.image);
}

void MapWidget::resizeEvent(QResizeEvent*) {
  // The same centre and scale: a larger window shows more, not larger.
  navmap::MapView view = view_;
  view.widthPx = std::max(1, width());
  view.heightPx = std::max(1, height());
  view_ = navmap::Projection(view).View();
  redraw();
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressedAt_ = event->position().toPoint();
  lastDragAt_ = *pressedAt_;
  dragging_ = false;
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  pointer_ = at;
  emit pointerMoved(navmap::Projection(view_).ToGeo(at.x(), at.y()));
  if (!pressedAt_ || !(event->buttons() & Qt::LeftButton)) return;
  if (!dragging_ && (at - *pressedAt_).manhattanLength() < kClickSlopPx) return;
  dragging_ = true;
  setCursor(Qt::ClosedHandCursor);
  const QPoint moved = at - lastDragAt_;
  lastDragAt_ = at;
  changeView(navmap::Panned(view_, -moved.x(), -moved.y()));
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressedAt_) return;
  const bool click = !dragging_;
  pressedAt_.reset();
  dragging_ = false;
  unsetCursor();
  if (!click) return;
  if (const std::optional<navmap::EntryRef> entry = entryAt(event->position().toPoint())) {
    emit entryClicked(*entry, event->globalPosition().toPoint());
  }
}

void MapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The release that follows ends no click.
  pressedAt_.reset();
  if (const std::optional<navmap::EntryRef> entry = entryAt(event->position().toPoint())) {
    emit entryDoubleClicked(*entry);
  }
}

void MapWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / kWheelNotch;
  if (notches == 0) return;
  const QPointF at = event->position();
  changeView(navmap::ZoomedAbout(view_, at.x(), at.y(), std::pow(kZoomPerNotch, notches)));
  event->accept();
}

void MapWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      panBy(-kKeyPanFraction, 0);
      return;
    case Qt::Key_Right:
      panBy(kKeyPanFraction, 0);
      return;
    case Qt::Key_Up:
      panBy(0, -kKeyPanFraction);
      return;
    case Qt::Key_Down:
      panBy(0, kKeyPanFraction);
      return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomBy(kKeyZoom);
      return;
    case Qt::Key_Minus:
      zoomBy(1 / kKeyZoom);
      return;
    case Qt::Key_Home:
      emit homeRequested();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void MapWidget::leaveEvent(QEvent* event) {
  pointer_.reset();
  emit pointerMoved(std::nullopt);
  QWidget::leaveEvent(event);
}
