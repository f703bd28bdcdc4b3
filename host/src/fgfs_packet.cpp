#include "fgfs_packet.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <variant>
#include <vector>

namespace ndhost {

namespace {

constexpr size_t kMaxTextBytes = 16;
constexpr size_t kQuotedBytes = 24;  // of a bad field, in a message

using FieldRef =
    std::variant<std::optional<double>*, std::optional<bool>*, std::optional<std::string>*>;

// A value's place in the packet, its name in the protocol file, and the
// bounds outside which a number cannot come from a working simulator.
struct Field {
  std::string_view name;
  FieldRef value;
  double minimum = 0;
  double maximum = 0;
};

// Names of one NAV receiver's fields, in packet order.
constexpr std::string_view kNavFieldNames[2][12] = {
    {"nav1-frequency-mhz", "nav1-ident", "nav1-in-range", "nav1-selected-course-deg",
     "nav1-course-needle", "nav1-gs-in-range", "nav1-gs-needle", "nav1-to-flag", "nav1-from-flag",
     "nav1-bearing-true-deg", "nav1-distance-m", "nav1-dme-in-range"},
    {"nav2-frequency-mhz", "nav2-ident", "nav2-in-range", "nav2-selected-course-deg",
     "nav2-course-needle", "nav2-gs-in-range", "nav2-gs-needle", "nav2-to-flag", "nav2-from-flag",
     "nav2-bearing-true-deg", "nav2-distance-m", "nav2-dme-in-range"},
};

void AppendNavFields(std::vector<Field>& fields, int receiver, FgfsNavRadio& radio) {
  const std::string_view* name = kNavFieldNames[receiver];
  const std::vector<Field> nav = {
      {name[0], &radio.frequencyMhz, 0, 1000},
      {name[1], &radio.ident},
      {name[2], &radio.inRange},
      {name[3], &radio.selectedCourseDeg, -720, 720},
      {name[4], &radio.courseNeedle, -10, 10},
      {name[5], &radio.glideSlopeInRange},
      {name[6], &radio.glideSlopeNeedle, -10, 10},
      {name[7], &radio.toFlag},
      {name[8], &radio.fromFlag},
      {name[9], &radio.bearingTrueDeg, -720, 720},
      {name[10], &radio.distanceM, 0, 1e9},
      {name[11], &radio.dmeInRange},
  };
  fields.insert(fields.end(), nav.begin(), nav.end());
}

// The values of a sample in packet order (after the tag).
std::vector<Field> FieldsOf(FgfsSample& sample) {
  std::vector<Field> fields = {
      {"latitude-deg", &sample.latitudeDeg, -90, 90},
      {"longitude-deg", &sample.longitudeDeg, -180, 180},
      {"altitude-ft", &sample.altitudeFt, -10000, 1e7},
      {"heading-true-deg", &sample.headingTrueDeg, -720, 720},
      {"heading-magnetic-deg", &sample.headingMagneticDeg, -720, 720},
      {"groundspeed-kt", &sample.groundSpeedKt, 0, 1e5},
      {"true-airspeed-kt", &sample.trueAirspeedKt, -1e5, 1e5},
      {"wind-from-deg", &sample.windFromDeg, -720, 720},
      {"wind-speed-kt", &sample.windSpeedKt, 0, 1000},
      {"heading-bug-deg", &sample.headingBugDeg, -720, 720},
  };
  AppendNavFields(fields, 0, sample.nav1);
  AppendNavFields(fields, 1, sample.nav2);
  const std::vector<Field> rest = {
      {"dme-in-range", &sample.dmeInRange},
      {"dme-distance-nm", &sample.dmeDistanceNm, 0, 1e5},
      {"adf-frequency-khz", &sample.adfFrequencyKhz, 0, 10000},
      {"adf-ident", &sample.adfIdent},
      {"adf-in-range", &sample.adfInRange},
      {"adf-bearing-deg", &sample.adfBearingDeg, -720, 720},
      {"marker-outer", &sample.markerOuter},
      {"marker-middle", &sample.markerMiddle},
      {"marker-inner", &sample.markerInner},
  };
  fields.insert(fields.end(), rest.begin(), rest.end());
  return fields;
}

// Length of the UTF-8 sequence starting at `at`, or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF are not).
size_t Utf8SequenceLength(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t index) { return static_cast<uint8_t>(bytes[index]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (size_t index = 1; index < length; ++index) {
    if ((byte(at + index) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + index) & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// The packet's text without its line end, or a reason to reject it.
platform::Result<std::string_view> PacketLine(std::string_view bytes) {
  if (bytes.size() > kFgfsMaxPacketBytes) {
    return platform::Failure("packet of " + std::to_string(bytes.size()) +
                             " bytes is longer than " + std::to_string(kFgfsMaxPacketBytes));
  }
  if (bytes.ends_with('\n')) bytes.remove_suffix(1);
  if (bytes.ends_with('\r')) bytes.remove_suffix(1);
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = Utf8SequenceLength(bytes, at);
    if (length == 0) {
      return platform::Failure("packet is not UTF-8 text (byte " + std::to_string(at) + ")");
    }
    const auto lead = static_cast<uint8_t>(bytes[at]);
    if (length == 1 && lead != '\t' && (lead < 0x20 || lead == 0x7F)) {
      return platform::Failure("packet has a control character at byte " + std::to_string(at));
    }
    at += length;
  }
  return bytes;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::string Quoted(std::string_view text) {
  if (text.size() <= kQuotedBytes) return "\"" + std::string(text) + "\"";
  // Cut before a UTF-8 continuation byte so the message stays text.
  size_t cut = kQuotedBytes;
  while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
  return "\"" + std::string(text.substr(0, cut)) + "...\"";
}

// Stores one field's text into its value; fails saying why a text is
// refused.
platform::Status ReadField(std::string_view text, const Field& field) {
  if (text.empty()) return {};  // no news: the last value stays
  if (auto* number = std::get_if<std::optional<double>*>(&field.value)) {
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status == std::errc::result_out_of_range)
      return platform::Failure(Quoted(text) + " is out of range");
    if (status != std::errc() || end != text.data() + text.size()) {
      return platform::Failure(Quoted(text) + " is not a number");
    }
    if (!std::isfinite(value)) return platform::Failure(Quoted(text) + " is not a finite number");
    if (value < field.minimum || value > field.maximum)
      return platform::Failure(Quoted(text) + " is out of range");
    **number = value;
  } else if (auto* flag = std::get_if<std::optional<bool>*>(&field.value)) {
    if (text != "0" && text != "1") return platform::Failure(Quoted(text) + " is not 0 or 1");
    **flag = text == "1";
  } else {
    if (text.size() > kMaxTextBytes)
      return platform::Failure(Quoted(text) + " is longer than 16 bytes");
    *std::get<std::optional<std::string>*>(field.value) = std::string(text);
  }
  return {};
}

void AppendNumber(std::string& packet, double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof(digits), value);
  packet.append(digits, result.ptr);
}

}  // namespace

platform::Result<FgfsSample> ParseFgfsPacket(std::string_view bytes) {
  const platform::Result<std::string_view> line = PacketLine(bytes);
  if (!line) return line.error();
  // The tag first: a packet of another protocol is told as such.
  const std::vector<std::string_view> texts = SplitFields(*line);
  if (texts[0] != kFgfsPacketTag) {
    return platform::Failure("not a skyatlas-nd packet: tag " + Quoted(texts[0]));
  }
  if (texts.size() != static_cast<size_t>(kFgfsFieldCount)) {
    return platform::Failure(std::to_string(kFgfsFieldCount) + " fields expected, " +
                             std::to_string(texts.size()) + " received");
  }
  FgfsSample sample;
  const std::vector<Field> fields = FieldsOf(sample);
  for (size_t index = 0; index < fields.size(); ++index) {
    if (const platform::Status read = ReadField(texts[index + 1], fields[index]); !read) {
      return platform::Failure("field " + std::to_string(index + 1) + " (" +
                               std::string(fields[index].name) + "): " + read.error().message);
    }
  }
  return sample;
}

std::string FormatFgfsPacket(const FgfsSample& sample) {
  FgfsSample copy = sample;
  std::string packet(kFgfsPacketTag);
  for (const Field& field : FieldsOf(copy)) {
    packet += '\t';
    if (auto* number = std::get_if<std::optional<double>*>(&field.value)) {
      if (**number) AppendNumber(packet, ***number);
    } else if (auto* flag = std::get_if<std::optional<bool>*>(&field.value)) {
      if (**flag) packet += ***flag ? '1' : '0';
    } else {
      const std::optional<std::string>& text = *std::get<std::optional<std::string>*>(field.value);
      if (text) packet += *text;
    }
  }
  packet += '\n';
  return packet;
}

void MergeFgfsSample(FgfsSample& state, const FgfsSample& newer) {
  FgfsSample copy = newer;
  const std::vector<Field> targets = FieldsOf(state);
  const std::vector<Field> sources = FieldsOf(copy);
  for (size_t index = 0; index < targets.size(); ++index) {
    std::visit(
        [&](auto* target) {
          auto* source = std::get<std::remove_reference_t<decltype(target)>>(sources[index].value);
          if (*source) *target = *source;
        },
        targets[index].value);
  }
}

}  // namespace ndhost
