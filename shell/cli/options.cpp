#include "shell/cli/options.h"

#include <algorithm>

namespace cli {
namespace {

bool Contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Extra arguments after the value of a multi-value option; -1 for none.
int ExtraArgumentsOf(const OptionRules& rules, std::string_view key) {
  for (const auto& [name, extra] : rules.multiValueOptions) {
    if (name == key) return extra;
  }
  return -1;
}

}  // namespace

bool Options::Has(std::string_view key) const {
  return std::any_of(given.begin(), given.end(),
                     [&](const ParsedOption& option) { return option.key == key; });
}

std::string Options::Get(std::string_view key) const {
  for (const ParsedOption& option : given) {
    if (option.key == key) return option.value;
  }
  return {};
}

std::vector<std::string> Options::All(std::string_view key) const {
  std::vector<std::string> values;
  for (const ParsedOption& option : given) {
    if (option.key == key) values.push_back(option.value);
  }
  return values;
}

platform::Result<Options> ParseOptions(const std::vector<std::string>& args, size_t from,
                                       const OptionRules& rules) {
  Options options;
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (Contains(rules.flags, arg)) {
      options.given.push_back({arg, ""});
      continue;
    }
    if (!arg.starts_with("--")) {
      options.positional.push_back(arg);
      continue;
    }
    const size_t eq = arg.find('=');
    const std::string key = arg.substr(0, eq);
    if (eq != std::string::npos && Contains(rules.joinedValueOptions, key)) {
      options.given.push_back({key, arg.substr(eq + 1)});
      continue;
    }
    const int extra = ExtraArgumentsOf(rules, key);
    if (!Contains(rules.valueOptions, key) && extra < 0) {
      if (rules.unknownOptionsArePositional) {
        options.positional.push_back(arg);
        continue;
      }
      return platform::Failure("unknown option '" + arg + "'");
    }
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return platform::Failure(arg + " needs a value");
    }
    for (int e = 0; e < extra; ++e) {
      if (i + 1 >= args.size()) {
        return platform::Failure(key + " needs " + std::to_string(extra + 1) + " values");
      }
      value += ' ' + args[++i];
    }
    options.given.push_back({key, value});
  }
  return options;
}

}  // namespace cli
