#include "drawing/recording_target.h"

namespace lumaro {

void RecordingTarget::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::FillRect;
  operation.points = {{left, top}, {right, bottom}};
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Polyline(std::span<const ScreenPoint> points, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::Polyline;
  operation.points.assign(points.begin(), points.end());
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::FillPolygon(std::span<const ScreenPoint> points, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::FillPolygon;
  operation.points.assign(points.begin(), points.end());
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::Circle;
  operation.points = {centre};
  operation.radiusPx = radiusPx;
  operation.filled = filled;
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                           TextVertical vertical, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::Text;
  operation.points = {at};
  operation.text = std::string(text);
  operation.size = size;
  operation.align = align;
  operation.vertical = vertical;
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::OpaqueText(ScreenPoint at, std::string_view text, FontSize size,
                                 TextAlign align, TextVertical vertical, Rgb colour,
                                 Rgb background) {
  Text(at, text, size, align, vertical, colour);
  operations_.back().opaque = true;
  operations_.back().background = background;
}

void RecordingTarget::Arc(ScreenPoint centre, int radiusPx, double startDeg, double endDeg,
                          Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::Arc;
  operation.points = {centre};
  operation.radiusPx = radiusPx;
  operation.startDeg = startDeg;
  operation.endDeg = endDeg;
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

void RecordingTarget::DottedLine(ScreenPoint from, ScreenPoint to, Rgb colour) {
  DrawOperation operation;
  operation.kind = DrawOperation::Kind::DottedLine;
  operation.points = {from, to};
  operation.colour = colour;
  operations_.push_back(std::move(operation));
}

std::vector<DrawOperation> RecordingTarget::Texts() const {
  return OfKind(DrawOperation::Kind::Text);
}

std::vector<DrawOperation> RecordingTarget::OfKind(DrawOperation::Kind kind) const {
  std::vector<DrawOperation> found;
  for (const DrawOperation& operation : operations_) {
    if (operation.kind == kind) found.push_back(operation);
  }
  return found;
}

std::vector<DrawOperation> RecordingTarget::TextsReading(std::string_view text) const {
  std::vector<DrawOperation> found;
  for (const DrawOperation& operation : operations_) {
    if (operation.kind == DrawOperation::Kind::Text && operation.text == text) {
      found.push_back(operation);
    }
  }
  return found;
}

}  // namespace lumaro
