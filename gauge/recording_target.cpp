#include "recording_target.h"

namespace lumaro {

void RecordingTarget::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::kFillRect;
  operation.points = {{left, top}, {right, bottom}};
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Polyline(std::span<const ScreenPoint> points, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::kPolyline;
  operation.points.assign(points.begin(), points.end());
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::FillPolygon(std::span<const ScreenPoint> points, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::kFillPolygon;
  operation.points.assign(points.begin(), points.end());
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::kCircle;
  operation.points = {centre};
  operation.radiusPx = radiusPx;
  operation.filled = filled;
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                           TextVertical vertical, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::kText;
  operation.points = {at};
  operation.text = std::string(text);
  operation.size = size;
  operation.align = align;
  operation.vertical = vertical;
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

std::vector<DrawOperation> RecordingTarget::Texts() const {
  std::vector<DrawOperation> texts;
  for (const DrawOperation& operation : operations_) {
    if (operation.kind == DrawOperation::Kind::kText) texts.push_back(operation);
  }
  return texts;
}

}  // namespace lumaro
