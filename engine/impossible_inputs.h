// Inputs no correlation matrix can have: a determinant outside (0, 1], a sample
// too small for its variables, eigenvalues out of order or adding up past p.
#pragma once

#include <optional>
#include <span>

namespace trolvane {

enum class ImpossibleCause {
    DeterminantNotAboveZero,
    DeterminantAboveOne,
    SampleTooSmall,
    EigenvalueNotAboveZero,
    EigenvalueAbovePrevious,
    EigenvalueBelowMeanAfter,
    EigenvaluesReachP,
    DeterminantTooLargeForEigenvalues,
};

struct ImpossibleInput {
    ImpossibleCause cause;
    // For the eigenvalue causes, the row j of the eigenvalue to check.
    int row = 0;
};

// The first cause, in the order of the enumeration, that rules out the inputs of
// row k = eigenvalues.size(): p variables, sample size n, the determinant of R
// and eigenvalues 1 to k; the ratio is the row's, where it could be computed.
// None when a correlation matrix can have them.
std::optional<ImpossibleInput> FindImpossibleInput(double p, double n, double detR,
                                                   std::span<const double> eigenvalues,
                                                   std::optional<double> ratio);

}  // namespace trolvane
