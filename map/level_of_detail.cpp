#include "map/level_of_detail.h"

#include <array>

namespace navmap {
namespace {

using S = SymbolStyle;

// One step of detail: shown from `fromPxPerNm` on. Per symbol, in the order
// of MapSymbol (airport, VOR, DME, ILS, NDB, intersection): style, lowest
// rank shown, labelled.
struct Step {
  double fromPxPerNm;
  std::array<S, kMapSymbolCount> style;
  std::array<int, kMapSymbolCount> minRank;
  std::array<bool, kMapSymbolCount> labelled;
  bool runwaysToScale;
  bool runwayEndLabels;
};

constexpr std::array<Step, 7> kSteps = {{
    // The whole world: large airports and VORs as dots.
    {0,
     {S::Dot, S::Dot, S::Hidden, S::Hidden, S::Hidden, S::Hidden},
     {8, 0, 0, 0, 0, 0},
     {false, false, false, false, false, false},
     false,
     false},
    // A continent: airports of 6,000 ft and VORs with their symbols.
    {0.15,
     {S::Symbol, S::Symbol, S::Hidden, S::Hidden, S::Dot, S::Hidden},
     {6, 0, 0, 0, 0, 0},
     {true, true, false, false, false, false},
     false,
     false},
    // A country: most airports, every station.
    {0.6,
     {S::Symbol, S::Symbol, S::Symbol, S::Hidden, S::Symbol, S::Hidden},
     {3, 0, 0, 0, 0, 0},
     {true, true, true, false, true, false},
     false,
     false},
    // A region: every airport with its runways to scale, intersections as dots.
    {1.5,
     {S::Symbol, S::Symbol, S::Symbol, S::Hidden, S::Symbol, S::Dot},
     {0, 0, 0, 0, 0, 0},
     {true, true, true, false, true, false},
     true,
     false},
    // An area: intersections and localizers with their symbols.
    {3,
     {S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol},
     {0, 0, 0, 0, 0, 0},
     {true, true, true, true, true, false},
     true,
     false},
    // Near: intersections named.
    {12,
     {S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol},
     {0, 0, 0, 0, 0, 0},
     {true, true, true, true, true, true},
     true,
     false},
    // Close by: runway ends named.
    {16,
     {S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol, S::Symbol},
     {0, 0, 0, 0, 0, 0},
     {true, true, true, true, true, true},
     true,
     true},
}};

}  // namespace

DetailLevel DetailFor(double pxPerNm) {
  const Step* chosen = &kSteps[0];
  for (const Step& step : kSteps) {
    if (pxPerNm >= step.fromPxPerNm) chosen = &step;
  }
  DetailLevel detail;
  detail.coastlineLevel = pxPerNm >= kFineCoastlinesFromPxPerNm ? 1 : 0;
  for (size_t symbol = 0; symbol < kMapSymbolCount; ++symbol) {
    detail.style[symbol] = chosen->style[symbol];
    detail.minRank[symbol] = chosen->minRank[symbol];
    detail.labelled[symbol] = chosen->labelled[symbol];
  }
  detail.runwaysToScale = chosen->runwaysToScale;
  detail.runwayEndLabels = chosen->runwayEndLabels;
  return detail;
}

}  // namespace navmap
