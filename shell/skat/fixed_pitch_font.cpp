#include "shell/skat/fixed_pitch_font.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

QFont FixedPitchFont(int heightPx, int widthPx) {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(std::max(1, heightPx));
  const double naturalWidth = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
  const int wantedWidth = std::max(1, widthPx);
  if (naturalWidth > 0) {
    const int stretch =
        std::clamp(static_cast<int>(std::lround(100.0 * wantedWidth / naturalWidth)), 50, 200);
    if (stretch != 100) font.setStretch(stretch);
  }
  return font;
}
