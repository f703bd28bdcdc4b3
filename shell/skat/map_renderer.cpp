#include "shell/skat/map_renderer.h"

#include <cairo.h>

#include "map/coastline_data.h"

MapPicture DrawMapPicture(const MapRequest& request, navmap::LayerCache* cache) {
  MapPicture picture;
  picture.view = request.view;
  picture.snapshot = request.snapshot;
  // QImage's RGB32 is Cairo's RGB24: 32-bit native words, 0xffRRGGBB.
  picture.image = QImage(std::max(1, request.view.widthPx), std::max(1, request.view.heightPx),
                         QImage::Format_RGB32);
  if (picture.image.isNull()) return picture;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      picture.image.bits(), CAIRO_FORMAT_RGB24, picture.image.width(), picture.image.height(),
      static_cast<int>(picture.image.bytesPerLine()));
  navmap::MapScene scene;
  if (request.snapshot) {
    scene.database = &request.snapshot->database();
    scene.index = &request.snapshot->index();
  }
  scene.coastlines = &navmap::BuiltInCoastlines();
  scene.route = request.route.get();
  scene.highlight = request.highlight;
  scene.cache = cache;
  picture.drawn = navmap::DrawMap(scene, request.view, surface);
  cairo_surface_destroy(surface);
  return picture;
}

MapRenderer::MapRenderer(QObject* parent)
    : QObject(parent), worker_([this](std::stop_token stop) { run(stop); }) {}

MapRenderer::~MapRenderer() {
  worker_.request_stop();
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

uint64_t MapRenderer::request(MapRequest request) {
  const std::lock_guard lock(mutex_);
  pending_ = std::move(request);
  pendingSerial_ = ++lastSerial_;
  wake_.notify_one();
  return pendingSerial_;
}

bool MapRenderer::busy() const {
  const std::lock_guard lock(mutex_);
  return doneSerial_ != lastSerial_;
}

void MapRenderer::run(std::stop_token stop) {
  while (true) {
    MapRequest request;
    uint64_t serial = 0;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); })) return;
      request = std::move(*pending_);
      pending_.reset();
      serial = pendingSerial_;
    }
    if (request.snapshot != cachedSnapshot_) {
      cache_.Clear();
      cachedSnapshot_ = request.snapshot;
    }
    MapPicture picture = DrawMapPicture(request, &cache_);
    picture.serial = serial;
    QMetaObject::invokeMethod(
        this,
        [this, picture = std::move(picture)] {
          {
            const std::lock_guard lock(mutex_);
            doneSerial_ = std::max(doneSerial_, picture.serial);
          }
          emit pictureReady(picture);
        },
        Qt::QueuedConnection);
  }
}
