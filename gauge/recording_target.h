// A drawing target that keeps every operation, for checking what was drawn.
#pragma once

#include <string>
#include <vector>

#include "draw_target.h"

namespace lumaro {

struct DrawOperation {
  enum class Kind { kFillRect, kPolyline, kFillPolygon, kCircle, kText };
  Kind kind = Kind::kFillRect;
  std::vector<ScreenPoint> points;  // rectangle corners, line points, or the centre
  int radiusPx = 0;
  bool filled = false;
  std::string text;
  FontSize size = FontSize::kMedium;
  TextAlign align = TextAlign::kLeft;
  TextVertical vertical = TextVertical::kTop;
  Rgb colour;
};

class RecordingTarget : public DrawTarget {
 public:
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
  void Polyline(std::span<const ScreenPoint> points, Rgb colour) override;
  void FillPolygon(std::span<const ScreenPoint> points, Rgb colour) override;
  void Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) override;
  void Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
            TextVertical vertical, Rgb colour) override;

  const std::vector<DrawOperation>& Operations() const { return operations_; }
  std::vector<DrawOperation> Texts() const;

 private:
  std::vector<DrawOperation> operations_;
};

}  // namespace lumaro
