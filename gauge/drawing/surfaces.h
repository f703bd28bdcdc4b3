// The display's drawing surface: a Cairo image of element B's size, the 16
// colours and the background read from bitmap 4096's swatch, and the copy
// into element B's two images in the host's pixel format.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "drawing/cairo_target.h"
#include "drawing/draw_target.h"
#include "panel_interface.h"

namespace lumaro {

inline constexpr const char* kGaugeName = "Vistrel.ND";
inline constexpr const char* kErrorLogPath = "Gauges/Vistrel.ND.err";
inline constexpr int kDisplayColourCount = 16;

// The checks of the surface set-up, in the order of their messages. The
// display reports only some of them; the others keep their message numbers.
enum class SurfaceError {
  Unknown = 0,
  CreateDrawingObject,
  SetCooperativeLevel,
  QueryDrawingInterface,
  CreateSurface,
  QuerySurfaceInterface,
  LockSurface,
  CreatePalette,
  SetPalette,
  GetDeviceContext,
  UnrecognizedColourFormat,
  CreateBitmaskSurface,
  QueryBitmaskInterface,
  LockBitmaskSurface,
  GetBitmaskDeviceContext,
};

// The message of a surface set-up check, "Vistrel.ND" followed by its text;
// the text of Unknown for a value outside the list.
std::string SurfaceErrorMessage(SurfaceError error);

using MessageBoxFunction =
    std::function<void(const std::string& text, const std::string& caption, uint32_t flags)>;

struct SurfaceSetup {
  PanelImage* elementAImage = nullptr;
  PanelImage* elementBImage = nullptr;
  bool haveModuleHandle = false;              // the instance handle the host stored
  std::span<const uint8_t> backgroundBitmap;  // bitmap 4096 as stored
  std::string folder;                         // simulator folder, "" for the current one
  MessageBoxFunction messageBox;
};

struct DisplayColours {
  std::array<Rgb, kDisplayColourCount> colours{};
  Rgb background;
  uint32_t backgroundValue = 0;  // palette index (format 1) or 1-5-5-5 value (format 2)
  std::array<Rgb, 256> palette{};
};

// Colours of a device-independent bitmap's swatch, or nothing when the bitmap
// is too short to hold its header, colour table and first row.
std::optional<DisplayColours> ReadSwatch(std::span<const uint8_t> bitmap, uint32_t formatCode);

uint16_t Rgb1555FromRgb(Rgb colour);

class DisplaySurfaces {
 public:
  DisplaySurfaces() = default;
  DisplaySurfaces(const DisplaySurfaces&) = delete;
  DisplaySurfaces& operator=(const DisplaySurfaces&) = delete;
  ~DisplaySurfaces() { Release(); }

  // Creates everything for element B's image; false when a check failed.
  bool Create(const SurfaceSetup& setup);
  void Release();

  bool Failed() const { return failed_; }
  bool HasDeviceContext() const { return target_ != nullptr; }
  DrawTarget* Target() { return target_.get(); }
  int WidthPx() const { return widthPx_; }
  int HeightPx() const { return heightPx_; }
  const DisplayColours& Colours() const { return colours_; }
  bool PitchMismatch() const { return pitchMismatch_; }

  void Clear();
  // Copies the surface into element B's images; returns false when nothing was copied.
  bool Present();
  // Copies element B's first image into the surface.
  void LoadFromImage();

  uint32_t BlockCopies() const { return blockCopies_; }
  uint32_t RowCopies() const { return rowCopies_; }

 private:
  bool Check(int result, SurfaceError error);
  bool ValidImage(const PanelImage* image) const;
  void ConvertSurfaceToStaging();
  void ConvertStagingToSurface();
  uint8_t PaletteIndexOf(uint32_t rgb);
  void HideSwatch(PanelImage* elementAImage);

  bool failed_ = false;  // once set, stays set for the life of the module
  bool pitchMismatch_ = false;
  int widthPx_ = 0;
  int heightPx_ = 0;
  uint32_t formatCode_ = 0;
  PanelImage* image_ = nullptr;
  std::FILE* errorLog_ = nullptr;
  bool errorLogWritten_ = false;
  MessageBoxFunction messageBox_;
  DisplayColours colours_;
  cairo_surface_t* surface_ = nullptr;
  std::unique_ptr<CairoTarget> target_;
  std::vector<uint8_t> staging_;  // the surface in the host's pixel format
  uint32_t stagingPitch_ = 0;
  std::unordered_map<uint32_t, uint8_t> paletteIndexOfRgb_;
  uint32_t blockCopies_ = 0;
  uint32_t rowCopies_ = 0;
};

}  // namespace lumaro
