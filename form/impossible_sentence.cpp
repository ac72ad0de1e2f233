#include "form/impossible_sentence.h"

#include <array>

namespace trolvane {
namespace {

// Each cause's reason, after the name of its box; %j stands for the row of the
// eigenvalue and %i for the row before it.
struct Reason {
    ImpossibleCause cause;
    Control box;
    const char* text;
};

constexpr std::array<Reason, 8> kReasons{{
    {ImpossibleCause::DeterminantNotAboveZero, Control::det,
     " is 0 or below, which no correlation matrix has."},
    {ImpossibleCause::DeterminantAboveOne, Control::det,
     " is above 1, which no correlation matrix has."},
    {ImpossibleCause::SampleTooSmall, Control::n, " is too small for this number of variables."},
    {ImpossibleCause::EigenvalueNotAboveZero, Control::eigen,
     " is 0 or below, which no correlation matrix has."},
    {ImpossibleCause::EigenvalueAbovePrevious, Control::eigen,
     " is larger than eigenvalue %i: the eigenvalues go from the largest down."},
    {ImpossibleCause::EigenvalueBelowMeanAfter, Control::eigen,
     " is smaller than the mean of the eigenvalues after it: the eigenvalues go from the "
     "largest down."},
    {ImpossibleCause::EigenvaluesReachP, Control::eigen,
     ": the eigenvalues up to row %j add up to the number of variables or more."},
    {ImpossibleCause::DeterminantTooLargeForEigenvalues, Control::det,
     " is too large for these eigenvalues, which makes the statistic negative."},
}};

std::string WithRows(std::string text, int row) {
    for (const auto& [mark, value] : {std::pair{"%j", row}, std::pair{"%i", row - 1}}) {
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, 2, std::to_string(value));
        }
    }
    return text;
}

}  // namespace

BoxToCheck DescribeImpossible(const ImpossibleInput& input) {
    for (const Reason& reason : kReasons) {
        if (reason.cause == input.cause) {
            const ControlId box{reason.box, reason.box == Control::eigen ? input.row : 0};
            return {BoxName(box) + WithRows(reason.text, input.row), box};
        }
    }
    return {"", {Control::det}};
}

}  // namespace trolvane
