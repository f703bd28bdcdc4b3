// A small JSON reader for the map's build tool: the whole text into a tree
// of values. The tool reads only the data files kept in the repository.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace coastline_tool {

struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;                            // of an array
  std::vector<std::pair<std::string, JsonValue>> members;  // of an object

  // The member named `key` of an object, or nullptr.
  const JsonValue* Find(std::string_view key) const;
};

// The value of the whole text, or nothing with `problem` saying where it
// stopped being JSON.
std::optional<JsonValue> ParseJson(std::string_view text, std::string& problem);

}  // namespace coastline_tool
