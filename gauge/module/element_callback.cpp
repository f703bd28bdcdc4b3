// Element B's callback: runs once per update inside the host's element-list
// update, takes the modes other components wrote, polls the keys, and
// decides from the host variables whether the display must be drawn again.
#include <cmath>

#include "module/gauge_state.h"

namespace lumaro {

namespace {

constexpr double kRedrawLatitudeFactor = 0.001;
constexpr double kRedrawLongitudeFactor = 1.20170654789094e-10;
constexpr double kReloadLatitudeFactor = 0.0001;
constexpr double kReloadLongitudeFactor = 1e-11;

bool SameTruncated(double current, double previous, double factor) {
  return std::trunc(current * factor) == std::trunc(previous * factor);
}

KeyboardInput KeyboardOf(const GaugeState& gauge) {
  const PanelServices* services = gauge.services;
  KeyboardInput keyboard;
  if (services == nullptr) return keyboard;
  if (services->keyPressedSinceLastPoll != nullptr) {
    keyboard.pressedSinceLastPoll = [services](uint32_t key) {
      return services->keyPressedSinceLastPoll(key) != 0;
    };
  }
  if (services->keyDown != nullptr) {
    keyboard.down = [services](uint32_t key) { return services->keyDown(key) != 0; };
  }
  return keyboard;
}

void RequestRedraw(GaugeState& gauge) {
  gauge.shared.redrawRequest = true;
}

void RecomputeGeometry(GaugeState& gauge) {
  gauge.geometry = ComputeCompassGeometry(gauge.modes.ndMode, gauge.surfaces.WidthPx(),
                                          gauge.surfaces.HeightPx());
}

// Modes another component wrote into "NDPassData"; values that make no
// sense to the display are left out.
void TakeBlockModes(GaugeState& gauge) {
  DisplayModes fromBlock = ReadPassModes(gauge.passData);
  DisplayModes& modes = gauge.modes;
  bool ndModeChanged =
      PassValueInRange(PassField::NdMode, fromBlock.ndMode) && fromBlock.ndMode != modes.ndMode;
  bool mapModeChanged =
      PassValueInRange(PassField::MapMode, fromBlock.mapMode) && fromBlock.mapMode != modes.mapMode;
  bool itemChanged =
      PassValueInRange(PassField::Item, fromBlock.item) && fromBlock.item != modes.item;
  bool rangeChanged =
      PassValueInRange(PassField::Range, fromBlock.rangeNm) && fromBlock.rangeNm != modes.rangeNm;
  if (ndModeChanged) modes.ndMode = fromBlock.ndMode;
  if (mapModeChanged) modes.mapMode = fromBlock.mapMode;
  if (itemChanged) modes.item = fromBlock.item;
  if (rangeChanged) modes.rangeNm = fromBlock.rangeNm;
  if (ndModeChanged) RecomputeGeometry(gauge);
  if (ndModeChanged || mapModeChanged || rangeChanged) {
    RequestRedraw(gauge);
    if (modes.mapMode != kMapModeVor) gauge.loaderRequest = LoaderRequest::Restart;
  }
  if (itemChanged && modes.mapMode != kMapModeVor) RequestRedraw(gauge);
}

bool NdModeKeyFired(GaugeState& gauge, const KeyboardInput& keyboard) {
  const KeyBinding& key = gauge.keys.ndMode;
  if (!keyboard.pressedSinceLastPoll || !keyboard.pressedSinceLastPoll(key.virtualKey))
    return false;
  if (!ModifiersMatch(key.modifiers, keyboard)) return false;
  gauge.modes.ndMode = gauge.modes.ndMode == kNdModeFullCompass ? kNdModeArc : kNdModeFullCompass;
  RecomputeGeometry(gauge);
  WritePassMode(gauge.passData, PassField::NdMode, gauge.modes.ndMode);
  RequestRedraw(gauge);
  if (gauge.modes.mapMode != kMapModeVor) gauge.loaderRequest = LoaderRequest::Restart;
  return true;
}

void CheckAircraftMoved(GaugeState& gauge) {
  double latitude = gauge.variables[HostVariable::Latitude].currentValue.number;
  double longitude = gauge.variables[HostVariable::Longitude].currentValue.number;
  if (!SameTruncated(latitude, gauge.previousRawLatitude, kRedrawLatitudeFactor) ||
      !SameTruncated(longitude, gauge.previousRawLongitude, kRedrawLongitudeFactor)) {
    RequestRedraw(gauge);
  }
  bool samePlace = SameTruncated(latitude, gauge.previousRawLatitude, kReloadLatitudeFactor) &&
                   SameTruncated(longitude, gauge.previousRawLongitude, kReloadLongitudeFactor);
  bool sameStation =
      VariableText(gauge.variables[HostVariable::Nav1Ident]) == gauge.nav1IdentAtLoaderStart;
  if (!samePlace || !sameStation) gauge.loaderRequest = LoaderRequest::Restart;
}

}  // namespace

int32_t GaugeElementCallback(GaugeState& gauge) {
  KeyboardInput keyboard = KeyboardOf(gauge);
  if (gauge.passData.block.IsOpen()) {
    TakeBlockModes(gauge);
    KeyPollResult keys = PollKeys(gauge.keys, keyboard, gauge.modes, gauge.passData);
    if (keys.changed) RequestRedraw(gauge);
    if (keys.loaderRestart) gauge.loaderRequest = LoaderRequest::Restart;
    if (keys.changed || gauge.shared.redrawRequest) return gauge.elementValue;
  }
  if (!NdModeKeyFired(gauge, keyboard) &&
      HostVariablesChanged(gauge.variables, gauge.modes.mapMode)) {
    RequestRedraw(gauge);
  }
  if (gauge.modes.mapMode != kMapModeVor) CheckAircraftMoved(gauge);
  return gauge.elementValue;
}

}  // namespace lumaro
