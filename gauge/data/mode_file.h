// The modes kept between runs ("Gauges/NDmode.tmp") and the NDMode key taken
// from the simulator's configuration file ("PANEL_9=").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/pass_data.h"

namespace lumaro {

inline constexpr const char* kModeFilePath = "Gauges/NDmode.tmp";
inline constexpr std::array<const char*, 3> kConfigFileNames = {"FS2002.cfg", "FS2000.cfg",
                                                                "Fltsim98.cfg"};

struct KeyBinding {
  uint32_t virtualKey = 9;  // Tab
  uint32_t modifiers = 8;   // bit 0 Shift down, bit 1 Ctrl down; bit 3 not tested
  bool operator==(const KeyBinding&) const = default;
};

// The first "PANEL_9=" line of a configuration text, or nothing.
std::optional<KeyBinding> ParsePanelNineKey(std::string_view configText);

// Reads the first configuration file that opens under folder; defaults when
// none opens or it has no "PANEL_9=" line.
KeyBinding ReadPanelNineKey(const std::string& folder);

// Up to four values of a mode file text: NDMode, MapMode, Item, Range.
// Missing lines are absent; a value outside its range is absent too, so it
// cannot spill over its field in "NDPassData".
struct ModeFileValues {
  std::array<std::optional<int>, kPassFieldCount> values;
};
ModeFileValues ParseModeFile(std::string_view text);

// Applies a mode file when it opens; NDMode reaches the display through
// "NDPassData" (or directly when the block is not open). Returns whether
// the file was read.
bool LoadModeFile(const std::string& folder, PassData& passData, DisplayModes& modes);

// Writes the four values, one "%d" line each, replacing the file as a whole.
bool StoreModeFile(const std::string& folder, const DisplayModes& modes);

}  // namespace lumaro
