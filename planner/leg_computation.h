// The leg computation of the plan rows: courses, cumulative distances,
// altitudes and times, the top-of-climb and top-of-descent rows, and the
// check for turns sharper than 100 degrees.
#pragma once

#include <string>
#include <string_view>

#include "navdb/entry_list.h"
#include "planner/flight_plan.h"

namespace planner {

inline constexpr double kPi = 3.14159265359;
inline constexpr double kDegToRad = kPi * (1.0 / 180);

// Brings every row of the dialog's list up to date: runs the turn-point
// generator for both airports, rebuilds TOC and TOD, and computes each
// row's altitude, course, distance and time. `airports` is the database's
// airport list. A plan that holds a row not in the row layout (a verbatim
// row, which has no position) is left as it is.
void ComputeLegs(PlannerState& state, const navdb::EntryList& airports);

// A plan read from a file shows its rows as stored. The dialog computes them
// as it opens (the runway lists come from the database) and again at the
// first change (the airports move to their runways); this does both.
void RecomputeOpenedPlan(PlannerState& state, const navdb::EntryList& airports);

// True airspeed from the cruise speed text: knots, or a Mach number when the
// value lies between 0 and 5 (corrected for the cruise altitude).
double TrueAirspeedKt(std::string_view cruiseSpeedText, int32_t cruiseAltitudeFt);

// Rotates (x, y) about (a, b) by `angleRad`, the angle measured from the +y
// axis toward +x.
void RotatePoint(double& x, double& y, double a, double b, double angleRad);

// Value in degrees brought into -180..180.
double NormalizedLongitude(double longitudeDeg);

}  // namespace planner
