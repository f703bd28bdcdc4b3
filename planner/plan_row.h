// One row of a flight plan: a waypoint of the Flight Plan dialog's list and
// of the "[WAYPOINTS]" section of a plan file. The planner computes on the
// row's typed values; its fixed-column text is made and read only here, by
// FormatPlanRow and ParsePlanRow, where a plan file is written and read and
// where the dialog shows its list. The navigation display reads that text
// at fixed columns, so every row the planner writes keeps the exact layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace planner {

enum class PlanRowKind {
  // Navaids of the database.
  Ndb,
  Vor,
  Ils,
  Airport,
  Intersection,
  // Points the leg computation places.
  TopOfClimb,
  TopOfDescent,
  // Points the SID/STAR generator places at the ends of the runway turns.
  DepartureTurnStart,
  DepartureTurnEnd,
  ArrivalTurnStart,
  ArrivalTurnEnd,
};

// TOC, TOD and the four runway turn points: made by the planner, never picked.
bool IsGenerated(PlanRowKind kind);
// The three letters a row of the kind begins with: "APT", "TOC", "BRD", ...
std::string_view KindCode(PlanRowKind kind);

// A latitude or longitude as a row's text holds it ("N48°51'24.00"). The
// text cuts at hundredths of an arc-second, and no double of degrees gives
// every such text back; these parts do, and Degrees() is the value the text
// reads as (navdb::ParseLatitude), which the legs are computed from.
struct RowCoordinate {
  bool negative = false;  // south or west
  int degrees = 0;
  int minutes = 0;
  int hundredthsOfSecond = 0;  // whole seconds times 100 plus the hundredths

  double Degrees() const;
  // The text navdb::FormatLatitude / FormatLongitude write for `degrees`:
  // every step cuts, so a value a hair below a hundredth shows the one below.
  static RowCoordinate FromDegrees(double degrees);
  bool operator==(const RowCoordinate&) const = default;
};

// The cumulative time of a computed row: hours, minutes and seconds, or no
// time at all ("--:--:--") when there was no speed to time it with.
struct RowTime {
  bool known = true;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;

  // The clock reading of `minutes`: seconds rounded half away from zero and
  // carried into the minutes and hours, never ":60".
  static RowTime FromMinutes(double minutes);
  static RowTime Unknown() { return RowTime{false}; }
  bool operator==(const RowTime&) const = default;
};

struct PlanRow {
  PlanRowKind kind = PlanRowKind::Intersection;
  // The navaid's identifier and name as its database line holds them
  // (Windows-1252); "*****" and the caption, "(Top Of Climb)", for a
  // generated point.
  std::string identifier;
  std::string name;
  // The frequency as the navaid's line shows it ("113.90", "375.0"), or
  // kNoFrequency. Only shown, never computed with.
  std::string frequency;
  RowCoordinate latitude;
  RowCoordinate longitude;
  // The elevation of the navaid as inserted; the planned altitude once the
  // legs are computed.
  std::optional<int> altitudeFt;
  // The course of the leg that ends here; on the departure and arrival the
  // runway heading.
  std::optional<int> courseDeg;
  // From the departure, in whole tenths of a nautical mile (the text cuts).
  std::optional<int64_t> distanceTenthsNm;
  std::optional<RowTime> time;
  // The width the text is padded to with blanks: a row inserted from the
  // database keeps the width of its line until it is computed; 0 for none.
  int paddedChars = 0;
  // A row read from a file that does not follow the row layout: its text,
  // kept and written back exactly as it was. Such a row has no typed values
  // and is no point of the route.
  std::optional<std::string> verbatim;

  bool IsVerbatim() const { return verbatim.has_value(); }
  double LatitudeDeg() const { return latitude.Degrees(); }
  double LongitudeDeg() const { return longitude.Degrees(); }
  // The cumulative distance as the text shows it; 0 when there is none.
  double DistanceNm() const;
  bool operator==(const PlanRow&) const = default;
};

inline constexpr std::string_view kNoFrequency = "---.--";

// The whole tenths of a nautical mile the distance column shows of
// `distanceNm`: the whole miles and the tenth, each cut.
int64_t TenthsOfNm(double distanceNm);
// The distance column, "%04d.%1d" of the whole miles and the cut tenth.
std::string FormatDistance(double distanceNm);
// The time column, "%02d:%02d:%02d" of RowTime::FromMinutes(minutes).
std::string FormatTime(double minutes);

// The row's text: the fixed columns of the plan file, the dialog's list and
// the route the navigation display reads; a verbatim row's own text.
std::string FormatPlanRow(const PlanRow& row);

// The row a text holds. A text that FormatPlanRow would not give back
// exactly is held verbatim, so FormatPlanRow(ParsePlanRow(text)) == text
// for every text.
PlanRow ParsePlanRow(std::string_view text);

// A navaid of the database as the dialog inserts it: `identity` the first
// 33 characters of its line (identifier and name), `frequency` the 6 of its
// frequency column, `position` the 36 from its latitude on (latitude,
// longitude and elevation). The row keeps the line's width until computed;
// a line whose columns do not read gives a verbatim row.
PlanRow InsertedRow(PlanRowKind kind, std::string_view identity, std::string_view frequency,
                    std::string_view position);

// A waypoint the database does not hold, at the position a foreign plan
// gives, as the import writes it: no name, no frequency, altitude 0.
PlanRow ForeignWaypointRow(PlanRowKind kind, std::string_view identifier, double latitudeDeg,
                           double longitudeDeg);

// A point the planner places, at the text of its position: "*****", the
// kind's caption ("(Top Of Climb)") and no frequency; no computed field yet.
PlanRow GeneratedRow(PlanRowKind kind, double latitudeDeg, double longitudeDeg);

// The identifier and name as the navaid's database line begins: the key
// its lines are found by.
std::string LineIdentity(const PlanRow& row);

// The kind a row is marked with: its own, or for a verbatim row the kind
// its text begins with, if any.
std::optional<PlanRowKind> MarkedKind(const PlanRow& row);

// The coordinate a latitude (12 characters) or longitude (13) text holds,
// as FormatLatitude / FormatLongitude write them; nothing for another text.
std::optional<RowCoordinate> ReadLatitudeText(std::string_view text);
std::optional<RowCoordinate> ReadLongitudeText(std::string_view text);

// True when the two rows begin alike over their kind, identifier and name
// (letter case ignored): the same navaid, wherever it moved in the list.
bool SameNavaid(const PlanRow& row, const PlanRow& moved);

// The texts of a row's columns as the printed plan lays them out, each cut
// or padded to its width; a verbatim row's are cut from its text.
struct PrintedColumns {
  std::string kind;          // 5 characters
  std::string identifier;    // 6
  std::string name;          // 26
  std::string frequency;     // 8: the frequency and the blanks after it
  std::string latitude;      // 14
  std::string longitude;     // 15
  std::string altitude;      // 7
  std::string course;        // 5
  std::string distanceTime;  // the rest of the row: distance and time, as they stand
};
PrintedColumns PrintedColumnsOf(const PlanRow& row);

}  // namespace planner
