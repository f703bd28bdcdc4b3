/*
 * Panel interface between the flight simulator (the host) and a gauge module.
 *
 * Both sides include this one header. The module exports two data symbols:
 *   Linkage      the module descriptor (PanelLinkage)
 *   ImportTable  the table through which the host hands over its services
 * The host writes the address of its PanelServices into ImportTable before it
 * calls any gauge callback; the module reaches every host service through it.
 *
 * Pointers are native pointer size; the field order of every record is fixed.
 * Host variable entries are exactly 32 bytes on 32- and 64-bit builds.
 */
#ifndef PANEL_INTERFACE_H
#define PANEL_INTERFACE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PANEL_LINKAGE_ID 0x13u
#define PANEL_IMPORT_SERVICES_ID 0x0Fu
#define PANEL_GAUGE_HEADER_VERSION 610u

/* Element types and image pixel formats. */
#define PANEL_ELEMENT_STATIC_IMAGE 0u
#define PANEL_ELEMENT_ICON 4u
#define PANEL_FORMAT_PALETTE8 1u /* 8-bit indices into the bitmap's colour table */
#define PANEL_FORMAT_RGB1555 2u  /* 16-bit: alpha bit 15, red 14-10, green 9-5, blue 4-0 */

/* Mouse rectangle entry types. */
#define PANEL_MOUSE_END 0u
#define PANEL_MOUSE_PARENT 1u
#define PANEL_MOUSE_END_PARENT 3u

/* Message box flags (Windows values) for the messageBox service. */
#define PANEL_MB_OK 0x00u
#define PANEL_MB_ICONERROR 0x10u
#define PANEL_MB_ICONWARNING 0x30u

/* Windows virtual-key codes the hosts and modules share. */
#define PANEL_VK_TAB 0x09u
#define PANEL_VK_SHIFT 0x10u
#define PANEL_VK_CONTROL 0x11u

/* Image descriptor of an element, filled by the host. */
typedef struct PanelImage {
  uint32_t formatCode; /* PANEL_FORMAT_*; also the bytes per pixel */
  uint32_t width;
  uint32_t height;
  uint32_t pitchBytes;
  struct PanelImage* secondImage; /* a second copy of the element's image, same form */
  uint32_t sizeBytes;
  uint8_t* pixels; /* top row first */
} PanelImage;

/* Failure record: (key, action) pairs ending with (0, 0). */
typedef struct PanelFailureRecord {
  uint32_t failureKey;
  uint32_t action;
} PanelFailureRecord;

struct PanelElement;
typedef int32_t (*PanelElementCallback)(struct PanelElement* element);

/* Element A (static image) and element B (icon) share this record. */
typedef struct PanelElement {
  uint32_t elementType; /* PANEL_ELEMENT_* */
  uint32_t resourceId;  /* bitmap resource of the element's image */
  uint32_t imageFlags;
  const PanelFailureRecord* failures;
  struct PanelElement** nextElements;  /* null-terminated list, may be null */
  PanelElementCallback updateCallback; /* icon elements only; null otherwise */
  PanelImage* image;                   /* filled by the host at element-list install */
} PanelElement;

/* Mouse rectangle list entry. */
typedef struct PanelMouseRect {
  uint32_t rectType; /* PANEL_MOUSE_* */
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t cursor;
  void* callback;
} PanelMouseRect;

/* Host variable entry: the host fills currentValue on each lookup. */
typedef union PanelValue {
  double number;
  int32_t integer;  /* flags and BCD values: first 32-bit word */
  const char* text; /* identifiers: NUL-terminated 8-bit text */
  uint8_t bytes[8];
} PanelValue;

#define PANEL_VALUE_NUMBER 0u
#define PANEL_VALUE_INTEGER 1u
#define PANEL_VALUE_TEXT 2u

/* The 27 host variables a display module reads, by token (PanelVariable.token). */
#define PANEL_VAR_HEADING 81u            /* heading, degrees */
#define PANEL_VAR_NAV1_FREQUENCY 24u     /* NAV 1 frequency, 4 BCD digits */
#define PANEL_VAR_DME 31u                /* DME 1 distance, nautical miles */
#define PANEL_VAR_DME2 35u               /* DME 2 distance, nautical miles */
#define PANEL_VAR_GROUND_SPEED 32u       /* ground speed, knots */
#define PANEL_VAR_SELECTED_HEADING 107u  /* autopilot heading, degrees */
#define PANEL_VAR_NAV_COURSE 45u         /* NAV 1 selected course, degrees */
#define PANEL_VAR_COURSE_DEVIATION 40u   /* NAV 1 lateral deviation */
#define PANEL_VAR_VERTICAL_DEVIATION 41u /* glide-slope deviation */
#define PANEL_VAR_NAV1_FLAGS 46u         /* NAV 1 flags */
#define PANEL_VAR_VERTICAL_SCALE 44u     /* glide-slope scale */
#define PANEL_VAR_TO_FROM_FLAGS 42u      /* NAV 1 to/from flags */
#define PANEL_VAR_NAV1_IDENT 47u         /* NAV 1 identifier, text */
#define PANEL_VAR_DEVIATION_RANGE 49u    /* NAV 1 deviation range */
#define PANEL_VAR_ADF_BEARING 39u        /* ADF relative bearing, degrees */
#define PANEL_VAR_ADF_IDENT 19u          /* ADF identifier, text */
#define PANEL_VAR_ADF_ACTIVE 20u         /* ADF receiving */
#define PANEL_VAR_MARKER 354u            /* marker beacon, 0 to 3 */
#define PANEL_VAR_NAV2_FLAGS 55u         /* NAV 2 flags */
#define PANEL_VAR_NAV2_IDENT 56u         /* NAV 2 identifier, text */
#define PANEL_VAR_NAV2_BEARING 59u       /* NAV 2 bearing, degrees */
#define PANEL_VAR_WIND_SPEED 343u        /* wind speed, knots */
#define PANEL_VAR_WIND_DIRECTION 344u    /* wind direction, degrees */
#define PANEL_VAR_LATITUDE 71u           /* latitude, host units */
#define PANEL_VAR_LONGITUDE 72u          /* longitude, host units */
#define PANEL_VAR_COURSE_OFFSET 82u      /* course offset, degrees */
#define PANEL_VAR_MAP_HEADING 86u        /* map heading, degrees */
#define PANEL_HOST_VARIABLE_COUNT 27u

#pragma pack(push, 4)
typedef struct PanelVariable {
  uint32_t token;
  void* hostData;     /* the host's own use */
  uint32_t valueType; /* PANEL_VALUE_*: how the module reads currentValue */
  PanelValue currentValue;
  PanelValue valueAtLastRedraw;
#if UINTPTR_MAX == 0xFFFFFFFFu
  uint32_t reserved; /* completes 32 bytes where pointers are 4 bytes */
#endif
} PanelVariable;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(PanelVariable) == 32, "host variable entries are 32 bytes");
#else
_Static_assert(sizeof(PanelVariable) == 32, "host variable entries are 32 bytes");
#endif

struct PanelGaugeHeader;

/*
 * Host services, one pointer per slot. Slots 24-40 follow the simulator's
 * panel interface. Slots 41-44 replace what a module would otherwise take
 * from the operating system, so the host (and a test) controls time, keys
 * and message boxes:
 *   41 keyPressedSinceLastPoll  non-zero when the key (Windows virtual-key
 *                               code) was pressed since the previous call
 *                               for that key; the call clears the record
 *   42 keyDown                  non-zero while the key is held down
 *   43 calendarSeconds          the calendar clock in whole seconds
 *   44 messageBox               a modal message box; returns the button
 *   45 publishDiagnostics       optional (may be null): receives a read-only
 *                               snapshot of the module's state after every
 *                               update cycle (see lumaro_diagnostics.h)
 * Unlisted slots are reserved and may be null.
 */
typedef struct PanelServices {
  void* reservedSlots0To23[24];
  void (*elementListQuery)(PanelElement* first);                      /* 24 */
  void (*elementListInstall)(PanelElement* first, void* resourceArg); /* 25 */
  void (*elementListInitialize)(PanelElement* first);                 /* 26 */
  void (*elementListUpdate)(PanelElement* first);                     /* 27 */
  void (*elementListGenerate)(PanelElement* first, uint32_t phase);   /* 28 */
  void (*elementListPlot)(PanelElement* first);                       /* 29 */
  void* reservedSlot30;                                               /* 30 */
  void (*elementListKill)(PanelElement* first);                       /* 31 */
  void (*mouseListInstall)(PanelMouseRect* list, struct PanelGaugeHeader* gauge,
                           void* imageSize);                                         /* 32 */
  void (*mouseListRegister)(PanelMouseRect* list, struct PanelGaugeHeader* gauge);   /* 33 */
  void (*mouseListUnregister)(PanelMouseRect* list, struct PanelGaugeHeader* gauge); /* 34 */
  void* reservedSlots35To37[3];                                                      /* 35-37 */
  void (*variableInitialize)(PanelVariable* variable);                               /* 38 */
  void* reservedSlot39;                                                              /* 39 */
  void (*variableLookup)(PanelVariable* variable);                                   /* 40 */
  uint32_t (*keyPressedSinceLastPoll)(uint32_t virtualKey);                          /* 41 */
  uint32_t (*keyDown)(uint32_t virtualKey);                                          /* 42 */
  int64_t (*calendarSeconds)(void);                                                  /* 43 */
  int32_t (*messageBox)(const char* text, const char* caption, uint32_t flags);      /* 44 */
  void (*publishDiagnostics)(const void* snapshot, uint32_t sizeBytes);              /* 45 */
} PanelServices;

#define PANEL_SERVICE_SLOT(member) (offsetof(PanelServices, member) / sizeof(void*))

/* Gauge header: one per gauge of the module. */
typedef struct PanelGaugeHeader {
  uint32_t headerVersion; /* PANEL_GAUGE_HEADER_VERSION */
  const char* gaugeName;
  PanelElement** elementList; /* null-terminated */
  void (*query)(void);
  void (*install)(void* resourceArg);
  void (*initialize)(void);
  void (*update)(void);
  void (*generate)(uint32_t phase);
  void (*draw)(void);
  void (*kill)(void);
  void* instanceHandle; /* filled by the host: the handle the module loads its bitmaps from */
  uint32_t sizeXmm;
  uint32_t sizeYmm;
  uint32_t reservedWords[8];
} PanelGaugeHeader;

/*
 * Bitmap resource of a module: a device-independent bitmap (header, colour
 * table, pixel rows bottom row first) as it would be stored in a resource.
 */
typedef struct PanelResource {
  uint32_t resourceId;
  uint32_t sizeBytes;
  const uint8_t* bytes;
} PanelResource;

/* Module descriptor, exported as "Linkage". */
typedef struct PanelLinkage {
  uint32_t moduleId; /* PANEL_LINKAGE_ID */
  void (*moduleStart)(void);
  void (*moduleEnd)(void);
  uint32_t moduleFlags;
  uint32_t modulePriority;
  uint32_t moduleVersion;
  PanelGaugeHeader* gauges[2]; /* the gauge header, then null */
  /* The module's bitmap resources, ending with a zero resource id. A host
     without a resource loader of its own finds the element images here. */
  const PanelResource* resources;
} PanelLinkage;

/* Import table, exported as "ImportTable". */
typedef struct PanelImportEntry {
  uint32_t importId;
  void* pointer;
} PanelImportEntry;

typedef struct PanelImportTable {
  PanelImportEntry services; /* (PANEL_IMPORT_SERVICES_ID, PanelServices*) */
  PanelImportEntry end;      /* (0, null) */
} PanelImportTable;

#ifdef __cplusplus
}
#endif

#endif /* PANEL_INTERFACE_H */
