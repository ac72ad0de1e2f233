// The one failure value of Trolvane: every conversion, arithmetic and row-lookup
// fault raises a RunError whose kind says what went wrong.
#pragma once

#include <exception>
#include <optional>

namespace trolvane {

enum class ErrorKind { TypeMismatch, InvalidArgument, DivisionByZero, Overflow, MissingElement };

class RunError : public std::exception {
  public:
    explicit RunError(ErrorKind kind) noexcept : kind_(kind) {}

    ErrorKind kind() const noexcept { return kind_; }
    // The error's number, as the message box shows it beside the description.
    int number() const noexcept;
    const char* what() const noexcept override;

  private:
    ErrorKind kind_;
};

// What compute() gives, or none where it raises a RunError.
template <typename Compute>
auto UnlessRunError(Compute compute) -> std::optional<decltype(compute())> {
    try {
        return compute();
    } catch (const RunError&) {
        return std::nullopt;
    }
}

}  // namespace trolvane
