#include "window_controls.h"

namespace ndhost {

bool ApplyFlightKey(uint32_t virtualKey, bool shift, bool ctrl, FlightSession& session) {
  // Ctrl is left to the display's own key combinations.
  if (ctrl) return false;
  switch (virtualKey) {
    case kKeyLeft:
      shift ? session.ChangeCourse(-kCourseStepDeg) : session.TurnBy(-kHeadingStepDeg);
      return true;
    case kKeyRight:
      shift ? session.ChangeCourse(kCourseStepDeg) : session.TurnBy(kHeadingStepDeg);
      return true;
    case kKeyUp:
      session.ChangeSpeed(kSpeedStepKt);
      return true;
    case kKeyDown:
      session.ChangeSpeed(-kSpeedStepKt);
      return true;
    case kKeyPageUp:
      session.ChangeAltitude(kAltitudeStepFt);
      return true;
    case kKeyPageDown:
      session.ChangeAltitude(-kAltitudeStepFt);
      return true;
    case kKeySpace:
      session.TogglePause();
      return true;
    case kKeyEnter:
      session.ToggleFollowPlan();
      return true;
    case kKeyF5:
      session.CycleStation(RadioSlot::Nav1, shift);
      return true;
    case kKeyF6:
      session.CycleStation(RadioSlot::Nav2, shift);
      return true;
    case kKeyF7:
      session.CycleStation(RadioSlot::Adf, shift);
      return true;
    default:
      return false;
  }
}

std::string FlightKeyLegend() {
  return "flight keys (window, or --keys with the names in brackets):\n"
         "  Left/Right [left/right]     selected heading -/+ 10 deg (turns at 3 deg/s)\n"
         "  Shift+Left/Right            NAV 1 course -/+ 5 deg\n"
         "  Up/Down [up/down]           airspeed +/- 10 kt\n"
         "  PgUp/PgDn [pgup/pgdn]       selected altitude +/- 500 ft\n"
         "  Space [space]               pause / go on\n"
         "  Enter [enter]               follow the plan on/off (--route)\n"
         "  F5, F6, F7 [f5..f7]         next NAV 1, NAV 2, ADF station in range (Shift: previous)\n"
         "display keys: Tab compass/arc; Shift+G, Shift+Ctrl+G range up/down;\n"
         "  Shift+Ctrl+V/M/P VOR/MAP/PLAN; Shift+X/W/V/N/A route, intersections,\n"
         "  VORs, NDBs, airports\n";
}

}  // namespace ndhost
