// What a setup step hands back: its value, or the failure text the user is shown.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace talvo::setup {

struct Failure {
    std::string text;
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : outcome_(std::move(value)) {}
    Result(Failure failure) : outcome_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(outcome_); }
    const T& value() const { return std::get<T>(outcome_); }
    const std::string& failure_text() const { return std::get<Failure>(outcome_).text; }

  private:
    std::variant<T, Failure> outcome_;
};

// A step that only succeeds or fails.
struct Done {};
using StepResult = Result<Done>;

}  // namespace talvo::setup
