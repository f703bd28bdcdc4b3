// The text a failed operation tells the user, so that a test compares the
// exact message in one expectation and an unexpected success shows as "".
#pragma once

#include <string>

#include "platform/result.h"

template <typename T>
std::string FailureText(const platform::Result<T>& result) {
  return result ? std::string() : result.error().message;
}
