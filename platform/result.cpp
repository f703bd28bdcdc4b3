#include "platform/result.h"

#include <cstring>

namespace platform {

Error SystemError(int errorNumber, std::filesystem::path path) {
  return Error{std::strerror(errorNumber), errorNumber, std::move(path)};
}

Error Failure(std::string message) {
  return Error{std::move(message), 0, {}};
}

}  // namespace platform
