#include "data/pass_data.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/numbers.h"

namespace lumaro {

namespace {

struct FieldLayout {
  const char* prefix;
  size_t valueOffsetBytes;
  const char* format;
  int base;
};

constexpr platform::EnumArray<PassField, FieldLayout, kPassFieldCount> kLayouts = {{{
    {"NDMode=", 7, "%d", 10},
    {"MapMode=", 8, "%d", 10},
    {"Item=0x", 7, "%02X", 16},
    {"Range=", 6, "%03d", 10},
}}};

constexpr std::array<int, kPassFieldCount> kInitialValues = {1, 0, 0x1E, 320};

// The four fields as the block holds them now; nothing when it is closed or
// another component has cut it shorter than the fields.
std::optional<FieldTexts> BlockFields(const PassData& passData) {
  std::array<char, kPassFieldCount * kPassFieldBytes> bytes{};
  if (!passData.block.Read(0, bytes)) return std::nullopt;
  FieldTexts fields{};
  for (size_t field = 0; field < kPassFieldCount; ++field) {
    std::memcpy(fields[field].data(), bytes.data() + field * kPassFieldBytes, kPassFieldBytes);
  }
  return fields;
}

}  // namespace

bool PassValueInRange(PassField field, long value) {
  switch (field) {
    case PassField::NdMode:
      return value == 0 || value == 1;
    case PassField::MapMode:
      return value >= 0 && value <= 2;
    case PassField::Item:
      return value >= 0 && value <= 0xFF;
    case PassField::Range:
      return value >= 1 && value <= 999;
  }
  return false;
}

int ReadPassField(const PassFieldText& text, PassField field) {
  const FieldLayout& layout = kLayouts[field];
  std::string_view value(text.data() + layout.valueOffsetBytes,
                         kPassFieldBytes - layout.valueOffsetBytes);
  return static_cast<int>(platform::ReadLong(value.substr(0, value.find('\0')), 0, layout.base));
}

void FormatPassField(PassFieldText& text, PassField field, int value) {
  const FieldLayout& layout = kLayouts[field];
  std::memcpy(text.data(), layout.prefix, layout.valueOffsetBytes);
  // Bounded by the field: a value too wide for it is cut, never spilled.
  std::snprintf(text.data() + layout.valueOffsetBytes, kPassFieldBytes - layout.valueOffsetBytes,
                layout.format, value);
}

void ResetPassFields(PassData& passData) {
  for (size_t field = 0; field < kPassFieldCount; ++field) {
    passData.fields[field].fill('\0');
    FormatPassField(passData.fields[field], static_cast<PassField>(field), kInitialValues[field]);
  }
}

platform::SharedBlock::CreateResult OpenPassData(PassData& passData) {
  platform::SharedBlock::CreateResult result =
      passData.block.CreateOrOpen(kPassDataName, kPassDataBytes);
  if (result == platform::SharedBlock::CreateResult::Created) {
    ResetPassFields(passData);
    const std::array<char, kPassDataBytes> zeros{};
    passData.block.Write(0, zeros);
    PublishPassFields(passData);
  } else if (result == platform::SharedBlock::CreateResult::AlreadyExists) {
    RefreshPassFields(passData);
  }
  return result;
}

void ClosePassData(PassData& passData) {
  passData.block.Close();
}

void RefreshPassFields(PassData& passData) {
  if (std::optional<FieldTexts> fields = BlockFields(passData)) passData.fields = *fields;
}

void PublishPassFields(PassData& passData) {
  std::array<char, kPassFieldCount * kPassFieldBytes> bytes{};
  for (size_t field = 0; field < kPassFieldCount; ++field) {
    std::memcpy(bytes.data() + field * kPassFieldBytes, passData.fields[field].data(),
                kPassFieldBytes);
  }
  passData.block.Write(0, bytes);
}

DisplayModes ReadPassModes(const PassData& passData) {
  FieldTexts fields = BlockFields(passData).value_or(passData.fields);
  return {ReadPassField(fields[PassField::NdMode], PassField::NdMode),
          ReadPassField(fields[PassField::MapMode], PassField::MapMode),
          ReadPassField(fields[PassField::Item], PassField::Item),
          ReadPassField(fields[PassField::Range], PassField::Range)};
}

void WritePassMode(PassData& passData, PassField field, int value) {
  FormatPassField(passData.fields[field], field, value);
  passData.block.Write(platform::IndexOf(field) * kPassFieldBytes, passData.fields[field]);
}

}  // namespace lumaro
