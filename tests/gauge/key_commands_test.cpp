#include "module/key_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "panel_interface.h"

namespace lumaro {
namespace {

// Keys pressed once, with Shift and Ctrl held as given.
struct FakeKeyboard {
  std::set<uint32_t> pressed;
  bool shift = false;
  bool ctrl = false;
  int reads = 0;

  KeyboardInput Input() {
    KeyboardInput input;
    input.pressedSinceLastPoll = [this](uint32_t key) {
      ++reads;
      return pressed.erase(key) > 0;
    };
    input.down = [this](uint32_t key) {
      return (key == PANEL_VK_SHIFT && shift) || (key == PANEL_VK_CONTROL && ctrl);
    };
    return input;
  }
};

struct Poll {
  DisplayModes modes;
  PassData passData;
  Poll() { ResetPassFields(passData); }
  KeyPollResult Press(uint32_t key, bool shift, bool ctrl) {
    FakeKeyboard keyboard;
    keyboard.pressed = {key};
    keyboard.shift = shift;
    keyboard.ctrl = ctrl;
    return PollKeys(KeyTable{}, keyboard.Input(), modes, passData);
  }
};

TEST(KeyCommands, RangeStepsWithinTenAndSixHundredForty) {
  Poll poll;
  EXPECT_TRUE(poll.Press('G', true, false).changed);
  EXPECT_EQ(poll.modes.rangeNm, 640);
  EXPECT_EQ(std::string(poll.passData.fields[PassField::Range].data()), "Range=640");
  EXPECT_FALSE(poll.Press('G', true, false).changed);
  EXPECT_EQ(poll.modes.rangeNm, 640);
  for (int expected : {320, 160, 80, 40, 20, 10}) {
    EXPECT_TRUE(poll.Press('G', true, true).changed);
    EXPECT_EQ(poll.modes.rangeNm, expected);
  }
  EXPECT_FALSE(poll.Press('G', true, true).changed);
  EXPECT_EQ(poll.modes.rangeNm, 10);
  EXPECT_EQ(std::string(poll.passData.fields[PassField::Range].data()), "Range=010");
  // Without Shift "G" does nothing.
  EXPECT_FALSE(poll.Press('G', false, false).changed);
}

TEST(KeyCommands, RangeAndMapChangesRestartTheLoaderOnlyWithAMap) {
  Poll poll;
  EXPECT_FALSE(poll.Press('G', true, true).loaderRestart);
  EXPECT_TRUE(poll.Press('M', true, true).loaderRestart);
  EXPECT_TRUE(poll.Press('G', true, true).loaderRestart);
  EXPECT_TRUE(poll.Press('P', true, true).loaderRestart);
  EXPECT_FALSE(poll.Press('V', true, true).loaderRestart);
  EXPECT_FALSE(poll.Press('X', true, false).loaderRestart);
}

TEST(KeyCommands, MapModesAndItemsShareTheVKey) {
  Poll poll;
  poll.modes.mapMode = 2;
  EXPECT_TRUE(poll.Press('V', true, false).changed);
  EXPECT_EQ(poll.modes.item, 0x1E ^ 0x04);
  EXPECT_EQ(poll.modes.mapMode, 2);
  EXPECT_EQ(std::string(poll.passData.fields[PassField::Item].data()), "Item=0x1A");
  EXPECT_TRUE(poll.Press('V', true, true).changed);
  EXPECT_EQ(poll.modes.mapMode, 0);
  EXPECT_EQ(poll.modes.item, 0x1A);
  EXPECT_TRUE(poll.Press('M', true, true).changed);
  EXPECT_EQ(poll.modes.mapMode, 1);
  EXPECT_TRUE(poll.Press('P', true, true).changed);
  EXPECT_EQ(poll.modes.mapMode, 2);
  EXPECT_EQ(std::string(poll.passData.fields[PassField::MapMode].data()), "MapMode=2");
  // Shift+Ctrl+M is not an item key.
  EXPECT_EQ(poll.modes.item, 0x1A);
}

TEST(KeyCommands, ItemBits) {
  struct Case {
    uint32_t key;
    int bit;
  };
  for (Case testCase :
       {Case{'X', 0x01}, Case{'W', 0x02}, Case{'V', 0x04}, Case{'N', 0x08}, Case{'A', 0x10}}) {
    SCOPED_TRACE(static_cast<char>(testCase.key));
    Poll poll;
    poll.modes.item = 0;
    EXPECT_TRUE(poll.Press(testCase.key, true, false).changed);
    EXPECT_EQ(poll.modes.item, testCase.bit);
    EXPECT_FALSE(poll.Press(testCase.key, false, false).changed);
    EXPECT_FALSE(poll.Press(testCase.key, true, true).changed && testCase.key != 'V');
  }
}

TEST(KeyCommands, EachKeyIsReadOncePerPoll) {
  FakeKeyboard keyboard;
  DisplayModes modes;
  PassData passData;
  ResetPassFields(passData);
  PollKeys(KeyTable{}, keyboard.Input(), modes, passData);
  EXPECT_EQ(keyboard.reads, 8);  // G, V, M, P, X, W, N, A
}

TEST(KeyCommands, ModifierWords) {
  FakeKeyboard keyboard;
  KeyboardInput input = keyboard.Input();
  EXPECT_TRUE(ModifiersMatch(8, input));
  EXPECT_FALSE(ModifiersMatch(9, input));
  keyboard.shift = true;
  EXPECT_TRUE(ModifiersMatch(9, input));
  EXPECT_TRUE(ModifiersMatch(1, input));
  EXPECT_FALSE(ModifiersMatch(11, input));
  keyboard.ctrl = true;
  EXPECT_TRUE(ModifiersMatch(11, input));
  EXPECT_FALSE(ModifiersMatch(0, input));
}

}  // namespace
}  // namespace lumaro
