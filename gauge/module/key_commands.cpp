#include "module/key_commands.h"

#include <map>

#include "panel_interface.h"

namespace lumaro {

namespace {

constexpr uint32_t kShiftBit = 1;
constexpr uint32_t kCtrlBit = 2;
constexpr std::array<int, 4> kItemBits = {0x01, 0x02, 0x10, 0x08};  // X, W, A, N
constexpr int kMapModeKeyItemBit = 0x04;                            // V

// Each key's pressed-since-the-last-poll record is read once per poll, so a
// key that serves two commands ("G", "V") sees the same press for both.
class PressedKeys {
 public:
  explicit PressedKeys(const KeyboardInput& keyboard) : keyboard_(keyboard) {}
  bool Pressed(uint32_t virtualKey) {
    auto found = pressed_.find(virtualKey);
    if (found != pressed_.end()) return found->second;
    bool pressed = keyboard_.pressedSinceLastPoll && keyboard_.pressedSinceLastPoll(virtualKey);
    pressed_[virtualKey] = pressed;
    return pressed;
  }

 private:
  const KeyboardInput& keyboard_;
  std::map<uint32_t, bool> pressed_;
};

}  // namespace

bool ModifiersMatch(uint32_t modifiers, const KeyboardInput& keyboard) {
  bool shiftDown = keyboard.down && keyboard.down(PANEL_VK_SHIFT);
  bool ctrlDown = keyboard.down && keyboard.down(PANEL_VK_CONTROL);
  return ((modifiers & kShiftBit) != 0) == shiftDown && ((modifiers & kCtrlBit) != 0) == ctrlDown;
}

KeyPollResult PollKeys(const KeyTable& keys, const KeyboardInput& keyboard, DisplayModes& modes,
                       PassData& passData) {
  KeyPollResult result;
  PressedKeys pressed(keyboard);
  auto fires = [&](uint32_t key, uint32_t modifiers) {
    return pressed.Pressed(key) && ModifiersMatch(modifiers, keyboard);
  };
  auto setRange = [&](int rangeNm) {
    modes.rangeNm = rangeNm;
    WritePassMode(passData, PassField::Range, rangeNm);
    result.changed = true;
    if (modes.mapMode != kMapModeVor) result.loaderRestart = true;
  };
  if (fires(keys.rangeKey, keys.rangeUpModifiers) && modes.rangeNm < kRangeMaxNm) {
    setRange(modes.rangeNm * 2);
  }
  if (fires(keys.rangeKey, keys.rangeDownModifiers) && modes.rangeNm > kRangeMinNm) {
    setRange(modes.rangeNm / 2);
  }
  for (int mapMode = 0; mapMode < 3; ++mapMode) {
    if (!fires(keys.mapModeKeys[mapMode], keys.mapModeModifiers)) continue;
    modes.mapMode = mapMode;
    WritePassMode(passData, PassField::MapMode, mapMode);
    result.changed = true;
    // The lists may be from far back if the aircraft flew without a map.
    if (mapMode != kMapModeVor) result.loaderRestart = true;
  }
  auto toggleItem = [&](uint32_t key, int bit) {
    if (!fires(key, keys.itemModifiers)) return;
    modes.item ^= bit;
    WritePassMode(passData, PassField::Item, modes.item);
    result.changed = true;
  };
  toggleItem(keys.itemKeys[0], kItemBits[0]);
  toggleItem(keys.itemKeys[1], kItemBits[1]);
  toggleItem(keys.mapModeKeys[0], kMapModeKeyItemBit);
  toggleItem(keys.itemKeys[3], kItemBits[3]);
  toggleItem(keys.itemKeys[2], kItemBits[2]);
  return result;
}

}  // namespace lumaro
