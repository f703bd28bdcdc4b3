// The small host that loads a gauge module, serves its panel services and
// runs its callbacks frame by frame. ndhost and the module's tests use it.
#pragma once

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "aircraft.h"
#include "lumaro_diagnostics.h"
#include "panel_interface.h"
#include "platform/result.h"

namespace ndhost {

struct HostOptions {
  std::filesystem::path simulatorRoot;  // current directory while the module runs
  uint32_t formatCode = PANEL_FORMAT_PALETTE8;
  bool giveInstanceHandle = true;           // false: the module cannot find its bitmaps
  uint32_t secondImageExtraPitchBytes = 0;  // > 0 gives element B's second image another pitch
  int64_t clockStartSeconds = 1000000000;
};

struct HostMessage {
  std::string text;
  std::string caption;
  uint32_t flags = 0;
};

// One element image with its pixels.
struct HostImage {
  PanelImage descriptor{};
  std::vector<uint8_t> pixels;
};

// The module ndhost loads when no --module is given: the simulator folder's
// own Gauges/Lumaro.gau, as the simulator loads it; when that folder has
// none, the module installed with the program (`programFolder` is where the
// running ndhost lives). When neither is there, the simulator folder's path,
// so that the failure names the place the simulator would look in.
std::filesystem::path DefaultModulePath(const std::filesystem::path& simulatorRoot,
                                        const std::filesystem::path& programFolder);

// The error number of a library that loads but is no gauge module (its
// format is wrong for the simulator, as ENOEXEC says of a program's).
inline constexpr int kNotAGaugeModule = ENOEXEC;

class ModuleHost {
 public:
  // Loads the module. Fails when the file cannot be loaded as a library, or
  // with kNotAGaugeModule as its error number when the library is not a
  // gauge module.
  static platform::Result<std::unique_ptr<ModuleHost>> Load(const std::filesystem::path& modulePath,
                                                            const HostOptions& options);
  ~ModuleHost();
  ModuleHost(const ModuleHost&) = delete;
  ModuleHost& operator=(const ModuleHost&) = delete;

  void Start();  // query, install, initialize
  void Frame();  // update, generate, draw
  void Kill();   // kill (also done by the destructor)

  AircraftState& Aircraft() { return aircraft_; }
  void AdvanceClock(double elapsedSeconds) { clockSeconds_ += elapsedSeconds; }
  int64_t ClockSeconds() const;

  // A key pressed once before the next frame, with Shift/Ctrl held for that frame.
  void PressKey(uint32_t virtualKey, bool shift = false, bool ctrl = false);

  const LumaroDiagnostics& Diagnostics() const { return diagnostics_; }
  bool HaveDiagnostics() const { return haveDiagnostics_; }
  const std::vector<HostMessage>& Messages() const { return messages_; }
  const HostImage* DisplayImage() const;  // element B, first image
  const HostImage* DisplaySecondImage() const;
  const HostImage* BackgroundImage() const;  // element A
  uint32_t PlotCount() const { return plotCount_; }
  const PanelGaugeHeader& Gauge() const { return *gauge_; }
  // The colour table of the module's bitmap 4096 (the host's palette in format 1).
  const std::vector<uint32_t>& PaletteRgb() const { return paletteRgb_; }

  // Service entry points (called through the module's service table).
  void InstallElements(PanelElement* first);
  void UpdateElements(PanelElement* first);
  void PlotElements();
  void LookupVariable(PanelVariable* variable);
  uint32_t TakeKeyPress(uint32_t virtualKey);
  uint32_t KeyDown(uint32_t virtualKey) const;
  int32_t ShowMessage(const char* text, const char* caption, uint32_t flags);
  void TakeDiagnostics(const void* snapshot, uint32_t sizeBytes);

 private:
  ModuleHost() = default;
  HostImage MakeImage(uint32_t resourceId, uint32_t extraPitch);
  void EnterSimulatorFolder();
  void LeaveSimulatorFolder();

  HostOptions options_;
  void* library_ = nullptr;
  PanelLinkage* linkage_ = nullptr;
  PanelImportTable* imports_ = nullptr;
  PanelGaugeHeader* gauge_ = nullptr;
  PanelServices services_{};
  bool started_ = false;
  std::filesystem::path savedFolder_;

  AircraftState aircraft_;
  double clockSeconds_ = 0;
  std::map<uint32_t, bool> pressed_;
  bool shiftDown_ = false;
  bool ctrlDown_ = false;
  std::vector<HostMessage> messages_;
  LumaroDiagnostics diagnostics_{};
  bool haveDiagnostics_ = false;
  std::map<PanelElement*, std::unique_ptr<HostImage>> images_;
  std::unique_ptr<HostImage> secondImage_;
  PanelElement* displayElement_ = nullptr;
  PanelElement* backgroundElement_ = nullptr;
  std::map<PanelElement*, int32_t> lastCallbackValue_;
  bool plotPending_ = true;
  uint32_t plotCount_ = 0;
  std::vector<uint32_t> paletteRgb_;
};

}  // namespace ndhost
