// Where a place falls on the map: an equirectangular projection whose
// east-west scale is that of the view's centre (degrees of longitude
// shrunk by the cosine of its latitude), so shapes near the centre are
// true at every latitude. Each view is centred anew as it moves, so the
// centre is always where shapes are truest. Longitudes are taken about the
// centre's, so a view across the 180th meridian is as seamless as any other.
#pragma once

#include <array>
#include <cstddef>

namespace navmap {

inline constexpr double kNmPerDegree = 60;
// Centres beyond this latitude would stretch the map without end.
inline constexpr double kMaxCentreLatDeg = 85;
// From a few miles across to the whole world.
inline constexpr double kMinRangeNm = 1;
inline constexpr double kMaxRangeNm = 12000;

struct MapView {
  double centreLatDeg = 0;
  double centreLonDeg = 0;
  double pxPerNm = 1;  // at the centre, north-south and east-west alike
  int widthPx = 0;
  int heightPx = 0;
};

struct ScreenXY {
  double x = 0;  // to the right
  double y = 0;  // downwards
};

struct GeoPosition {
  double latDeg = 0;
  double lonDeg = 0;  // -180 up to 180
};

// The nautical miles from the centre to the nearer edge of the view.
double RangeNm(const MapView& view);

// A view of `rangeNm` (see RangeNm) about a centre; the range is kept
// between kMinRangeNm and kMaxRangeNm, the centre's latitude within
// kMaxCentreLatDeg and its longitude within -180 to 180.
MapView ViewOfRange(double centreLatDeg, double centreLonDeg, double rangeNm, int widthPx,
                    int heightPx);

// The view that shows the whole world, centred on the meridian of Greenwich.
MapView ViewOfWorld(int widthPx, int heightPx);

// The view that shows the box from west to east (east may exceed 180, for
// a box across the 180th meridian) and south to north, with `marginPx`
// left free at every edge; a box of a single point shows kMinRangeNm.
MapView ViewOfBox(double southDeg, double westDeg, double northDeg, double eastDeg, int widthPx,
                  int heightPx, int marginPx);

// The view moved by a drag of (dxPx, dyPx): what was at the centre plus
// the drag becomes the centre.
MapView Panned(const MapView& view, double dxPx, double dyPx);

// The view zoomed by `factor` (> 1 closer) with the place under (x, y) kept there.
MapView ZoomedAbout(const MapView& view, double x, double y, double factor);

class Projection {
 public:
  explicit Projection(const MapView& view);

  const MapView& View() const { return view_; }
  double PxPerDegLat() const { return pxPerDegLat_; }
  double PxPerDegLon() const { return pxPerDegLon_; }

  // A longitude as degrees east of the centre's, -180 up to 180.
  double LonFromCentreDeg(double lonDeg) const;

  ScreenXY ToScreen(double latDeg, double lonDeg) const {
    return {halfWidthPx_ + LonFromCentreDeg(lonDeg) * pxPerDegLon_,
            halfHeightPx_ - (latDeg - view_.centreLatDeg) * pxPerDegLat_};
  }
  // For a shape kept whole: its longitude taken as it is, after `shiftDeg`
  // (a multiple of 360) has moved it to the view.
  ScreenXY ToScreenShifted(double latDeg, double lonDeg, double shiftDeg) const {
    return {halfWidthPx_ + (lonDeg + shiftDeg - view_.centreLonDeg) * pxPerDegLon_,
            halfHeightPx_ - (latDeg - view_.centreLatDeg) * pxPerDegLat_};
  }

  GeoPosition ToGeo(double x, double y) const;

  // The view's reach in degrees: latitudes south to north (not cut at the
  // poles) and longitudes about the centre's, west to east, which may lie
  // beyond -180 or 180.
  double SouthDeg() const { return view_.centreLatDeg - halfHeightPx_ / pxPerDegLat_; }
  double NorthDeg() const { return view_.centreLatDeg + halfHeightPx_ / pxPerDegLat_; }
  double WestDeg() const { return view_.centreLonDeg - halfWidthPx_ / pxPerDegLon_; }
  double EastDeg() const { return view_.centreLonDeg + halfWidthPx_ / pxPerDegLon_; }

  // The shifts by whole turns (-360, 0, 360) that bring a shape spanning
  // westDeg to eastDeg (within -180 to 180) into the view, `count` of them.
  struct Shifts {
    std::array<double, 3> deg{};
    size_t count = 0;
  };
  Shifts ShiftsInView(double westDeg, double eastDeg, double marginDeg = 0) const;

 private:
  MapView view_;
  double pxPerDegLat_;
  double pxPerDegLon_;
  double halfWidthPx_;
  double halfHeightPx_;
};

}  // namespace navmap
