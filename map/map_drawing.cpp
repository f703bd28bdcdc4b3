#include "map/map_drawing.h"

#include "map/canvas.h"
#include "map/coastline_layer.h"
#include "map/layer_cache.h"
#include "map/route_layer.h"

namespace navmap {
namespace {

const CoastlineLevel* LevelFor(const Coastlines* coastlines, size_t wanted) {
  if (coastlines == nullptr || coastlines->levels.empty()) return nullptr;
  return &coastlines->levels[std::min(wanted, coastlines->levels.size() - 1)];
}

// Sea and land, coasts and borders: the background everything else goes over.
void DrawBackground(Canvas& canvas, const Projection& projection, const CoastlineLevel* level) {
  DrawLandAndSea(canvas, projection, level);
  if (level != nullptr) DrawCoastlines(canvas, projection, *level);
}

}  // namespace

DrawnMap DrawMap(const MapScene& scene, const MapView& view, cairo_surface_t* surface) {
  DrawnMap drawn;
  Canvas canvas(surface);
  if (!canvas.Ok()) return drawn;
  MapView sized = view;
  sized.widthPx = canvas.WidthPx();
  sized.heightPx = canvas.HeightPx();
  const Projection projection(sized);
  drawn.detail = DetailFor(projection.View().pxPerNm);

  const CoastlineLevel* level = LevelFor(scene.coastlines, drawn.detail.coastlineLevel);
  const LayerKey key{sized, canvas.Format(), level, scene.database, scene.index};
  const bool cached = scene.cache != nullptr && scene.cache->Holds(key);
  if (!cached) DrawBackground(canvas, projection, level);
  // Made once the background is filled, which pushes everything else out
  // of the processor's cache: the space's fresh table stays in it for the
  // symbols and labels that follow.
  LabelSpace space(canvas.WidthPx(), canvas.HeightPx());
  LowerLayers layers;
  if (cached) {
    scene.cache->Restore(key, canvas, space, layers);
  } else {
    if (scene.database != nullptr && scene.index != nullptr) {
      DrawNavaids(canvas, projection, {*scene.database, *scene.index, drawn.detail}, layers.symbols,
                  layers.requests, space);
    }
    if (scene.cache != nullptr) scene.cache->Offer(key, canvas, space, layers);
  }
  drawn.symbols = std::move(layers.symbols);
  std::vector<LabelRequest>& requests = layers.requests;
  if (scene.route != nullptr) {
    DrawRouteLegs(canvas, projection, *scene.route, space);
    DrawRoutePoints(canvas, projection, *scene.route, requests, space);
  }
  if (scene.highlight && scene.database != nullptr) {
    DrawHighlight(canvas, projection, *scene.database, *scene.highlight, drawn.symbols, requests,
                  space);
  }

  const GlyphAtlas& atlas = GlyphAtlas::Labels();
  drawn.scaleBar = ScaleBarFor(projection.View().pxPerNm, canvas.WidthPx());
  DrawScaleBar(canvas, drawn.scaleBar, space, atlas);
  for (const PlacedLabel& label : PlaceLabels(requests, space, atlas)) {
    canvas.Text(label.penX, label.baselineY, label.request->text, atlas, label.request->colour,
                kLabelHaloColour);
    drawn.labels.push_back({label.request->text, label.box, label.request->priority});
  }
  canvas.Finish();
  return drawn;
}

}  // namespace navmap
