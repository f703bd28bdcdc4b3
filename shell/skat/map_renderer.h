// The map window's drawing thread. The window asks for a picture of a view
// and goes on at once; the worker draws the newest request only (requests
// that came in while it drew are dropped) into a QImage through the map
// library and hands the picture back on the window's thread. The worker
// reads only what a request holds: the snapshot of the lists and a copy of
// the route, never the database itself or a widget.
#pragma once

#include <QImage>
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "map/layer_cache.h"
#include "map/map_drawing.h"
#include "shell/skat/map_snapshot.h"

// What to draw.
struct MapRequest {
  std::shared_ptr<const MapSnapshot> snapshot;  // null: coastlines only
  std::shared_ptr<const navmap::MapRoute> route;
  std::optional<navmap::EntryRef> highlight;
  navmap::MapView view;  // its size is the picture's
};

// A drawn picture, the view it shows and where its symbols went.
struct MapPicture {
  QImage image;
  navmap::MapView view;
  navmap::DrawnMap drawn;
  std::shared_ptr<const MapSnapshot> snapshot;  // the lists the symbols' rows refer to
  uint64_t serial = 0;                          // the request's
};

// Draws `request` on the calling thread; an empty image when the picture
// cannot be made (no memory). A cache must have been cleared since it last
// drew from a snapshot other than the request's.
MapPicture DrawMapPicture(const MapRequest& request, navmap::LayerCache* cache = nullptr);

class MapRenderer : public QObject {
  Q_OBJECT

 public:
  explicit MapRenderer(QObject* parent = nullptr);
  // Lets a drawing in progress finish and stops the worker.
  ~MapRenderer() override;

  // Queues the request in place of any not yet started; returns its serial.
  uint64_t request(MapRequest request);
  // True while a request is queued or being drawn.
  bool busy() const;

 signals:
  // On the window's thread, for the newest request the worker took.
  void pictureReady(const MapPicture& picture);

 private:
  void run(std::stop_token stop);

  mutable std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<MapRequest> pending_;
  uint64_t pendingSerial_ = 0;
  uint64_t lastSerial_ = 0;
  uint64_t doneSerial_ = 0;  // window thread only
  // The worker's own: the lower layers of its last view, and the snapshot
  // they were drawn from, held so that no new snapshot can take its address.
  navmap::LayerCache cache_;
  std::shared_ptr<const MapSnapshot> cachedSnapshot_;
  // Last member: stopped and joined before the rest goes.
  std::jthread worker_;
};
