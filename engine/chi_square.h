// The exact upper-tail probability of the chi-square distribution, and the note
// that gives it beside a row's traditional caption.
#pragma once

#include <optional>
#include <string>

#include "engine/conversions.h"

namespace trolvane {

// Past this many degrees of freedom the incomplete gamma function loses accuracy
// even where the answer is well conditioned (measured: 1E-6 at df 1E11, 9 % at
// df 1E12), so no probability is given there rather than a wrong one.
constexpr double kLargestAccurateDf = 1e10;

// Below this a probability is written as being below it: near the end of the
// double range it can no longer be told apart from 0.
constexpr double kSmallestShownP = 1e-300;
constexpr char kBelowSmallestShownP[] = "< 1E-300";

// The probability that a chi-square variable with df > 0 degrees of freedom
// exceeds chisq; 1 for chisq <= 0. NaN past 1E10 degrees of freedom, where it
// cannot be computed accurately.
double ChiSquareUpperTail(double chisq, double df);

// "Exact p = 0.08331 (chi-square 9.728 on 5 df)": the p-value with 4 significant
// digits, the statistic cut to thousandths as captions show it, and df; none
// for a row without degrees of freedom or where the probability cannot be computed.
std::optional<std::string> ExactPText(double chisq, double df, const NumberFormat& format = {});

// The same note without its first word: "p = 0.08331 (chi-square 9.728 on 5 df)".
std::optional<std::string> ExactPNote(double chisq, double df, const NumberFormat& format = {});

}  // namespace trolvane
