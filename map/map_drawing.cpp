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

// Sea and land, coasts and borders and the entries: everything the route,
// the highlight, the scale bar and the labels go over.
void DrawLowerLayers(const MapScene& scene, Canvas& canvas, const Projection& projection,
                     const DrawnMap& drawn, const CoastlineLevel* level, LabelSpace& space,
                     LowerLayers& layers) {
  DrawLandAndSea(canvas, projection, level);
  if (level != nullptr) DrawCoastlines(canvas, projection, *level);
  if (scene.database != nullptr && scene.index != nullptr) {
    DrawNavaids(canvas, projection, {*scene.database, *scene.index, drawn.detail}, layers.symbols,
                layers.requests, space);
  }
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
  LabelSpace space(canvas.WidthPx(), canvas.HeightPx());
  LowerLayers layers;
  const LayerKey key{sized, canvas.Format(), level, scene.database, scene.index};
  if (scene.cache == nullptr || !scene.cache->Restore(key, canvas, space, layers)) {
    DrawLowerLayers(scene, canvas, projection, drawn, level, space, layers);
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
