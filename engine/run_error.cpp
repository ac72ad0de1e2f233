#include "engine/run_error.h"

#include <array>

namespace trolvane {
namespace {

struct ErrorDescription {
    ErrorKind kind;
    int number;
    const char* text;
};

constexpr std::array<ErrorDescription, 5> kDescriptions{{
    {ErrorKind::InvalidArgument, 5, "Invalid argument"},
    {ErrorKind::Overflow, 6, "Overflow"},
    {ErrorKind::MissingElement, 9, "Missing element"},
    {ErrorKind::DivisionByZero, 11, "Division by zero"},
    {ErrorKind::TypeMismatch, 13, "Type mismatch"},
}};

const ErrorDescription& DescriptionOf(ErrorKind kind) noexcept {
    for (const ErrorDescription& description : kDescriptions) {
        if (description.kind == kind) {
            return description;
        }
    }
    return kDescriptions.front();
}

}  // namespace

int RunError::number() const noexcept {
    return DescriptionOf(kind_).number;
}

const char* RunError::what() const noexcept {
    return DescriptionOf(kind_).text;
}

}  // namespace trolvane
