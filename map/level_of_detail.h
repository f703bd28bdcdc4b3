// What the map shows at a scale: the coarse or fine coastlines, which kinds
// of navaid as dots or as their symbols, from which rank, which of them get
// labels, and whether runways are drawn to scale. The whole world shows the
// large airports and the VORs as dots; every step closer adds what it has
// room for, down to the intersections, the ILS and the runway ends.
#pragma once

#include <cstddef>

#include "map/spatial_index.h"
#include "platform/enum_array.h"

namespace navmap {

enum class SymbolStyle : uint8_t { Hidden, Dot, Symbol };

template <typename T>
using BySymbol = platform::EnumArray<MapSymbol, T, kMapSymbolCount>;

struct DetailLevel {
  size_t coastlineLevel = 0;  // 0 the coarsest
  BySymbol<SymbolStyle> style{};
  BySymbol<int> minRank{};  // entries of lower rank are not shown
  BySymbol<bool> labelled{};
  bool runwaysToScale = false;
  bool runwayEndLabels = false;
};

// The detail of a view of `pxPerNm`.
DetailLevel DetailFor(double pxPerNm);

// The scale from which the fine coastlines are drawn.
inline constexpr double kFineCoastlinesFromPxPerNm = 0.12;

}  // namespace navmap
