// Result<T>: a value, or the message that tells the user why there is none.
// Analyses return it; the command handler that called them shows the message and ends.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace vorn {

struct Failure {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() { return std::get<0>(state_); }
  const T& value() const { return std::get<0>(state_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const std::string& error() const { return std::get<1>(state_).message; }

 private:
  std::variant<T, Failure> state_;
};

// A result that carries no value: success, or the failure's message.
struct Done {};
using Status = Result<Done>;

inline Status Success() { return Done{}; }

}  // namespace vorn
