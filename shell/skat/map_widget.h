// The map itself: shows the last picture the worker drew, moved and scaled
// to the current view while the next one is drawn, so that a drag or the
// wheel never waits for a drawing. Drag, arrow keys, wheel and +/- move
// and zoom; a click or double click on a symbol is told to the window with
// the entry under it.
#pragma once

#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>

#include "map/projection.h"
#include "shell/skat/map_renderer.h"

class MapWidget : public QWidget {
  Q_OBJECT

 public:
  explicit MapWidget(QWidget* parent = nullptr);

  const navmap::MapView& view() const { return view_; }
  // The newest picture shown (tests, export at the view's size).
  const MapPicture& picture() const { return picture_; }
  bool drawing() const { return renderer_->busy(); }

  void setSnapshot(std::shared_ptr<const MapSnapshot> snapshot);
  const std::shared_ptr<const MapSnapshot>& snapshot() const { return snapshot_; }
  void setRoute(std::shared_ptr<const navmap::MapRoute> route);
  const std::shared_ptr<const navmap::MapRoute>& route() const { return route_; }
  void setHighlight(std::optional<navmap::EntryRef> entry);
  const std::optional<navmap::EntryRef>& highlight() const { return highlight_; }

  // The view of `view`'s centre and scale at this widget's size.
  void setView(const navmap::MapView& view);
  void centreOn(double latDeg, double lonDeg);
  // The same centre with `rangeNm` to the nearer edge.
  void setRangeNm(double rangeNm);
  // Shows the box whole, with room for labels round it.
  void showBox(double southDeg, double westDeg, double northDeg, double eastDeg);
  void showWorld();
  // Zoom by `factor` (> 1 closer) about the pointer when it is over the
  // map, else about the centre.
  void zoomBy(double factor);
  // A pan by a fraction of the view's width and height (arrow keys).
  void panBy(double xFraction, double yFraction);

  // The entry whose symbol reaches the widget's pixel (x, y) in the shown picture.
  std::optional<navmap::EntryRef> entryAt(QPoint point) const;
  // The widget's pixel of a place in the current view.
  QPointF pointOf(double latDeg, double lonDeg) const;

 signals:
  void entryClicked(const navmap::EntryRef& entry, const QPoint& globalPos);
  void entryDoubleClicked(const navmap::EntryRef& entry);
  // Where the pointer is, or nothing when it left the map.
  void pointerMoved(std::optional<navmap::GeoPosition> position);
  void viewChanged();
  void homeRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void changeView(const navmap::MapView& view);
  void redraw();
  void onPictureReady(const MapPicture& picture);

  MapRenderer* renderer_;
  navmap::MapView view_;
  MapPicture picture_;
  std::shared_ptr<const MapSnapshot> snapshot_;
  std::shared_ptr<const navmap::MapRoute> route_;
  std::optional<navmap::EntryRef> highlight_;
  std::optional<QPoint> pointer_;  // while it is over the map
  std::optional<QPoint> pressedAt_;
  QPoint lastDragAt_;
  bool dragging_ = false;
};
