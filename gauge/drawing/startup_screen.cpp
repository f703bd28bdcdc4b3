#include "drawing/startup_screen.h"

#include <cstddef>

namespace lumaro {

namespace {

// The texts are kept scrambled in the module so they do not show up as
// plain strings in the binary.
constexpr char kScrambleKey = 0x5A;

template <size_t N>
struct ScrambledText {
  std::array<char, N> bytes{};
  constexpr explicit ScrambledText(const char (&plain)[N]) {
    for (size_t index = 0; index < N; ++index) {
      bytes[index] = static_cast<char>(plain[index] ^ kScrambleKey ^ static_cast<char>(index));
    }
  }
  std::string Plain() const {
    std::string plain;
    for (size_t index = 0; index + 1 < N; ++index) {
      plain += static_cast<char>(bytes[index] ^ kScrambleKey ^ static_cast<char>(index));
    }
    return plain;
  }
};

constexpr ScrambledText kLine1("VISTREL.ND");
constexpr ScrambledText kLine2("NAVIGATION DISPLAY");
constexpr ScrambledText kLine3("Lumaro 1.3");
constexpr ScrambledText kLine4("Skyatlas navaid database");
constexpr ScrambledText kLine5("Waiting for data...");

constexpr Rgb kCyan = RgbFromColorRef(0xFFFF00);
constexpr Rgb kGreen = RgbFromColorRef(0x00FF00);
constexpr Rgb kYellow = RgbFromColorRef(0x00FFFF);

}  // namespace

std::array<std::string, kStartupLineCount> StartupTexts() {
  return {kLine1.Plain(), kLine2.Plain(), kLine3.Plain(), kLine4.Plain(), kLine5.Plain()};
}

void DrawStartupTexts(DrawTarget& target, int widthPx, int heightPx) {
  std::array<std::string, kStartupLineCount> texts = StartupTexts();
  const std::array<int, kStartupLineCount> lineY = {8, heightPx / 2, heightPx / 2 + 12,
                                                    heightPx / 2 + 36, heightPx / 2 + 48};
  const std::array<Rgb, kStartupLineCount> colours = {kCyan, kGreen, kGreen, kYellow, kYellow};
  for (int line = 0; line < kStartupLineCount; ++line) {
    target.Text({widthPx / 2, lineY[line]}, texts[line], FontSize::Medium, TextAlign::Centre,
                TextVertical::Top, colours[line]);
  }
}

}  // namespace lumaro
