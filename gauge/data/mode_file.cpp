#include "data/mode_file.h"

#include <cstdio>

#include "data/small_files.h"
#include "platform/numbers.h"

namespace lumaro {

namespace {

constexpr size_t kConfigMaxBytes = 4 << 20;
constexpr size_t kModeFileMaxBytes = 4096;
constexpr std::string_view kPanelNineKey = "PANEL_9=";

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

std::optional<KeyBinding> ParsePanelNineKey(std::string_view configText) {
  while (!configText.empty()) {
    size_t lineEnd = configText.find('\n');
    std::string_view line = configText.substr(0, lineEnd);
    configText =
        lineEnd == std::string_view::npos ? std::string_view() : configText.substr(lineEnd + 1);
    if (!line.starts_with(kPanelNineKey)) continue;
    std::string_view value = line.substr(kPanelNineKey.size());
    KeyBinding key;
    key.virtualKey = static_cast<uint32_t>(platform::ReadLong(value));
    size_t comma = value.find(',');
    key.modifiers = comma == std::string_view::npos
                        ? 0
                        : static_cast<uint32_t>(platform::ReadLong(value.substr(comma + 1)));
    return key;
  }
  return std::nullopt;
}

KeyBinding ReadPanelNineKey(const std::string& folder) {
  for (const char* name : kConfigFileNames) {
    std::optional<std::string> text = ReadSmallFile(InFolder(folder, name), kConfigMaxBytes);
    if (!text) continue;
    return ParsePanelNineKey(*text).value_or(KeyBinding{});
  }
  return KeyBinding{};
}

ModeFileValues ParseModeFile(std::string_view text) {
  ModeFileValues parsed;
  for (size_t field = 0; field < kPassFieldCount && !text.empty(); ++field) {
    size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    long value = platform::ReadLong(line);
    if (PassValueInRange(static_cast<PassField>(field), value))
      parsed.values[field] = static_cast<int>(value);
  }
  return parsed;
}

bool LoadModeFile(const std::string& folder, PassData& passData, DisplayModes& modes) {
  std::optional<std::string> text =
      ReadSmallFile(InFolder(folder, kModeFilePath), kModeFileMaxBytes);
  if (!text) return false;
  RefreshPassFields(passData);
  ModeFileValues parsed = ParseModeFile(*text);
  platform::EnumArray<PassField, int*, kPassFieldCount> targets = {nullptr, &modes.mapMode,
                                                                   &modes.item, &modes.rangeNm};
  // Without the block nobody else can hand NDMode over, so it applies at once.
  if (!passData.block.IsOpen()) targets[PassField::NdMode] = &modes.ndMode;
  for (size_t field = 0; field < kPassFieldCount; ++field) {
    if (!parsed.values[field]) continue;
    FormatPassField(passData.fields[field], static_cast<PassField>(field), *parsed.values[field]);
    if (targets[field] != nullptr) *targets[field] = *parsed.values[field];
  }
  PublishPassFields(passData);
  return true;
}

bool StoreModeFile(const std::string& folder, const DisplayModes& modes) {
  std::string path = InFolder(folder, kModeFilePath);
  std::string temporaryPath = path + ".new";
  std::FILE* file = CreateFileForWriting(temporaryPath);
  if (file == nullptr) return false;
  bool written = std::fprintf(file, "%d\r\n%d\r\n%d\r\n%d\r\n", modes.ndMode, modes.mapMode,
                              modes.item, modes.rangeNm) > 0;
  written = std::fclose(file) == 0 && written;
  if (!written || std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
    std::remove(temporaryPath.c_str());
    return false;
  }
  return true;
}

}  // namespace lumaro
