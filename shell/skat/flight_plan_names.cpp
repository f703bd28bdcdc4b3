#include "shell/skat/flight_plan_names.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace {

struct ControlName {
  const char* objectName;
  const char* accessibleName;
  const char* description;  // what the control does, where its name does not say
};

constexpr ControlName kNames[] = {
    {"Aircraft", "Aircraft name", nullptr},
    {"Climb rate", "Climb rate in feet per minute", nullptr},
    {"Descent rate", "Descent rate in feet per minute", nullptr},
    {"Climb speed", "Climb speed in knots", nullptr},
    {"Descent speed", "Descent speed in knots", nullptr},
    {"Cruise speed", "Cruise speed, Mach or knots", nullptr},
    {"Cruise altitude", "Cruise altitude in feet above sea level", nullptr},
    {"Load performance", "Load performance", "Read the aircraft performance from a file"},
    {"Save performance", "Save performance", "Write the aircraft performance to a file"},
    {"Departure airport", "Departure airport", nullptr},
    {"Departure runway", "Departure runway", "Number, heading and length of the runway"},
    {"Arrival airport", "Arrival airport", nullptr},
    {"Arrival runway", "Arrival runway", "Number, heading and length of the runway"},
    {"Enabled", "SID/STAR generator enabled", nullptr},
    {"Rotation distance", "Rotation distance in NM from the runway", nullptr},
    {"Rotation radius", "Rotation radius in NM", nullptr},
    {"Waypoint rows", "Waypoints", nullptr},
    {"Move Up", "Move waypoint up", nullptr},
    {"Move Dn", "Move waypoint down", nullptr},
    {"Remove", "Remove waypoint", nullptr},
    {"Insert", "Insert waypoint",
     "Insert a navaid picked in the main window before the selected row"},
    {"Replace", "Replace waypoint",
     "Replace the selected row by a navaid picked in the main window"},
    {"Flight plan file name", "Flight plan file name", nullptr},
    {"Save", "Save flight plan", "Write the flight plan file and close"},
    {"Print", "Print flight plan", nullptr},
    {"Cancel", "Cancel", "Close without saving the flight plan"},
};

}  // namespace

void NameFlightPlanControls(QWidget& dialog) {
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    // Qt's own parts (a list's viewport, an editable choice's box) are
    // named by the control they belong to.
    const QString objectName = widget->objectName();
    if (widget->focusPolicy() == Qt::NoFocus || objectName.isEmpty() ||
        objectName.startsWith(QLatin1String("qt_"))) {
      continue;
    }
    widget->setAccessibleName(widget->objectName());
    for (const ControlName& control : kNames) {
      if (widget->objectName() != QLatin1String(control.objectName)) continue;
      widget->setAccessibleName(QString::fromLatin1(control.accessibleName));
      if (control.description) {
        widget->setAccessibleDescription(QString::fromLatin1(control.description));
      }
    }
    // A runway may be typed as well as chosen: its box is a control of its own.
    if (auto* choice = qobject_cast<QComboBox*>(widget); choice && choice->lineEdit()) {
      choice->lineEdit()->setAccessibleName(widget->accessibleName() + " typed in");
    }
  }
}
