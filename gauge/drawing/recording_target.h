// A drawing target that keeps every operation, for checking what was drawn.
#pragma once

#include <string>
#include <vector>

#include "drawing/draw_target.h"

namespace lumaro {

struct DrawOperation {
  enum class Kind { FillRect, Polyline, FillPolygon, Circle, Text, Arc, DottedLine };
  Kind kind = Kind::FillRect;
  std::vector<ScreenPoint> points;  // rectangle corners, line points, or the centre
  int radiusPx = 0;
  double startDeg = 0;  // arcs
  double endDeg = 0;
  bool opaque = false;  // texts on a background box
  Rgb background;
  bool filled = false;
  std::string text;
  FontSize size = FontSize::Medium;
  TextAlign align = TextAlign::Left;
  TextVertical vertical = TextVertical::Top;
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
  void OpaqueText(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                  TextVertical vertical, Rgb colour, Rgb background) override;
  void Arc(ScreenPoint centre, int radiusPx, double startDeg, double endDeg, Rgb colour) override;
  void DottedLine(ScreenPoint from, ScreenPoint to, Rgb colour) override;

  const std::vector<DrawOperation>& Operations() const { return operations_; }
  std::vector<DrawOperation> Texts() const;
  std::vector<DrawOperation> OfKind(DrawOperation::Kind kind) const;
  // The texts with exactly this content.
  std::vector<DrawOperation> TextsReading(std::string_view text) const;
  void Clear() { operations_.clear(); }

 private:
  std::vector<DrawOperation> operations_;
};

}  // namespace lumaro
