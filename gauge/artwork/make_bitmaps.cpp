// Paints the module's three bitmaps and writes them as a C++ source file:
//   make_bitmaps OUTPUT.cpp
// Each bitmap is a device-independent bitmap of 256 x 256 pixels, 8 bits per
// pixel, with a 256-entry colour table (66600 bytes). The first stored row of
// bitmap 4096 (the bottom row of the picture) carries the colour swatch:
// pixels 0-15 are the display's colours, pixel 16 its background.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "symbols/display_palette.h"

namespace {

constexpr int kSizePx = 256;
constexpr int kHeaderBytes = 40;
constexpr int kBitmapBytes = kHeaderBytes + 1024 + kSizePx * kSizePx;

struct Colour {
  uint8_t red, green, blue;
};

// Palette: 0-15 the display colours, 16 the background, then a grey ramp for
// the bezel and a dark teal ramp for the artwork of the screen.
constexpr int kGreyRampStart = 17;
constexpr int kGreyRampEntries = 64;
constexpr int kTealRampStart = kGreyRampStart + kGreyRampEntries;
constexpr int kTealRampEntries = 64;

std::array<Colour, 256> MakePalette() {
  std::array<Colour, 256> palette{};
  for (size_t index = 0; index < symbols::kDisplayPalette.size(); ++index) {
    const symbols::PaletteColour colour = symbols::kDisplayPalette[index];
    palette[index] = {colour.red, colour.green, colour.blue};
  }
  for (int step = 0; step < kGreyRampEntries; ++step) {
    uint8_t level = static_cast<uint8_t>(24 + step * 2);
    palette[kGreyRampStart + step] = {level, level, static_cast<uint8_t>(level + 4)};
  }
  for (int step = 0; step < kTealRampEntries; ++step) {
    palette[kTealRampStart + step] = {0, static_cast<uint8_t>(step * 2),
                                      static_cast<uint8_t>(step * 2 + 8)};
  }
  for (int index = kTealRampStart + kTealRampEntries; index < 256; ++index) {
    palette[index] = {static_cast<uint8_t>(index), static_cast<uint8_t>(index / 2), 0};
  }
  // Fixed text colours of the display: warnings and marker-beacon letters.
  palette[250] = {255, 0, 0};
  palette[251] = {0, 0, 255};
  palette[252] = {255, 255, 255};
  return palette;
}

// Pixels top row first while painting; stored bottom row first.
using Picture = std::vector<uint8_t>;

void FillCircle(Picture& picture, double centreX, double centreY, double radius, uint8_t index) {
  for (int y = 0; y < kSizePx; ++y) {
    for (int x = 0; x < kSizePx; ++x) {
      if (std::hypot(x - centreX, y - centreY) <= radius) picture[y * kSizePx + x] = index;
    }
  }
}

void Ring(Picture& picture, double centreX, double centreY, double radius, uint8_t index) {
  for (int y = 0; y < kSizePx; ++y) {
    for (int x = 0; x < kSizePx; ++x) {
      if (std::fabs(std::hypot(x - centreX, y - centreY) - radius) < 0.6)
        picture[y * kSizePx + x] = index;
    }
  }
}

Picture PaintBackground() {
  Picture picture(kSizePx * kSizePx);
  for (int y = 0; y < kSizePx; ++y) {
    for (int x = 0; x < kSizePx; ++x) {
      // A brushed bezel: lighter towards the top left.
      int shade = (kSizePx * 2 - x - y) * (kGreyRampEntries - 1) / (kSizePx * 2);
      picture[y * kSizePx + x] = static_cast<uint8_t>(kGreyRampStart + shade / 2 + 8);
    }
  }
  for (double corner : {10.0, 245.0}) {
    FillCircle(picture, corner, 10, 4, kGreyRampStart + 60);
    FillCircle(picture, corner, 245, 4, kGreyRampStart + 60);
  }
  for (int y = 16; y < 240; ++y) {
    for (int x = 16; x < 240; ++x) picture[y * kSizePx + x] = 16;
  }
  // The swatch: the bottom row of the picture is the first stored row.
  for (int pixel = 0; pixel <= 16; ++pixel)
    picture[(kSizePx - 1) * kSizePx + pixel] = static_cast<uint8_t>(pixel);
  return picture;
}

Picture PaintDisplay() {
  Picture picture(kSizePx * kSizePx, 16);
  for (int ring = 0; ring < 3; ++ring) {
    Ring(picture, 128, 150, 40.0 + ring * 30,
         static_cast<uint8_t>(kTealRampStart + 20 + ring * 10));
  }
  for (int y = 200; y < 224; ++y) {
    int halfWidthPx = (y - 200) / 3;
    for (int x = 128 - halfWidthPx; x <= 128 + halfWidthPx; ++x)
      picture[y * kSizePx + x] = kTealRampStart + 50;
  }
  return picture;
}

Picture PaintEmblem() {
  Picture picture(kSizePx * kSizePx, 16);
  Ring(picture, 128, 128, 100, 1);
  Ring(picture, 128, 128, 96, 3);
  for (int point = 0; point < 8; ++point) {
    double angle = point * 3.14159265358979 / 4;
    double length = point % 2 == 0 ? 90 : 50;
    for (double step = 0; step < length; step += 0.5) {
      int x = static_cast<int>(128 + std::cos(angle) * step);
      int y = static_cast<int>(128 - std::sin(angle) * step);
      picture[y * kSizePx + x] = point == 2 ? 10 : 0;
    }
  }
  return picture;
}

void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int widthBytes) {
  for (int byte = 0; byte < widthBytes; ++byte)
    bytes[at + byte] = static_cast<uint8_t>(value >> (8 * byte));
}

std::vector<uint8_t> MakeBitmap(const Picture& picture, const std::array<Colour, 256>& palette) {
  std::vector<uint8_t> bytes(kBitmapBytes, 0);
  PutLe(bytes, 0, kHeaderBytes, 4);
  PutLe(bytes, 4, kSizePx, 4);
  PutLe(bytes, 8, kSizePx, 4);
  PutLe(bytes, 12, 1, 2);
  PutLe(bytes, 14, 8, 2);
  PutLe(bytes, 20, kSizePx * kSizePx, 4);
  PutLe(bytes, 24, 2835, 4);
  PutLe(bytes, 28, 2835, 4);
  PutLe(bytes, 32, 256, 4);
  for (int entry = 0; entry < 256; ++entry) {
    size_t at = kHeaderBytes + entry * 4;
    bytes[at] = palette[entry].blue;
    bytes[at + 1] = palette[entry].green;
    bytes[at + 2] = palette[entry].red;
  }
  size_t pixelsAt = kHeaderBytes + 1024;
  for (int storedRow = 0; storedRow < kSizePx; ++storedRow) {
    int pictureRow = kSizePx - 1 - storedRow;
    for (int x = 0; x < kSizePx; ++x) {
      bytes[pixelsAt + storedRow * kSizePx + x] = picture[pictureRow * kSizePx + x];
    }
  }
  return bytes;
}

void WriteArray(std::FILE* out, const char* name, const std::vector<uint8_t>& bytes) {
  std::fprintf(out, "const std::array<uint8_t, kBitmapBytes> %s = {", name);
  for (size_t at = 0; at < bytes.size(); ++at) {
    if (at % 24 == 0) std::fprintf(out, "\n");
    std::fprintf(out, "%u,", bytes[at]);
  }
  std::fprintf(out, "\n};\n\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bitmaps OUTPUT.cpp\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::array<Colour, 256> palette = MakePalette();
  std::fprintf(out,
               "// Generated by make_bitmaps; do not edit.\n#include \"drawing/bitmaps.h\"\n\n");
  std::fprintf(out, "namespace lumaro {\n\n");
  WriteArray(out, "kBackgroundBitmap", MakeBitmap(PaintBackground(), palette));
  WriteArray(out, "kDisplayBitmap", MakeBitmap(PaintDisplay(), palette));
  WriteArray(out, "kEmblemBitmap", MakeBitmap(PaintEmblem(), palette));
  std::fprintf(out, "}  // namespace lumaro\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
