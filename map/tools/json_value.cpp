#include "map/tools/json_value.h"

#include <cstdlib>

namespace coastline_tool {
namespace {

// Nesting deeper than TopoJSON ever goes is taken for a broken file.
constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  platform::Result<JsonValue> Document() {
    JsonValue value;
    if (Value(value, 0)) {
      SkipBlanks();
      if (at_ != text_.size()) Fail("text after the value");
    }
    if (!problem_.empty()) {
      return platform::Failure(problem_ + " at character " + std::to_string(at_));
    }
    return value;
  }

 private:
  bool Fail(const char* what) {
    if (problem_.empty()) problem_ = what;
    return false;
  }

  void SkipBlanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }

  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return Fail("an unknown word");
    at_ += word.size();
    return true;
  }

  bool Value(JsonValue& value, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    SkipBlanks();
    if (at_ >= text_.size()) return Fail("the text ends early");
    const char c = text_[at_];
    if (c == '{') return Object(value, depth);
    if (c == '[') return Array(value, depth);
    if (c == '"') {
      value.type = JsonValue::Type::String;
      return String(value.text);
    }
    if (c == 't' || c == 'f') {
      value.type = JsonValue::Type::Bool;
      value.boolean = c == 't';
      return Word(c == 't' ? "true" : "false");
    }
    if (c == 'n') return Word("null");
    return Number(value);
  }

  bool Number(JsonValue& value) {
    const std::string copy(text_.substr(at_, 64));
    char* end = nullptr;
    value.number = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) return Fail("not a value");
    value.type = JsonValue::Type::Number;
    at_ += static_cast<size_t>(end - copy.c_str());
    return true;
  }

  // Escapes are kept as they are written: the tool compares only plain keys.
  bool String(std::string& out) {
    ++at_;
    while (at_ < text_.size() && text_[at_] != '"') {
      if (text_[at_] == '\\' && at_ + 1 < text_.size()) out += text_[at_++];
      out += text_[at_++];
    }
    if (at_ >= text_.size()) return Fail("a string does not end");
    ++at_;
    return true;
  }

  bool Array(JsonValue& value, int depth) {
    ++at_;
    value.type = JsonValue::Type::Array;
    if (Take(']')) return true;
    do {
      if (!Value(value.items.emplace_back(), depth + 1)) return false;
    } while (Take(','));
    return Take(']') || Fail("an array does not end with ]");
  }

  bool Object(JsonValue& value, int depth) {
    ++at_;
    value.type = JsonValue::Type::Object;
    if (Take('}')) return true;
    do {
      SkipBlanks();
      if (at_ >= text_.size() || text_[at_] != '"') return Fail("a member has no name");
      if (!String(value.memberNames.emplace_back())) return false;
      if (!Take(':')) return Fail("a member name without ':'");
      if (!Value(value.memberValues.emplace_back(), depth + 1)) return false;
    } while (Take(','));
    return Take('}') || Fail("an object does not end with }");
  }

  std::string_view text_;
  size_t at_ = 0;
  std::string problem_;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (size_t i = 0; i < memberNames.size() && i < memberValues.size(); ++i) {
    if (memberNames[i] == key) return &memberValues[i];
  }
  return nullptr;
}

platform::Result<JsonValue> ParseJson(std::string_view text) {
  return Parser(text).Document();
}

}  // namespace coastline_tool
