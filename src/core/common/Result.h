#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace quillon {

// The success side of an operation that yields nothing but its outcome.
struct Done {};

// The error side of a Result: a message fit to show to the user or print on the command line.
struct Error {
  std::string Message;
};

// The outcome of an operation on input that can be wrong (files, serial lines, settings,
// command-line arguments): either a value or an Error with a clear message.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : State(std::move(value)) {}      // NOLINT(google-explicit-constructor)
  Result(Error error) : State(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool Ok() const { return std::holds_alternative<T>(State); }
  explicit operator bool() const { return Ok(); }

  const T& Value() const& { return std::get<T>(Checked(true)); }
  T& Value() & { return std::get<T>(Checked(true)); }
  T&& Value() && { return std::get<T>(std::move(Checked(true))); }
  const std::string& ErrorMessage() const { return std::get<Error>(Checked(false)).Message; }

 private:
  const std::variant<T, Error>& Checked(bool wantValue) const {
    if (Ok() != wantValue) throw std::logic_error("Result accessed on the wrong side");
    return State;
  }
  std::variant<T, Error>& Checked(bool wantValue) {
    if (Ok() != wantValue) throw std::logic_error("Result accessed on the wrong side");
    return State;
  }

  std::variant<T, Error> State;
};

}  // namespace quillon
