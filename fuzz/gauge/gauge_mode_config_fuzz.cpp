// Arbitrary bytes as the mode file ("Gauges/NDmode.tmp") and as a simulator
// configuration file read for its "PANEL_9=" line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/mode_file.h"
#include "data/pass_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  lumaro::ModeFileValues values = lumaro::ParseModeFile(text);
  lumaro::PassData passData;
  lumaro::ResetPassFields(passData);
  for (size_t field = 0; field < lumaro::kPassFieldCount; ++field) {
    if (!values.values[field]) continue;
    auto passField = static_cast<lumaro::PassField>(field);
    if (!lumaro::PassValueInRange(passField, *values.values[field])) __builtin_trap();
    lumaro::WritePassMode(passData, passField, *values.values[field]);
    // What was written reads back unchanged.
    if (lumaro::ReadPassField(passData.fields[field], passField) != *values.values[field])
      __builtin_trap();
  }
  lumaro::ParsePanelNineKey(text);
  return 0;
}
