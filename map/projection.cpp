#include "map/projection.h"

#include <algorithm>
#include <cmath>

namespace navmap {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Not a number is taken as the low end.
double Clamp(double value, double low, double high) {
  return std::isnan(value) ? low : std::clamp(value, low, high);
}

// Degrees brought into -180 up to 180.
double NormalLonDeg(double lonDeg) {
  double lon = std::remainder(lonDeg, 360.0);
  if (lon >= 180) lon -= 360;
  return lon;
}

double HalfShortSidePx(int widthPx, int heightPx) {
  return std::max(1, std::min(widthPx, heightPx)) / 2.0;
}

double CosLat(double latDeg) {
  return std::cos(latDeg * kPi / 180);
}

MapView MakeView(double centreLatDeg, double centreLonDeg, double pxPerNm, int widthPx,
                 int heightPx) {
  MapView view;
  view.widthPx = std::max(1, widthPx);
  view.heightPx = std::max(1, heightPx);
  view.centreLatDeg = Clamp(centreLatDeg, -kMaxCentreLatDeg, kMaxCentreLatDeg);
  view.centreLonDeg = std::isfinite(centreLonDeg) ? NormalLonDeg(centreLonDeg) : 0;
  const double halfPx = HalfShortSidePx(view.widthPx, view.heightPx);
  view.pxPerNm = Clamp(pxPerNm, halfPx / kMaxRangeNm, halfPx / kMinRangeNm);
  return view;
}

}  // namespace

double RangeNm(const MapView& view) {
  return HalfShortSidePx(view.widthPx, view.heightPx) / view.pxPerNm;
}

MapView ViewOfRange(double centreLatDeg, double centreLonDeg, double rangeNm, int widthPx,
                    int heightPx) {
  const double range = Clamp(rangeNm, kMinRangeNm, kMaxRangeNm);
  return MakeView(centreLatDeg, centreLonDeg, HalfShortSidePx(widthPx, heightPx) / range, widthPx,
                  heightPx);
}

MapView ViewOfWorld(int widthPx, int heightPx) {
  return ViewOfBox(-90, -180, 90, 180, widthPx, heightPx, 0);
}

MapView ViewOfBox(double southDeg, double westDeg, double northDeg, double eastDeg, int widthPx,
                  int heightPx, int marginPx) {
  const double centreLatDeg = Clamp((southDeg + northDeg) / 2, -kMaxCentreLatDeg, kMaxCentreLatDeg);
  const double spanLonDeg = std::max(0.0, eastDeg - westDeg) * CosLat(centreLatDeg);
  const double spanLatDeg = std::max(0.0, northDeg - southDeg);
  const double freeWidthPx = std::max(1, widthPx - 2 * marginPx);
  const double freeHeightPx = std::max(1, heightPx - 2 * marginPx);
  double pxPerDeg = HUGE_VAL;
  if (spanLonDeg > 0) pxPerDeg = std::min(pxPerDeg, freeWidthPx / spanLonDeg);
  if (spanLatDeg > 0) pxPerDeg = std::min(pxPerDeg, freeHeightPx / spanLatDeg);
  return MakeView(centreLatDeg, (westDeg + eastDeg) / 2, pxPerDeg / kNmPerDegree, widthPx,
                  heightPx);
}

MapView Panned(const MapView& view, double dxPx, double dyPx) {
  const Projection projection(view);
  const GeoPosition centre =
      projection.ToGeo(view.widthPx / 2.0 + dxPx, view.heightPx / 2.0 + dyPx);
  return MakeView(centre.latDeg, centre.lonDeg, view.pxPerNm, view.widthPx, view.heightPx);
}

MapView ZoomedAbout(const MapView& view, double x, double y, double factor) {
  const GeoPosition held = Projection(view).ToGeo(x, y);
  const MapView scaled = MakeView(view.centreLatDeg, view.centreLonDeg, view.pxPerNm * factor,
                                  view.widthPx, view.heightPx);
  const double pxPerDegLat = scaled.pxPerNm * kNmPerDegree;
  const double centreLatDeg = held.latDeg + (y - scaled.heightPx / 2.0) / pxPerDegLat;
  const double clampedLatDeg = Clamp(centreLatDeg, -kMaxCentreLatDeg, kMaxCentreLatDeg);
  const double pxPerDegLon = pxPerDegLat * CosLat(clampedLatDeg);
  const double centreLonDeg = held.lonDeg - (x - scaled.widthPx / 2.0) / pxPerDegLon;
  return MakeView(clampedLatDeg, centreLonDeg, scaled.pxPerNm, view.widthPx, view.heightPx);
}

Projection::Projection(const MapView& view)
    : view_(MakeView(view.centreLatDeg, view.centreLonDeg, view.pxPerNm, view.widthPx,
                     view.heightPx)),
      pxPerDegLat_(view_.pxPerNm * kNmPerDegree),
      pxPerDegLon_(pxPerDegLat_ * CosLat(view_.centreLatDeg)),
      halfWidthPx_(view_.widthPx / 2.0),
      halfHeightPx_(view_.heightPx / 2.0) {}

double Projection::LonFromCentreDeg(double lonDeg) const {
  return NormalLonDeg(lonDeg - view_.centreLonDeg);
}

GeoPosition Projection::ToGeo(double x, double y) const {
  GeoPosition position;
  position.latDeg = Clamp(view_.centreLatDeg + (halfHeightPx_ - y) / pxPerDegLat_, -90, 90);
  position.lonDeg = NormalLonDeg(view_.centreLonDeg + (x - halfWidthPx_) / pxPerDegLon_);
  return position;
}

Projection::Shifts Projection::ShiftsInView(double westDeg, double eastDeg,
                                            double marginDeg) const {
  Shifts shifts;
  for (const double shiftDeg : {-360.0, 0.0, 360.0}) {
    if (eastDeg + shiftDeg >= WestDeg() - marginDeg && westDeg + shiftDeg <= EastDeg() + marginDeg)
      shifts.deg[shifts.count++] = shiftDeg;
  }
  return shifts;
}

}  // namespace navmap
