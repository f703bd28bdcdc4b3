// The outcome of an operation that can fail: its value, or an Error that
// says what went wrong. Both types are [[nodiscard]], so a caller cannot
// drop a failure by accident, and an error never passes for data (as an
// empty-on-success text or a bool beside an out-parameter would).
#pragma once

#include <cassert>
#include <filesystem>
#include <string>
#include <utility>
#include <variant>

namespace platform {

struct Error {
  std::string message;         // what went wrong, in the words the user is told
  int errorNumber = 0;         // the errno value behind it; 0 when there is none
  std::filesystem::path path;  // the file it is about, when there is one
};

// An Error with the operating system's text for `errorNumber`.
Error SystemError(int errorNumber, std::filesystem::path path = {});
// An Error that is only its message: a refusal with no system error behind it.
Error Failure(std::string message);

// `E` is Error, or a kind of Error that says more where its callers need it.
template <typename T, typename E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(E error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }

  const E& error() const {
    assert(!ok());
    return std::get<1>(state_);
  }

 private:
  std::variant<T, E> state_;
};

// The outcome of an operation that gives nothing back but can fail.
template <typename E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  Result(E error) : error_(std::move(error)), failed_(true) {}

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const E& error() const {
    assert(failed_);
    return error_;
  }

 private:
  E error_;
  bool failed_ = false;
};

using Status = Result<void>;

}  // namespace platform
