// The route picture beside the waypoint list: the plan drawn to scale,
// north up, waypoints labelled, the generated turn points and TOC/TOD
// marked, the selected row highlighted.
#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class RoutePicture : public QWidget {
  Q_OBJECT

 public:
  explicit RoutePicture(QWidget* parent = nullptr);

  // The plan rows as the list shows them, and the selected row.
  void setRoute(const std::vector<std::string>& rows, std::optional<size_t> selectedRow);

  QSize sizeHint() const override { return {320, 320}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Point {
    double eastNm;   // from the first row, along the parallel
    double northNm;  // from the first row
    std::string label;
    char kind;  // 'W' waypoint, 'T' turn point, 'C' TOC/TOD
  };
  std::vector<Point> points_;
  std::optional<size_t> selected_;
};
