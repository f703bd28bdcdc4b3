// A small JSON reader for the map's build tool: the whole text into a tree
// of values. The tool reads only the data files kept in the repository.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace coastline_tool {

struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;  // of an array
  // The members of an object: names and values in step (a vector of pairs
  // would need the value's type complete here).
  std::vector<std::string> memberNames;
  std::vector<JsonValue> memberValues;

  // The member named `key` of an object, or nullptr.
  const JsonValue* Find(std::string_view key) const;
};

// The value of the whole text; fails saying where it stopped being JSON.
platform::Result<JsonValue> ParseJson(std::string_view text);

}  // namespace coastline_tool
