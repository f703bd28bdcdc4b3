// Keyboard commands of the display: the key table and the key poll.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "data/mode_file.h"
#include "data/pass_data.h"

namespace lumaro {

inline constexpr int kRangeMaxNm = 640;
inline constexpr int kRangeMinNm = 10;

// Keys are Windows virtual-key codes; modifier words as in KeyBinding.
struct KeyTable {
  KeyBinding ndMode;
  uint32_t rangeKey = 'G';
  uint32_t rangeUpModifiers = 9;
  uint32_t rangeDownModifiers = 11;
  std::array<uint32_t, 3> mapModeKeys = {'V', 'M', 'P'};
  uint32_t mapModeModifiers = 11;
  std::array<uint32_t, 4> itemKeys = {'X', 'W', 'A', 'N'};
  uint32_t itemModifiers = 9;
};

// What the host reports of the keyboard.
struct KeyboardInput {
  std::function<bool(uint32_t)> pressedSinceLastPoll;
  std::function<bool(uint32_t)> down;
};

// Shift and Ctrl are as the modifier word asks (bit 3 is not tested).
bool ModifiersMatch(uint32_t modifiers, const KeyboardInput& keyboard);

struct KeyPollResult {
  bool changed = false;        // a command fired
  bool loaderRestart = false;  // range or map mode changed while a map is shown
};

// Runs every command whose key was pressed since the last poll, in table
// order, writing each changed value into "NDPassData".
KeyPollResult PollKeys(const KeyTable& keys, const KeyboardInput& keyboard, DisplayModes& modes,
                       PassData& passData);

}  // namespace lumaro
