// "NDPassData": the 60-byte block in which the display publishes its four
// modes for other panel components, which may also change them.
#pragma once

#include <array>
#include <cstddef>

#include "platform/enum_array.h"
#include "platform/shared_memory.h"

namespace lumaro {

inline constexpr size_t kPassDataBytes = 60;
inline constexpr size_t kPassFieldBytes = 10;
inline constexpr const char* kPassDataName = "NDPassData";

// Values of NDMode and MapMode, as the mode block and the mode file hold them.
inline constexpr int kNdModeFullCompass = 0;
inline constexpr int kNdModeArc = 1;
inline constexpr int kMapModeVor = 0;
inline constexpr int kMapModeMap = 1;   // heading up
inline constexpr int kMapModePlan = 2;  // north up

struct DisplayModes {
  int ndMode = kNdModeArc;
  int mapMode = kMapModeVor;
  int item = 0x1E;  // bits of the navaid kinds and the route shown
  int rangeNm = 320;
  bool operator==(const DisplayModes&) const = default;
};

// The four fields of the shared block, in their order there.
enum class PassField { NdMode, MapMode, Item, Range };
inline constexpr size_t kPassFieldCount = 4;

using PassFieldText = std::array<char, kPassFieldBytes>;
using FieldTexts = platform::EnumArray<PassField, PassFieldText, kPassFieldCount>;

struct PassData {
  // Read and written field by field through its descriptor; a block another
  // component has cut short is read as absent and not written.
  platform::SharedBlock block;
  FieldTexts fields{};  // the display's private copies
};

// Fills the private copies with "NDMode=1", "MapMode=0", "Item=0x1E", "Range=320".
void ResetPassFields(PassData& passData);

// Creates the block with the initial content, or opens the existing one and
// leaves its content.
platform::SharedBlock::CreateResult OpenPassData(PassData& passData);
void ClosePassData(PassData& passData);

// The modes as the block holds them now (the private copies when it is
// closed or cut short).
DisplayModes ReadPassModes(const PassData& passData);

// Formats value into the private copy of field and copies the whole field
// into the block when it is open and whole.
void WritePassMode(PassData& passData, PassField field, int value);

// Whether a value fits its field and means something to the display; values
// outside (from another component or a damaged mode file) are not taken.
bool PassValueInRange(PassField field, long value);

// Field-level helpers, also used by the mode file.
int ReadPassField(const PassFieldText& text, PassField field);
void FormatPassField(PassFieldText& text, PassField field, int value);
void RefreshPassFields(PassData& passData);
void PublishPassFields(PassData& passData);

}  // namespace lumaro
