/*
 * Read-only snapshot the Lumaro module hands to the host's optional
 * publishDiagnostics service (slot 45) after every update cycle. Hosts show
 * it for diagnosis; the module never reads anything back from it.
 */
#ifndef LUMARO_DIAGNOSTICS_H
#define LUMARO_DIAGNOSTICS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Display record kinds. */
#define LUMARO_KIND_VOR 1
#define LUMARO_KIND_ILS 2
#define LUMARO_KIND_DME 3
#define LUMARO_KIND_NDB 4
#define LUMARO_KIND_AIRPORT 5
#define LUMARO_KIND_INTERSECTION 6
#define LUMARO_KIND_TOP_OF_CLIMB 7
#define LUMARO_KIND_TOP_OF_DESCENT 8
#define LUMARO_KIND_DEPARTURE 9
#define LUMARO_KIND_ARRIVAL 10

#define LUMARO_LIST_CAPACITY 50
#define LUMARO_ROUTE_CAPACITY 256

/* One navaid or route point as the display draws it (28 bytes). */
typedef struct LumaroDisplayRecord {
  float latitudeDeg;  /* north positive */
  float longitudeDeg; /* east positive */
  int32_t row;        /* record number in the kind's database file; -1 for route points */
  char label[8];      /* route point label; zero in the navaid lists */
  int32_t kind;       /* LUMARO_KIND_* */
  int32_t shown;      /* 1 = draw (lists) or valid (route) */
} LumaroDisplayRecord;

/* Departure or arrival runway of the route (20 bytes). */
typedef struct LumaroRunwayRecord {
  char airport[6];
  char designation[6];
  int32_t headingDeg;
  int32_t lengthFt;
} LumaroRunwayRecord;

enum LumaroListIndex {
  LUMARO_LIST_VOR = 0,
  LUMARO_LIST_NDB = 1,
  LUMARO_LIST_AIRPORT = 2,
  LUMARO_LIST_INTERSECTION = 3,
  LUMARO_LIST_COUNT = 4
};

typedef struct LumaroDiagnostics {
  uint32_t sizeBytes; /* sizeof(LumaroDiagnostics) */
  int32_t databaseStatus;
  int32_t ndMode;
  int32_t mapMode;
  int32_t item;
  int32_t rangeNm;
  uint32_t redrawCount;
  uint32_t loaderRuns; /* completed loader runs */
  int32_t loading;
  int32_t startupDelayPassed;
  int32_t passDataMapped; /* "NDPassData" is open */
  uint32_t ndModeKey;
  uint32_t ndModeModifiers;
  int32_t elementValue;
  int32_t surfaceFailed;
  int32_t compassCentreYPx;
  int32_t compassRadiusPx;
  uint32_t routeReads;    /* route blocks found and read */
  int32_t nextRouteBlock; /* the number the next route poll opens */
  LumaroDisplayRecord lists[LUMARO_LIST_COUNT][LUMARO_LIST_CAPACITY];
  LumaroDisplayRecord tuned;
  LumaroDisplayRecord route[LUMARO_ROUTE_CAPACITY];
  LumaroRunwayRecord departure;
  LumaroRunwayRecord arrival;
} LumaroDiagnostics;

#ifdef __cplusplus
static_assert(sizeof(LumaroDisplayRecord) == 28, "display records are 28 bytes");
static_assert(sizeof(LumaroRunwayRecord) == 20, "runway records are 20 bytes");
}
#endif

#endif /* LUMARO_DIAGNOSTICS_H */
