#include "engine/impossible_inputs.h"

namespace trolvane {
namespace {

// How far a comparison may be off through rounding in double arithmetic alone:
// equal eigenvalues, or a determinant equal to what they allow, are possible.
constexpr double kRoundingSlack = 1e-9;

bool ClearlyBelow(double value, double bound) {
    return value < bound - kRoundingSlack * (bound < 0 ? -bound : bound);
}

// Bartlett's multiplier of row k, which is 0 or below where the sample is too small.
double Multiplier(double p, double n, int k) {
    return ((n - 1) - ((2 * p + 5) / 6)) - ((k * 2.0) / 3);
}

std::optional<ImpossibleInput> EigenvalueOutOfOrder(double p, std::span<const double> eigenvalues) {
    double sum = 0;
    for (std::size_t i = 0; i < eigenvalues.size(); ++i) {
        const int j = static_cast<int>(i) + 1;
        const double eigenvalue = eigenvalues[i];
        sum += eigenvalue;
        if (!(eigenvalue > 0)) {
            return ImpossibleInput{ImpossibleCause::EigenvalueNotAboveZero, j};
        }
        if (i > 0 && ClearlyBelow(eigenvalues[i - 1], eigenvalue)) {
            return ImpossibleInput{ImpossibleCause::EigenvalueAbovePrevious, j};
        }
        const double remaining = p - j;
        if (remaining > 0 && ClearlyBelow(eigenvalue, (p - sum) / remaining)) {
            return ImpossibleInput{ImpossibleCause::EigenvalueBelowMeanAfter, j};
        }
    }
    return std::nullopt;
}

std::optional<ImpossibleInput> EigenvaluesReachingP(double p, std::span<const double> eigenvalues) {
    double sum = 0;
    for (std::size_t i = 0; i < eigenvalues.size(); ++i) {
        sum += eigenvalues[i];
        if (sum >= p) {
            return ImpossibleInput{ImpossibleCause::EigenvaluesReachP, static_cast<int>(i) + 1};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImpossibleInput> FindImpossibleInput(double p, double n, double detR,
                                                   std::span<const double> eigenvalues,
                                                   std::optional<double> ratio) {
    if (!(detR > 0)) {
        return ImpossibleInput{ImpossibleCause::DeterminantNotAboveZero};
    }
    if (detR > 1) {
        return ImpossibleInput{ImpossibleCause::DeterminantAboveOne};
    }
    const int k = static_cast<int>(eigenvalues.size());
    if (!(n > p) || !(Multiplier(p, n, k) > 0)) {
        return ImpossibleInput{ImpossibleCause::SampleTooSmall};
    }
    if (auto outOfOrder = EigenvalueOutOfOrder(p, eigenvalues)) {
        return outOfOrder;
    }
    if (auto reachingP = EigenvaluesReachingP(p, eigenvalues)) {
        return reachingP;
    }
    if (ratio && ClearlyBelow(1, *ratio)) {
        return ImpossibleInput{ImpossibleCause::DeterminantTooLargeForEigenvalues};
    }
    return std::nullopt;
}

}  // namespace trolvane
