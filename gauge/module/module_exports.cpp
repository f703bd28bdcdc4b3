// The tables the host finds in the module ("Linkage", "ImportTable"), and the
// callbacks that forward to the one display the module serves.
#include "drawing/bitmaps.h"
#include "module/gauge_state.h"
#include "module/lumaro_export.h"

namespace {

void DoNothing() {}

lumaro::GaugeState& Gauge();

void QueryCallback() {
  lumaro::GaugeQuery(Gauge());
}
void InstallCallback(void* resourceArg) {
  lumaro::GaugeInstall(Gauge(), resourceArg);
}
void InitializeCallback() {
  lumaro::GaugeInitialize(Gauge());
}
void UpdateCallback() {
  lumaro::GaugeUpdate(Gauge());
}
void GenerateCallback(uint32_t phase) {
  lumaro::GaugeGenerate(Gauge(), phase);
}
void DrawCallback() {
  lumaro::GaugeDraw(Gauge());
}
void KillCallback() {
  lumaro::GaugeKill(Gauge());
}
int32_t DisplayElementCallback(PanelElement*) {
  return lumaro::GaugeElementCallback(Gauge());
}

const PanelFailureRecord kFailures[] = {{1, 3}, {0, 0}};

PanelElement displayElement = {PANEL_ELEMENT_ICON,
                               lumaro::kDisplayBitmapId,
                               7,
                               kFailures,
                               nullptr,
                               DisplayElementCallback,
                               nullptr};
PanelElement* displayElementList[] = {&displayElement, nullptr};
PanelElement backgroundElement = {PANEL_ELEMENT_STATIC_IMAGE,
                                  lumaro::kBackgroundBitmapId,
                                  5,
                                  kFailures,
                                  displayElementList,
                                  nullptr,
                                  nullptr};
PanelElement* elementList[] = {&backgroundElement, nullptr};

// The display takes no mouse input: an empty parent rectangle only.
PanelMouseRect mouseRects[] = {
    {PANEL_MOUSE_PARENT, 0, 0, 0, 0, -1, nullptr},
    {PANEL_MOUSE_END_PARENT, 0, 0, 0, 0, 0, nullptr},
    {PANEL_MOUSE_END, 0, 0, 0, 0, 0, nullptr},
};

PanelGaugeHeader gaugeHeader = {PANEL_GAUGE_HEADER_VERSION,
                                lumaro::kGaugeName,
                                elementList,
                                QueryCallback,
                                InstallCallback,
                                InitializeCallback,
                                UpdateCallback,
                                GenerateCallback,
                                DrawCallback,
                                KillCallback,
                                nullptr,
                                89,
                                0,
                                {}};

const PanelResource kResources[] = {
    {lumaro::kBackgroundBitmapId, lumaro::kBitmapBytes, lumaro::kBackgroundBitmap.data()},
    {lumaro::kDisplayBitmapId, lumaro::kBitmapBytes, lumaro::kDisplayBitmap.data()},
    {lumaro::kEmblemBitmapId, lumaro::kBitmapBytes, lumaro::kEmblemBitmap.data()},
    {0, 0, nullptr},
};

lumaro::GaugeState& Gauge() {
  static lumaro::GaugeState state;
  state.header = &gaugeHeader;
  state.firstElement = &backgroundElement;
  state.displayElement = &displayElement;
  state.mouseRects = mouseRects;
  state.backgroundBitmap = lumaro::kBackgroundBitmap;
  state.services = static_cast<const PanelServices*>(ImportTable.services.pointer);
  return state;
}

}  // namespace

PanelLinkage Linkage = {PANEL_LINKAGE_ID,        DoNothing, DoNothing, 0, 0, 0,
                        {&gaugeHeader, nullptr}, kResources};

PanelImportTable ImportTable = {{PANEL_IMPORT_SERVICES_ID, nullptr}, {0, nullptr}};
