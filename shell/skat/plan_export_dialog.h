// "Export..." of the Flight Plan dialog and "Save plan as / Export..." of the
// File menu: the plan written as a FlightGear route, an X-Plane 11 FMS file
// or a GPX 1.1 route by the exporters `skat-cli plan export` uses, so both
// front ends write the same bytes for the same plan.
#pragma once

#include <QStringList>

#include <filesystem>

#include "planner/flight_plan.h"

class QWidget;

enum class PlanExportOutcome { Exported, Cancelled, Refused, Failed };

// The save dialog's filters, one per format, in the order offered.
QStringList PlanExportFilters();

// Refuses a plan no simulator could take (before any file is asked for),
// then asks for the file: the filter chosen decides the format, and a name
// typed without a suffix gets the format's. The dialog starts in the folder
// of the last export (at first the plan's FlightPlans folder) on the plan's
// name. `planFile` is the plan's own file, which is never written over.
// Every refusal and failed write is told in a message box over `parent`
// naming the file and the reason; only a written file counts as Exported.
PlanExportOutcome ExportPlanAs(QWidget* parent, const planner::PlannerState& plan,
                               const std::filesystem::path& planFile);
