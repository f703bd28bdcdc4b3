// The widgets of the Flight Plan dialog and their places.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/route_picture.h"
#include "shell/skat/window_view.h"

namespace {

constexpr const char* kRowHeader =
    "Type  ID     Full name                 Freq     Latitude       Longitude   Alt(ft) Hdg "
    "Dist(nm)  Time";

QPushButton* Button(QWidget* parent, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(caption);
  button->setAutoDefault(false);
  return button;
}

QLabel* Label(QWidget* parent, const char* text) {
  return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

QLineEdit* FlightPlanDialog::makeNumberField(const char* name, const planner::WholeRange& range) {
  auto* field = new QLineEdit(this);
  field->setObjectName(name);
  // As many digits as the value's column holds, so that no value the rows
  // cannot show can be typed.
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(range.digits)), field));
  field->setMaximumWidth(70);
  return field;
}

QWidget* FlightPlanDialog::makePerformanceGroup() {
  auto* group = new QGroupBox("Aircraft performance", this);
  auto* grid = new QGridLayout(group);
  aircraft_ = new QLineEdit(group);
  aircraft_->setObjectName("Aircraft");
  aircraft_->setMaxLength(static_cast<int>(planner::kMaxNameChars));
  grid->addWidget(Label(group, "Aircraft :"), 0, 0);
  grid->addWidget(aircraft_, 0, 1, 1, 3);
  grid->addWidget(Label(group, "Climb"), 1, 1);
  grid->addWidget(Label(group, "Descent"), 1, 2);
  grid->addWidget(Label(group, "Cruise"), 1, 3);
  climbRate_ = makeNumberField("Climb rate", planner::kRateRange);
  descentRate_ = makeNumberField("Descent rate", planner::kRateRange);
  grid->addWidget(Label(group, "Rate :"), 2, 0);
  grid->addWidget(climbRate_, 2, 1);
  grid->addWidget(descentRate_, 2, 2);
  grid->addWidget(Label(group, "fpm"), 2, 3);
  climbSpeed_ = makeNumberField("Climb speed", planner::kSpeedRange);
  descentSpeed_ = makeNumberField("Descent speed", planner::kSpeedRange);
  cruiseSpeed_ = new QLineEdit(group);
  cruiseSpeed_->setObjectName("Cruise speed");
  cruiseSpeed_->setMaxLength(static_cast<int>(planner::kMaxCruiseSpeedChars));
  cruiseSpeed_->setMaximumWidth(70);
  grid->addWidget(Label(group, "Speed (kts):"), 3, 0);
  grid->addWidget(climbSpeed_, 3, 1);
  grid->addWidget(descentSpeed_, 3, 2);
  grid->addWidget(cruiseSpeed_, 3, 3);
  grid->addWidget(Label(group, "Mach or kts"), 4, 3);
  cruiseAltitude_ = makeNumberField("Cruise altitude", planner::kCruiseAltitudeRange);
  grid->addWidget(Label(group, "Altitude :"), 4, 0);
  grid->addWidget(cruiseAltitude_, 4, 1);
  grid->addWidget(Label(group, "ft(msl)"), 4, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button(group, "Load"));
  buttons->addWidget(Button(group, "Save"));
  grid->addLayout(buttons, 5, 0, 1, 4);
  // Two buttons are named "Save": the performance one is told apart by its group.
  group->findChild<QPushButton*>("Save")->setObjectName("Save performance");
  group->findChild<QPushButton*>("Load")->setObjectName("Load performance");
  return group;
}

QWidget* FlightPlanDialog::makeEndGroup(const char* title, QLineEdit*& airport,
                                        QComboBox*& runway) {
  auto* group = new QGroupBox(title, this);
  auto* grid = new QGridLayout(group);
  airport = new QLineEdit(group);
  airport->setObjectName(QString(title) + " airport");
  airport->setReadOnly(true);
  airport->setMaximumWidth(100);
  runway = new QComboBox(group);
  runway->setObjectName(QString(title) + " runway");
  runway->setEditable(true);
  runway->setInsertPolicy(QComboBox::NoInsert);
  runway->setFont(window_.listFont());
  runway->setMinimumContentsLength(13);
  grid->addWidget(airport, 0, 0, 1, 2);
  grid->addWidget(Label(group, "Runway"), 1, 0);
  auto* heading = Label(group, "N\u00b0 / HDG / LEN");
  grid->addWidget(heading, 1, 1);
  grid->addWidget(runway, 2, 0, 1, 2);
  grid->setRowStretch(3, 1);
  return group;
}

QWidget* FlightPlanDialog::makeSidStarGroup() {
  auto* group = new QGroupBox("SID/STAR Generator", this);
  auto* grid = new QGridLayout(group);
  enabled_ = new QCheckBox("Enabled", group);
  enabled_->setObjectName("Enabled");
  rotationDistance_ = new QLineEdit(group);
  rotationDistance_->setObjectName("Rotation distance");
  rotationDistance_->setMaxLength(255);
  rotationDistance_->setMaximumWidth(70);
  rotationRadius_ = new QLineEdit(group);
  rotationRadius_->setObjectName("Rotation radius");
  rotationRadius_->setMaxLength(255);
  rotationRadius_->setMaximumWidth(70);
  // Plain decimals of the generator's range: a sign or an exponent would
  // put the turn points off the map and out of their columns.
  for (QLineEdit* field : {rotationDistance_, rotationRadius_}) {
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}(\\.[0-9]?)?")), field));
  }
  grid->addWidget(enabled_, 0, 0, 1, 2);
  grid->addWidget(Label(group, "Rotation at D (NM from runway)"), 1, 0);
  grid->addWidget(rotationDistance_, 1, 1);
  grid->addWidget(Label(group, "Rotation radius (in NM)"), 2, 0);
  grid->addWidget(rotationRadius_, 2, 1);
  grid->setRowStretch(3, 1);
  return group;
}

QWidget* FlightPlanDialog::makeWaypointGroup() {
  auto* group = new QGroupBox("Waypoints", this);
  auto* layout = new QGridLayout(group);
  header_ = new QLabel(kRowHeader, group);
  header_->setObjectName("Row header");
  header_->setFont(window_.listFont());
  rows_ = new QListWidget(group);
  rows_->setObjectName("Waypoint rows");
  rows_->setFont(window_.listFont());
  rows_->setUniformItemSizes(true);
  // Wide enough for a whole row at the default size.
  rows_->setMinimumWidth(QFontMetrics(window_.listFont()).horizontalAdvance(QString(106, 'M')) +
                         24);
  rows_->setMinimumHeight(QFontMetrics(window_.listFont()).height() * 16);
  picture_ = new RoutePicture(group);
  layout->addWidget(header_, 0, 0);
  layout->addWidget(rows_, 1, 0);
  layout->addWidget(picture_, 0, 1, 2, 1);
  layout->setColumnStretch(0, 3);
  layout->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  for (const char* caption : {"Move Up", "Move Dn", "Remove", "Insert", "Replace"}) {
    buttons->addWidget(Button(group, caption));
  }
  buttons->addStretch(1);
  layout->addLayout(buttons, 2, 0, 1, 2);
  return group;
}

QWidget* FlightPlanDialog::makeBottomRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Label(row, "Flight plan file name"));
  planName_ = new QLineEdit(row);
  planName_->setObjectName("Flight plan file name");
  planName_->setMaxLength(static_cast<int>(planner::kMaxNameChars));
  layout->addWidget(planName_, 1);
  layout->addSpacing(24);
  // "Export..." (the same plan written for another simulator) sits beside
  // Save; made in reading order, as Tab walks them.
  for (const char* caption : {"Save", "Export...", "Print", "Cancel"}) {
    layout->addWidget(Button(row, caption));
  }
  return row;
}
