// The route picture beside the waypoint list: the plan drawn to scale,
// north up, waypoints labelled, the generated turn points and TOC/TOD
// marked, the selected row highlighted. Its accessible description says
// the route in words.
#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "planner/plan_row.h"

class RoutePicture : public QWidget {
  Q_OBJECT

 public:
  explicit RoutePicture(QWidget* parent = nullptr);

  // The plan rows as the list shows them, and the selected row. A row
  // that is not in the row layout has no position and is left out.
  // The accessible description follows the rows.
  void setRoute(const std::vector<planner::PlanRow>& rows, std::optional<size_t> selectedRow);

  QSize sizeHint() const override { return {320, 320}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  enum class Mark { Waypoint, TurnPoint, ClimbOrDescent };
  struct Point {
    double eastNm;   // from the first row, along the parallel
    double northNm;  // from the first row
    std::string label;
    Mark mark;
    size_t row;  // its row in the list
  };
  static Mark MarkOf(planner::PlanRowKind kind);

  std::vector<Point> points_;
  std::optional<size_t> selected_;
};
