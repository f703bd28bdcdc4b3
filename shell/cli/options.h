// The option parser of skat-cli's commands: positional arguments, flags and
// options with a value ("--key value" or "--key=value"), kept in the order
// given so that a command can apply them in that order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace cli {

// The options one command accepts.
struct OptionRules {
  // Take no value; a flag may also be a short form such as "-y".
  std::vector<std::string_view> flags = {};
  std::vector<std::string_view> valueOptions = {};  // take one value
  // Options that take one value plus this many further arguments
  // ("--move POS up"); the extra arguments are joined to the value by blanks.
  std::vector<std::pair<std::string_view, int>> multiValueOptions = {};
  // Take one value written in the same argument only ("--duplicates=ask"),
  // so that the next argument is never taken for it.
  std::vector<std::string_view> joinedValueOptions = {};
  // For commands that take no free arguments: an unknown option is kept as a
  // positional argument, so that the command refuses it as "unexpected".
  bool unknownOptionsArePositional = false;
};

struct ParsedOption {
  std::string key;    // as OptionRules lists it: "--yes", "-y"
  std::string value;  // empty for a flag
};

class Options {
 public:
  std::vector<std::string> positional;
  std::vector<ParsedOption> given;  // in command-line order

  bool Has(std::string_view key) const;
  // The first value of `key`; empty when it was not given.
  std::string Get(std::string_view key) const;
  // Every value of `key`, in order.
  std::vector<std::string> All(std::string_view key) const;
};

// Parses `args` from index `from`. An unknown option ("unknown option
// '--x=1'", named as written), or one without its value, fails saying why.
platform::Result<Options> ParseOptions(const std::vector<std::string>& args, size_t from,
                                       const OptionRules& rules);

}  // namespace cli
