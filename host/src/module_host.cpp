#include "module_host.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <system_error>

#include "platform/installation.h"

namespace ndhost {

namespace {

// Panel services are plain C functions; they reach the one running host here.
ModuleHost* activeHost = nullptr;

constexpr uint32_t kDibColourTableBytes = 1024;
constexpr uint16_t kAlphaBit = 0x8000;

void ServiceQuery(PanelElement*) {}
void ServiceInstall(PanelElement* first, void*) {
  activeHost->InstallElements(first);
}
void ServiceInitialize(PanelElement*) {}
void ServiceUpdate(PanelElement* first) {
  activeHost->UpdateElements(first);
}
void ServiceGenerate(PanelElement*, uint32_t) {}
void ServicePlot(PanelElement*) {
  activeHost->PlotElements();
}
void ServiceKill(PanelElement*) {}
void ServiceMouseInstall(PanelMouseRect*, PanelGaugeHeader*, void*) {}
void ServiceMouseRegister(PanelMouseRect*, PanelGaugeHeader*) {}
void ServiceMouseUnregister(PanelMouseRect*, PanelGaugeHeader*) {}
void ServiceVariableInitialize(PanelVariable* variable) {
  activeHost->LookupVariable(variable);
}
void ServiceVariableLookup(PanelVariable* variable) {
  activeHost->LookupVariable(variable);
}
uint32_t ServiceKeyPressed(uint32_t key) {
  return activeHost->TakeKeyPress(key);
}
uint32_t ServiceKeyDown(uint32_t key) {
  return activeHost->KeyDown(key);
}
int64_t ServiceClock() {
  return activeHost->ClockSeconds();
}
int32_t ServiceMessageBox(const char* text, const char* caption, uint32_t flags) {
  return activeHost->ShowMessage(text, caption, flags);
}
void ServiceDiagnostics(const void* snapshot, uint32_t sizeBytes) {
  activeHost->TakeDiagnostics(snapshot, sizeBytes);
}

uint32_t ReadLe32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

const PanelResource* FindResource(const PanelLinkage* linkage, uint32_t resourceId) {
  if (linkage->resources == nullptr) return nullptr;
  for (const PanelResource* resource = linkage->resources; resource->resourceId != 0; ++resource) {
    if (resource->resourceId == resourceId) return resource;
  }
  return nullptr;
}

template <typename Visit>
void ForEachElement(PanelElement* first, Visit visit) {
  if (first == nullptr) return;
  visit(first);
  if (first->nextElements == nullptr) return;
  for (PanelElement** next = first->nextElements; *next != nullptr; ++next) {
    ForEachElement(*next, visit);
  }
}

}  // namespace

std::filesystem::path DefaultModulePath(const std::filesystem::path& simulatorRoot,
                                        const std::filesystem::path& programFolder) {
  constexpr const char* kModuleFile = "Lumaro.gau";
  const std::filesystem::path simulatorModule = simulatorRoot / "Gauges" / kModuleFile;
  std::error_code error;
  if (std::filesystem::exists(simulatorModule, error)) return simulatorModule;
  const std::filesystem::path installedFolder = platform::InstalledModuleFolder(programFolder);
  if (installedFolder.empty()) return simulatorModule;
  const std::filesystem::path installedModule = installedFolder / kModuleFile;
  if (std::filesystem::is_regular_file(installedModule, error)) return installedModule;
  return simulatorModule;
}

platform::Result<std::unique_ptr<ModuleHost>> ModuleHost::Load(
    const std::filesystem::path& modulePath, const HostOptions& options) {
  std::unique_ptr<ModuleHost> host(new ModuleHost());
  host->options_ = options;
  host->library_ = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (host->library_ == nullptr) {
    return platform::Failure(std::string("cannot load ") + modulePath.string() + ": " +
                             ::dlerror());
  }
  host->linkage_ = static_cast<PanelLinkage*>(::dlsym(host->library_, "Linkage"));
  host->imports_ = static_cast<PanelImportTable*>(::dlsym(host->library_, "ImportTable"));
  if (host->linkage_ == nullptr || host->imports_ == nullptr ||
      host->linkage_->moduleId != PANEL_LINKAGE_ID || host->linkage_->gauges[0] == nullptr ||
      host->imports_->services.importId != PANEL_IMPORT_SERVICES_ID) {
    return platform::Error{
        modulePath.string() + " is not a gauge module (Linkage/ImportTable missing or wrong)",
        kNotAGaugeModule, modulePath};
  }
  host->gauge_ = host->linkage_->gauges[0];
  PanelServices& services = host->services_;
  services.elementListQuery = ServiceQuery;
  services.elementListInstall = ServiceInstall;
  services.elementListInitialize = ServiceInitialize;
  services.elementListUpdate = ServiceUpdate;
  services.elementListGenerate = ServiceGenerate;
  services.elementListPlot = ServicePlot;
  services.elementListKill = ServiceKill;
  services.mouseListInstall = ServiceMouseInstall;
  services.mouseListRegister = ServiceMouseRegister;
  services.mouseListUnregister = ServiceMouseUnregister;
  services.variableInitialize = ServiceVariableInitialize;
  services.variableLookup = ServiceVariableLookup;
  services.keyPressedSinceLastPoll = ServiceKeyPressed;
  services.keyDown = ServiceKeyDown;
  services.calendarSeconds = ServiceClock;
  services.messageBox = ServiceMessageBox;
  services.publishDiagnostics = ServiceDiagnostics;
  host->imports_->services.pointer = &host->services_;
  host->gauge_->instanceHandle = options.giveInstanceHandle ? host->library_ : nullptr;
  if (const PanelResource* background = FindResource(host->linkage_, 4096);
      background != nullptr && background->sizeBytes >= 40 + kDibColourTableBytes) {
    uint32_t headerBytes = ReadLe32(background->bytes);
    for (uint32_t entry = 0; entry < 256 && headerBytes + entry * 4 + 3 < background->sizeBytes;
         ++entry) {
      const uint8_t* bgrx = background->bytes + headerBytes + entry * 4;
      host->paletteRgb_.push_back((bgrx[2] << 16) | (bgrx[1] << 8) | bgrx[0]);
    }
  }
  host->paletteRgb_.resize(256, 0);
  return host;
}

ModuleHost::~ModuleHost() {
  Kill();
  if (activeHost == this) activeHost = nullptr;
  if (library_ != nullptr) {
    // A library that proved no gauge module may have no import table.
    if (imports_ != nullptr) imports_->services.pointer = nullptr;
    ::dlclose(library_);
  }
}

int64_t ModuleHost::ClockSeconds() const {
  return options_.clockStartSeconds + static_cast<int64_t>(std::floor(clockSeconds_));
}

void ModuleHost::EnterSimulatorFolder() {
  std::error_code ignored;
  savedFolder_ = std::filesystem::current_path(ignored);
  if (!options_.simulatorRoot.empty())
    std::filesystem::current_path(options_.simulatorRoot, ignored);
}

void ModuleHost::LeaveSimulatorFolder() {
  std::error_code ignored;
  if (!savedFolder_.empty()) std::filesystem::current_path(savedFolder_, ignored);
}

void ModuleHost::Start() {
  activeHost = this;
  EnterSimulatorFolder();
  started_ = true;
  gauge_->query();
  gauge_->install(nullptr);
  gauge_->initialize();
}

void ModuleHost::Frame() {
  if (!started_) return;
  activeHost = this;
  gauge_->update();
  gauge_->generate(0);
  gauge_->draw();
  shiftDown_ = false;
  ctrlDown_ = false;
}

void ModuleHost::Kill() {
  if (!started_) return;
  activeHost = this;
  gauge_->kill();
  started_ = false;
  LeaveSimulatorFolder();
}

void ModuleHost::PressKey(uint32_t virtualKey, bool shift, bool ctrl) {
  pressed_[virtualKey] = true;
  shiftDown_ = shift;
  ctrlDown_ = ctrl;
}

uint32_t ModuleHost::TakeKeyPress(uint32_t virtualKey) {
  auto found = pressed_.find(virtualKey);
  if (found == pressed_.end() || !found->second) return 0;
  found->second = false;
  return 1;
}

uint32_t ModuleHost::KeyDown(uint32_t virtualKey) const {
  if (virtualKey == PANEL_VK_SHIFT) return shiftDown_ ? 1 : 0;
  if (virtualKey == PANEL_VK_CONTROL) return ctrlDown_ ? 1 : 0;
  return 0;
}

int32_t ModuleHost::ShowMessage(const char* text, const char* caption, uint32_t flags) {
  messages_.push_back({text ? text : "", caption ? caption : "", flags});
  return 1;  // OK
}

void ModuleHost::TakeDiagnostics(const void* snapshot, uint32_t sizeBytes) {
  if (snapshot == nullptr || sizeBytes != sizeof(LumaroDiagnostics)) return;
  std::memcpy(&diagnostics_, snapshot, sizeof(diagnostics_));
  haveDiagnostics_ = true;
}

void ModuleHost::LookupVariable(PanelVariable* variable) {
  if (variable != nullptr) FillVariable(aircraft_, *variable);
}

HostImage ModuleHost::MakeImage(uint32_t resourceId, uint32_t extraPitch) {
  HostImage image;
  uint32_t widthPx = 256;
  uint32_t heightPx = 256;
  const uint8_t* dibPixels = nullptr;
  if (const PanelResource* resource = FindResource(linkage_, resourceId);
      resource != nullptr && resource->sizeBytes >= 40) {
    uint32_t headerBytes = ReadLe32(resource->bytes);
    uint32_t dibWidth = ReadLe32(resource->bytes + 4);
    uint32_t dibHeight = ReadLe32(resource->bytes + 8);
    uint64_t pixelsAt = static_cast<uint64_t>(headerBytes) + kDibColourTableBytes;
    if (dibWidth > 0 && dibWidth <= 4096 && dibHeight > 0 && dibHeight <= 4096 &&
        pixelsAt + static_cast<uint64_t>(((dibWidth + 3) & ~3u)) * dibHeight <=
            resource->sizeBytes) {
      widthPx = dibWidth;
      heightPx = dibHeight;
      dibPixels = resource->bytes + pixelsAt;
    }
  }
  uint32_t bytesPerPixel = options_.formatCode == PANEL_FORMAT_RGB1555 ? 2 : 1;
  uint32_t pitch = ((widthPx * bytesPerPixel + 3) & ~3u) + extraPitch;
  image.pixels.assign(static_cast<size_t>(pitch) * heightPx, 0);
  uint32_t dibPitch = (widthPx + 3) & ~3u;
  for (uint32_t y = 0; dibPixels != nullptr && y < heightPx; ++y) {
    const uint8_t* source = dibPixels + static_cast<size_t>(heightPx - 1 - y) * dibPitch;
    uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * pitch;
    for (uint32_t x = 0; x < widthPx; ++x) {
      if (bytesPerPixel == 1) {
        row[x] = source[x];
        continue;
      }
      uint32_t rgb = paletteRgb_[source[x]];
      uint16_t value = static_cast<uint16_t>(kAlphaBit | (((rgb >> 19) & 0x1F) << 10) |
                                             (((rgb >> 11) & 0x1F) << 5) | ((rgb >> 3) & 0x1F));
      row[2 * x] = static_cast<uint8_t>(value);
      row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
    }
  }
  // Any other format code is passed on as given, so a module can be tested against it.
  image.descriptor = {options_.formatCode,
                      widthPx,
                      heightPx,
                      pitch,
                      nullptr,
                      static_cast<uint32_t>(image.pixels.size()),
                      image.pixels.data()};
  return image;
}

void ModuleHost::InstallElements(PanelElement* first) {
  ForEachElement(first, [this](PanelElement* element) {
    auto image = std::make_unique<HostImage>(MakeImage(element->resourceId, 0));
    image->descriptor.pixels = image->pixels.data();
    if (element->elementType == PANEL_ELEMENT_ICON) {
      secondImage_ = std::make_unique<HostImage>(
          MakeImage(element->resourceId, options_.secondImageExtraPitchBytes));
      secondImage_->descriptor.pixels = secondImage_->pixels.data();
      image->descriptor.secondImage = &secondImage_->descriptor;
      displayElement_ = element;
    } else if (backgroundElement_ == nullptr) {
      backgroundElement_ = element;
    }
    element->image = &image->descriptor;
    images_[element] = std::move(image);
  });
}

void ModuleHost::UpdateElements(PanelElement* first) {
  ForEachElement(first, [this](PanelElement* element) {
    if (element->updateCallback == nullptr) return;
    int32_t value = element->updateCallback(element);
    auto last = lastCallbackValue_.find(element);
    if (last == lastCallbackValue_.end() || last->second != value) plotPending_ = true;
    lastCallbackValue_[element] = value;
  });
}

void ModuleHost::PlotElements() {
  if (!plotPending_) return;
  plotPending_ = false;
  ++plotCount_;
}

const HostImage* ModuleHost::DisplayImage() const {
  auto found = images_.find(displayElement_);
  return found == images_.end() ? nullptr : found->second.get();
}

const HostImage* ModuleHost::DisplaySecondImage() const {
  return secondImage_.get();
}

const HostImage* ModuleHost::BackgroundImage() const {
  auto found = images_.find(backgroundElement_);
  return found == images_.end() ? nullptr : found->second.get();
}

}  // namespace ndhost
