#include "map/navaid_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "symbols/navaid_shapes.h"

namespace navmap {
namespace {

using navdb::NavaidKind;

// Entries this far outside the image are drawn, for their symbols and
// labels that reach into it.
constexpr int kViewMarginPx = 24;
constexpr int kDotPx = 2;
// An airport too small to draw to scale: a short line along its runway.
constexpr double kMinRunwayHalfPx = 3;
constexpr int kStationReachPx = 5;
constexpr int kRunwayEndPriority = 5;
constexpr double kHighlightRadiusPx = 9;
constexpr double kHighlightWidthPx = 2;
constexpr double kPi = 3.14159265358979323846;

// Columns of the entry lines the symbols read.
constexpr size_t kLocalizerCourseColumn = 58;
constexpr size_t kRunwayEndColumn = 33;
constexpr size_t kRunwayOtherEndColumn = 37;
constexpr size_t kRunwayHeadingColumn = 42;
constexpr size_t kRunwayLengthColumn = 87;

// The least important first, so the more important are drawn over them.
constexpr std::array<MapSymbol, kMapSymbolCount> kDrawOrder = {
    MapSymbol::Intersection, MapSymbol::Ndb, MapSymbol::Dme,
    MapSymbol::Ils,          MapSymbol::Vor, MapSymbol::Airport};

Rgb ColourOf(MapSymbol symbol) {
  switch (symbol) {
    case MapSymbol::Airport:
      return kAirportColour;
    case MapSymbol::Vor:
    case MapSymbol::Dme:
      return kVorColour;
    case MapSymbol::Ils:
      return kIlsColour;
    case MapSymbol::Ndb:
      return kNdbColour;
    case MapSymbol::Intersection:
      break;
  }
  return kIntersectionColour;
}

std::string Trimmed(std::string_view text) {
  return std::string(platform::Trim(text));
}

double NumberAt(std::string_view line, size_t column, size_t width) {
  return static_cast<double>(platform::ReadLong(platform::Columns(line, column, width)));
}

Pixel PixelOf(ScreenXY xy) {
  return {static_cast<int>(std::floor(xy.x)), static_cast<int>(std::floor(xy.y))};
}

double DistanceSq(const Canvas& canvas, Pixel at) {
  const double dx = at.x - canvas.WidthPx() / 2.0;
  const double dy = at.y - canvas.HeightPx() / 2.0;
  return dx * dx + dy * dy;
}

// Draws one entry and notes it; shared by the layer and the highlight.
class EntryPainter {
 public:
  EntryPainter(Canvas& canvas, const Projection& projection, const navdb::Database& database,
               const DetailLevel& detail, std::vector<DrawnSymbol>& drawn,
               std::vector<LabelRequest>& labels, LabelSpace& space)
      : canvas_(canvas),
        projection_(projection),
        database_(database),
        detail_(detail),
        drawn_(drawn),
        labels_(labels),
        space_(space) {}

  // `priority` is the label's and the hold of the symbol's pixels.
  void Draw(EntryRef entry, MapSymbol symbol, Pixel at, SymbolStyle style, int priority,
            bool labelled) {
    const Rgb colour = ColourOf(symbol);
    hold_ = SymbolHoldOf(priority);
    gapPx_ = symbols::kIdentGapPx;
    int reachPx = kStationReachPx;
    std::string_view line;
    if (style == SymbolStyle::Dot) {
      canvas_.Square(at.x, at.y, kDotPx, colour);
      space_.Take({at.x, at.y, at.x + kDotPx, at.y + kDotPx}, hold_);
    } else {
      // Finding a line costs a walk through the list; a station's symbol is
      // the same whatever its line says, so only its label reads it.
      if (symbol == MapSymbol::Airport || symbol == MapSymbol::Ils) {
        line = database_.List(entry.kind).GetLine(entry.row);
      }
      reachPx = DrawSymbol(symbol, at, line, colour);
    }
    drawn_.push_back({entry, symbol, at, reachPx, priority});
    if (!labelled) return;
    if (line.empty()) line = database_.List(entry.kind).GetLine(entry.row);
    labels_.push_back({priority, DistanceSq(canvas_, at), at.x, at.y, gapPx_,
                       Trimmed(line.substr(0, std::min<size_t>(line.size(), symbols::kIdentChars))),
                       colour, LabelAnchor::Beside});
  }

 private:
  // Draws the symbol; returns how far from its point it reaches.
  int DrawSymbol(MapSymbol symbol, Pixel at, std::string_view line, Rgb colour) {
    switch (symbol) {
      case MapSymbol::Airport:
        return DrawAirport(at, line, colour);
      case MapSymbol::Vor:
      case MapSymbol::Dme:
      case MapSymbol::Ndb:
        Stamp(at, StationCirclePixels(), colour);
        break;
      case MapSymbol::Ils: {
        const std::array<Pixel, 4> outline =
            DrawLocalizer(canvas_, at, NumberAt(line, kLocalizerCourseColumn, 3), colour);
        for (size_t i = 1; i < outline.size(); ++i) {
          space_.TakeLine(outline[i - 1].x, outline[i - 1].y, outline[i].x, outline[i].y, hold_);
        }
        break;
      }
      case MapSymbol::Intersection:
        Stamp(at, IntersectionPixels(), colour);
        break;
    }
    return kStationReachPx;
  }

  // A small symbol, and the box of its pixels taken from the labels.
  void Stamp(Pixel at, std::span<const PixelOffset> pixels, Rgb colour) {
    canvas_.Stamp(at.x, at.y, pixels, colour);
    PixelBox box{at.x, at.y, at.x + 1, at.y + 1};
    for (const PixelOffset offset : pixels) {
      box.left = std::min(box.left, at.x + offset.dx);
      box.top = std::min(box.top, at.y + offset.dy);
      box.right = std::max(box.right, at.x + offset.dx + 1);
      box.bottom = std::max(box.bottom, at.y + offset.dy + 1);
    }
    space_.Take(box, hold_);
  }

  int DrawAirport(Pixel at, std::string_view line, Rgb colour) {
    double halfPx = kMinRunwayHalfPx;
    if (detail_.runwaysToScale) {
      halfPx = std::max(halfPx, symbols::RunwayHalfLengthPx(NumberAt(line, kRunwayLengthColumn, 5),
                                                            projection_.View().pxPerNm));
    }
    const std::array<Pixel, 2> ends =
        DrawRunwayLine(canvas_, at, NumberAt(line, kRunwayHeadingColumn, 3), halfPx, colour);
    space_.TakeLine(ends[0].x, ends[0].y, ends[1].x, ends[1].y, hold_);
    // The airport's name goes clear of its runway.
    gapPx_ = std::max(gapPx_, static_cast<int>(halfPx) + 2);
    if (detail_.runwayEndLabels) {
      AddRunwayEnd(ends[0], ends[1], platform::Columns(line, kRunwayEndColumn, 3));
      AddRunwayEnd(ends[1], ends[0], platform::Columns(line, kRunwayOtherEndColumn, 3));
    }
    return std::max(kStationReachPx, static_cast<int>(halfPx));
  }

  void AddRunwayEnd(Pixel end, Pixel otherEnd, std::string_view designation) {
    const std::string text = Trimmed(designation);
    if (text.empty() || text == "HEL") return;
    labels_.push_back({kRunwayEndPriority, DistanceSq(canvas_, end), end.x, end.y,
                       symbols::kIdentGapPx, text, kAirportColour,
                       end.y <= otherEnd.y ? LabelAnchor::Above : LabelAnchor::Below});
  }

  Canvas& canvas_;
  const Projection& projection_;
  const navdb::Database& database_;
  const DetailLevel& detail_;
  std::vector<DrawnSymbol>& drawn_;
  std::vector<LabelRequest>& labels_;
  LabelSpace& space_;
  uint8_t hold_ = 1;
  int gapPx_ = symbols::kIdentGapPx;
};

struct Visible {
  IndexedEntry entry;
  Pixel at;
};

bool Shown(const DetailLevel& detail, const IndexedEntry& entry) {
  const MapSymbol symbol = entry.Symbol();
  const SymbolStyle style = detail.style[symbol];
  if (style == SymbolStyle::Hidden || entry.Rank() < detail.minRank[symbol]) return false;
  // An airport has a line per runway: every runway when they are drawn to
  // scale, else one mark for the airport.
  if (symbol == MapSymbol::Airport && !(style == SymbolStyle::Symbol && detail.runwaysToScale)) {
    return entry.FirstOfAirport();
  }
  return true;
}

}  // namespace

int LabelPriority(MapSymbol symbol, int rank) {
  switch (symbol) {
    case MapSymbol::Airport:
      return 40 + 2 * rank;
    case MapSymbol::Vor:
      return 50 + rank;
    case MapSymbol::Ndb:
      return 35 + rank;
    case MapSymbol::Dme:
      return 30 + rank;
    case MapSymbol::Ils:
      return 20;
    case MapSymbol::Intersection:
      break;
  }
  return 10;
}

void DrawNavaids(Canvas& canvas, const Projection& projection, const NavaidLayer& layer,
                 std::vector<DrawnSymbol>& drawn, std::vector<LabelRequest>& labels,
                 LabelSpace& space) {
  const double marginLatDeg = kViewMarginPx / projection.PxPerDegLat();
  const double marginLonDeg = kViewMarginPx / projection.PxPerDegLon();
  const double right = canvas.WidthPx() + kViewMarginPx;
  const double bottom = canvas.HeightPx() + kViewMarginPx;
  std::array<std::vector<Visible>, kMapSymbolCount> bySymbol;
  layer.index.ForEachIn(
      projection.SouthDeg() - marginLatDeg, projection.NorthDeg() + marginLatDeg,
      projection.WestDeg() - marginLonDeg, projection.EastDeg() + marginLonDeg,
      [&](const IndexedEntry& entry) {
        if (!Shown(layer.detail, entry)) return;
        const ScreenXY xy = projection.ToScreen(entry.latDeg, entry.lonDeg);
        if (xy.x < -kViewMarginPx || xy.y < -kViewMarginPx || xy.x > right || xy.y > bottom) return;
        bySymbol[static_cast<size_t>(entry.Symbol())].push_back({entry, PixelOf(xy)});
      });
  EntryPainter painter(canvas, projection, layer.database, layer.detail, drawn, labels, space);
  for (const MapSymbol symbol : kDrawOrder) {
    const SymbolStyle style = layer.detail.style[symbol];
    const bool labelled = layer.detail.labelled[symbol];
    for (const Visible& visible : bySymbol[static_cast<size_t>(symbol)]) {
      const IndexedEntry& entry = visible.entry;
      painter.Draw(entry.Ref(), symbol, visible.at, style, LabelPriority(symbol, entry.Rank()),
                   labelled && (symbol != MapSymbol::Airport || entry.FirstOfAirport()));
    }
  }
}

void DrawHighlight(Canvas& canvas, const Projection& projection, const navdb::Database& database,
                   EntryRef entry, std::vector<DrawnSymbol>& drawn,
                   std::vector<LabelRequest>& labels, LabelSpace& space) {
  const std::optional<EntryPosition> position = PositionOfEntry(database, entry);
  if (!position) return;
  const Pixel at = PixelOf(projection.ToScreen(position->latDeg, position->lonDeg));
  if (at.x < 0 || at.y < 0 || at.x >= canvas.WidthPx() || at.y >= canvas.HeightPx()) return;
  const std::string_view line = database.List(entry.kind).GetLine(entry.row);
  MapSymbol symbol = MapSymbol::Intersection;
  switch (entry.kind) {
    case NavaidKind::Ndb:
      symbol = MapSymbol::Ndb;
      break;
    case NavaidKind::Vor:
      symbol = VorListSymbol(line);
      break;
    case NavaidKind::Airport:
      symbol = MapSymbol::Airport;
      break;
    case NavaidKind::Intersection:
      break;
  }
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
  cairo_new_path(cairo);
  cairo_arc(cairo, at.x + 0.5, at.y + 0.5, kHighlightRadiusPx, 0, 2 * kPi);
  canvas.SetColour(kHighlightColour);
  cairo_set_line_width(cairo, kHighlightWidthPx);
  cairo_stroke(cairo);
  cairo_restore(cairo);
  const DetailLevel detail = DetailFor(projection.View().pxPerNm);
  EntryPainter painter(canvas, projection, database, detail, drawn, labels, space);
  painter.Draw(entry, symbol, at, SymbolStyle::Symbol, kHighlightPriority, true);
}

}  // namespace navmap
