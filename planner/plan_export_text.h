// Text pieces the plan exporters share: numbers written the same way in
// every locale, and XML-safe texts.
#pragma once

#include <string>
#include <string_view>

namespace planner {

// `value` with exactly `decimals` digits after the point ("%.*f" in the C
// locale); a negative zero is written without its sign.
std::string FixedDecimal(double value, int decimals);

// `value` with at most `digits` significant digits ("%.*g" in the C locale),
// as a C++ stream with that precision writes it.
std::string SignificantDecimal(double value, int digits);

// UTF-8 text as XML character data: '&', '<' and '>' escaped, control
// characters (which XML 1.0 cannot carry) replaced by '?'.
std::string XmlText(std::string_view utf8);

}  // namespace planner
