#include "drawing/surfaces.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/small_files.h"

namespace lumaro {

namespace {

constexpr size_t kColourTableBytes = 1024;
constexpr size_t kSwatchPixels = kDisplayColourCount + 1;
constexpr double kFiveBitsPerEightBits = 0.12156862765550613;  // 31/255 as a float
constexpr int kResultInvalidImage = static_cast<int>(0x80070057);
constexpr uint16_t kAlphaBit = 0x8000;

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

uint32_t RgbKey(Rgb colour) {
  return (colour.red << 16) | (colour.green << 8) | colour.blue;
}

Rgb RgbFromKey(uint32_t key) {
  return {static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
          static_cast<uint8_t>(key)};
}

// Rounded up, so that converting back to five bits gives the same value.
uint8_t FiveToEightBits(uint16_t value) {
  return static_cast<uint8_t>((value * 255 + 30) / 31);
}

}  // namespace

std::string SurfaceErrorMessage(SurfaceError error) {
  static constexpr std::array<const char*, 15> kTexts = {
      "\nUnknown error.",
      "\nUnable to create DirectDraw object.",
      "\nUnable to set cooperative level.",
      "\nUnable to query DD interface.",
      "\nUnable to create surface.",
      "\nUnable to query DDS interface.",
      "\nUnable to lock surface.",
      "\nUnable to create palette.",
      "\nUnable to set palette.",
      "\nUnable to get Device Context.",
      "\nUnrecognized color format.",
      "\nUnable to create bitmask surface.",
      "\nUnable to query DDS interface for bitmask.",
      "\nUnable to lock bitmask surface.",
      "\nUnable to get Device Context for bitmask.",
  };
  const auto index = static_cast<size_t>(error);
  const char* text = index < kTexts.size() ? kTexts[index] : kTexts[0];
  return std::string(kGaugeName) + text;
}

uint16_t Rgb1555FromRgb(Rgb colour) {
  int red = static_cast<int>(colour.red * kFiveBitsPerEightBits);
  int green = static_cast<int>(colour.green * kFiveBitsPerEightBits);
  int blue = static_cast<int>(colour.blue * kFiveBitsPerEightBits);
  return static_cast<uint16_t>((red * 32 + green) * 32 + blue);
}

std::optional<DisplayColours> ReadSwatch(std::span<const uint8_t> bitmap, uint32_t formatCode) {
  if (bitmap.empty()) return std::nullopt;
  size_t headerBytes = bitmap[0];
  size_t pixelsAt = headerBytes + kColourTableBytes;
  if (headerBytes == 0 || bitmap.size() < pixelsAt + kSwatchPixels) return std::nullopt;
  DisplayColours colours;
  for (size_t entry = 0; entry < 256; ++entry) {
    const uint8_t* bgrx = bitmap.data() + headerBytes + entry * 4;
    colours.palette[entry] = {bgrx[2], bgrx[1], bgrx[0]};
  }
  for (int colour = 0; colour < kDisplayColourCount; ++colour) {
    colours.colours[colour] = colours.palette[bitmap[pixelsAt + colour]];
  }
  uint8_t backgroundIndex = bitmap[pixelsAt + kDisplayColourCount];
  colours.background = colours.palette[backgroundIndex];
  colours.backgroundValue =
      formatCode == PANEL_FORMAT_PALETTE8 ? backgroundIndex : Rgb1555FromRgb(colours.background);
  return colours;
}

bool DisplaySurfaces::Check(int result, SurfaceError error) {
  if (result == 0) return true;
  failed_ = true;
  std::string message = SurfaceErrorMessage(error);
  if (messageBox_) messageBox_(message, "Error", PANEL_MB_ICONERROR);
  if (errorLog_ != nullptr) {
    std::fprintf(errorLog_, "%s\n ddrval = %08X\n\n", message.c_str(),
                 static_cast<unsigned>(result));
    errorLogWritten_ = true;
  }
  return false;
}

// An image the copies can use: its rows fit its pitch and its size.
bool DisplaySurfaces::ValidImage(const PanelImage* image) const {
  if (image == nullptr || image->pixels == nullptr || image->width == 0 || image->height == 0) {
    return false;
  }
  uint64_t rowBytes = static_cast<uint64_t>(image->width) * image->formatCode;
  uint64_t neededBytes = static_cast<uint64_t>(image->pitchBytes) * (image->height - 1) + rowBytes;
  return image->pitchBytes >= rowBytes && image->sizeBytes >= neededBytes &&
         image->formatCode == formatCode_ && image->width == image_->width &&
         image->height == image_->height;
}

bool DisplaySurfaces::Create(const SurfaceSetup& setup) {
  Release();
  messageBox_ = setup.messageBox;
  errorLog_ = CreateFileForWriting(InFolder(setup.folder, kErrorLogPath));
  errorLogWritten_ = false;
  image_ = setup.elementBImage;
  formatCode_ = image_ != nullptr ? image_->formatCode : 0;

  std::optional<DisplayColours> swatch;
  if (setup.haveModuleHandle) swatch = ReadSwatch(setup.backgroundBitmap, formatCode_);
  if (swatch) {
    colours_ = *swatch;
  } else {
    std::string message =
        std::string(kGaugeName) + "\nUnable to get the color table \nand the palette.";
    if (messageBox_) messageBox_(message, "Warning", PANEL_MB_ICONWARNING);
    if (errorLog_ != nullptr) {
      std::fprintf(errorLog_, "%s\n hMod = %08X  hRc = %08X  hGlobal = %08X\n\n", message.c_str(),
                   setup.haveModuleHandle ? 1u : 0u, setup.backgroundBitmap.empty() ? 0u : 1u, 0u);
      errorLogWritten_ = true;
    }
  }

  if (!failed_ && image_ == nullptr) Check(kResultInvalidImage, SurfaceError::CreateSurface);
  if (!failed_ && formatCode_ != PANEL_FORMAT_PALETTE8 && formatCode_ != PANEL_FORMAT_RGB1555) {
    Check(1, SurfaceError::UnrecognizedColourFormat);
  }
  if (!failed_ && !(ValidImage(image_) &&
                    (image_->secondImage == nullptr || ValidImage(image_->secondImage)))) {
    Check(kResultInvalidImage, SurfaceError::CreateSurface);
  }
  if (!failed_) {
    widthPx_ = static_cast<int>(image_->width);
    heightPx_ = static_cast<int>(image_->height);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx_, heightPx_);
    Check(cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS ? 0 : 1,
          SurfaceError::CreateSurface);
  }
  if (!failed_) {
    stagingPitch_ = image_->pitchBytes;
    staging_.assign(static_cast<size_t>(stagingPitch_) * heightPx_, 0);
    pitchMismatch_ =
        image_->secondImage != nullptr && image_->secondImage->pitchBytes != image_->pitchBytes;
    paletteIndexOfRgb_.clear();
    for (int entry = 255; entry >= 0; --entry) {
      paletteIndexOfRgb_[RgbKey(colours_.palette[entry])] = static_cast<uint8_t>(entry);
    }
    if (formatCode_ == PANEL_FORMAT_PALETTE8) {
      paletteIndexOfRgb_[RgbKey(colours_.background)] =
          static_cast<uint8_t>(colours_.backgroundValue);
    }
    target_ = std::make_unique<CairoTarget>(surface_);
    if (!Check(target_->Ok() ? 0 : 1, SurfaceError::GetDeviceContext)) target_.reset();
  }
  if (errorLog_ != nullptr) {
    if (errorLogWritten_) {
      std::fclose(errorLog_);
    } else {
      CloseAndRemoveCreatedFile(errorLog_, InFolder(setup.folder, kErrorLogPath));
    }
    errorLog_ = nullptr;
  }
  HideSwatch(setup.elementAImage);
  return !failed_;
}

void DisplaySurfaces::HideSwatch(PanelImage* elementAImage) {
  if (elementAImage == nullptr || elementAImage->pixels == nullptr || elementAImage->height < 2)
    return;
  size_t widthBytes = std::min<size_t>(elementAImage->width, elementAImage->pitchBytes);
  size_t lastRowAt = static_cast<size_t>(elementAImage->pitchBytes) * (elementAImage->height - 1);
  if (lastRowAt + widthBytes > elementAImage->sizeBytes) return;
  std::memmove(elementAImage->pixels + lastRowAt, elementAImage->pixels, widthBytes);
}

void DisplaySurfaces::Release() {
  target_.reset();
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  surface_ = nullptr;
  staging_.clear();
  widthPx_ = 0;
  heightPx_ = 0;
}

void DisplaySurfaces::Clear() {
  if (target_) target_->FillRect(0, 0, widthPx_, heightPx_, colours_.background);
}

uint8_t DisplaySurfaces::PaletteIndexOf(uint32_t rgb) {
  auto found = paletteIndexOfRgb_.find(rgb);
  if (found != paletteIndexOfRgb_.end()) return found->second;
  Rgb wanted = RgbFromKey(rgb);
  int bestEntry = 0;
  int bestDistanceSquared = 1 << 30;
  for (int entry = 0; entry < 256; ++entry) {
    const Rgb& candidate = colours_.palette[entry];
    int dr = candidate.red - wanted.red;
    int dg = candidate.green - wanted.green;
    int db = candidate.blue - wanted.blue;
    int distanceSquared = dr * dr + dg * dg + db * db;
    if (distanceSquared < bestDistanceSquared) {
      bestDistanceSquared = distanceSquared;
      bestEntry = entry;
    }
  }
  paletteIndexOfRgb_[rgb] = static_cast<uint8_t>(bestEntry);
  return static_cast<uint8_t>(bestEntry);
}

void DisplaySurfaces::ConvertSurfaceToStaging() {
  cairo_surface_flush(surface_);
  const uint8_t* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < heightPx_; ++y) {
    const uint32_t* source =
        reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    uint8_t* row = staging_.data() + static_cast<size_t>(y) * stagingPitch_;
    for (int x = 0; x < widthPx_; ++x) {
      uint32_t rgb = source[x] & 0xFFFFFF;
      if (formatCode_ == PANEL_FORMAT_PALETTE8) {
        row[x] = PaletteIndexOf(rgb);
      } else {
        uint16_t value = Rgb1555FromRgb(RgbFromKey(rgb)) | kAlphaBit;
        row[2 * x] = static_cast<uint8_t>(value);
        row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
      }
    }
  }
}

void DisplaySurfaces::ConvertStagingToSurface() {
  cairo_surface_flush(surface_);
  uint8_t* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < heightPx_; ++y) {
    uint32_t* target = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    const uint8_t* row = staging_.data() + static_cast<size_t>(y) * stagingPitch_;
    for (int x = 0; x < widthPx_; ++x) {
      Rgb colour;
      if (formatCode_ == PANEL_FORMAT_PALETTE8) {
        colour = colours_.palette[row[x]];
      } else {
        uint16_t value = static_cast<uint16_t>(row[2 * x] | (row[2 * x + 1] << 8));
        colour = {FiveToEightBits((value >> 10) & 0x1F), FiveToEightBits((value >> 5) & 0x1F),
                  FiveToEightBits(value & 0x1F)};
      }
      target[x] = RgbKey(colour);
    }
  }
  cairo_surface_mark_dirty(surface_);
}

bool DisplaySurfaces::Present() {
  if (failed_ || surface_ == nullptr) return false;
  ConvertSurfaceToStaging();
  std::array<PanelImage*, 2> images = {image_, image_->secondImage};
  if (!pitchMismatch_) {
    for (PanelImage* image : images) {
      if (image == nullptr) continue;
      std::memcpy(image->pixels, staging_.data(),
                  std::min<size_t>(image->sizeBytes, staging_.size()));
    }
    ++blockCopies_;
    return true;
  }
  size_t rowBytes = static_cast<size_t>(widthPx_) * formatCode_;
  for (int y = 0; y < heightPx_; ++y) {
    const uint8_t* source = staging_.data() + static_cast<size_t>(y) * stagingPitch_;
    for (PanelImage* image : images) {
      if (image == nullptr) continue;
      std::memcpy(image->pixels + static_cast<size_t>(y) * image->pitchBytes, source, rowBytes);
    }
  }
  ++rowCopies_;
  return true;
}

void DisplaySurfaces::LoadFromImage() {
  if (failed_ || surface_ == nullptr) return;
  size_t rowBytes = static_cast<size_t>(widthPx_) * formatCode_;
  for (int y = 0; y < heightPx_; ++y) {
    std::memcpy(staging_.data() + static_cast<size_t>(y) * stagingPitch_,
                image_->pixels + static_cast<size_t>(y) * image_->pitchBytes, rowBytes);
  }
  ConvertStagingToSurface();
}

}  // namespace lumaro
