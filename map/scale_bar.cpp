#include "map/scale_bar.h"

#include <cmath>
#include <cstdio>

namespace navmap {
namespace {

constexpr int kMarginPx = 10;
constexpr int kTickPx = 5;
constexpr double kMaxWidthShare = 0.2;
constexpr int kBarThicknessPx = 2;

std::string NmText(double nm) {
  char text[32];
  std::snprintf(text, sizeof text, nm < 1 ? "%.1f NM" : "%.0f NM", nm);
  return text;
}

}  // namespace

ScaleBar ScaleBarFor(double pxPerNm, int widthPx) {
  ScaleBar bar;
  const double maxNm = kMaxWidthShare * widthPx / pxPerNm;
  if (!(maxNm > 0) || !std::isfinite(maxNm)) return bar;
  const double power = std::pow(10.0, std::floor(std::log10(maxNm)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= maxNm) {
      bar.lengthNm = step * power;
      break;
    }
  }
  bar.lengthPx = static_cast<int>(std::lround(bar.lengthNm * pxPerNm));
  bar.text = NmText(bar.lengthNm);
  return bar;
}

void DrawScaleBar(Canvas& canvas, const ScaleBar& bar, LabelSpace& space, const GlyphAtlas& atlas) {
  if (bar.lengthPx <= 0) return;
  const int left = kMarginPx;
  const int baseY = canvas.HeightPx() - kMarginPx;
  const int right = left + bar.lengthPx;
  // The bar and its two end ticks.
  for (int y = baseY - kBarThicknessPx; y < baseY; ++y) {
    for (int x = left; x <= right; ++x) canvas.SetPixel(x, y, kScaleBarColour);
  }
  for (int y = baseY - kTickPx - kBarThicknessPx; y < baseY; ++y) {
    canvas.SetPixel(left, y, kScaleBarColour);
    canvas.SetPixel(right, y, kScaleBarColour);
  }
  const int textBaseline = baseY - kTickPx - kBarThicknessPx - 2;
  canvas.Text(left + 3, textBaseline, bar.text, atlas, kScaleBarColour, kLabelHaloColour);
  space.Take({left - 2, textBaseline - atlas.AscentPx() - 2,
              std::max(right + 2, left + 3 + atlas.WidthPx(bar.text) + 2), baseY + 2});
}

}  // namespace navmap
