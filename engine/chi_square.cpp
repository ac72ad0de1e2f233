#include "engine/chi_square.h"

#include <algorithm>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>

#include "engine/math_errors.h"

namespace trolvane {
namespace {

// Failures inside the special function come back as NaN instead of exceptions.
using Quiet = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::errno_on_error>,
    boost::math::policies::overflow_error<boost::math::policies::errno_on_error>,
    boost::math::policies::evaluation_error<boost::math::policies::errno_on_error>>;

// Past 2^53 every double is whole, so cutting to thousandths changes nothing;
// this also keeps statistics too large to multiply by 1000 showable.
constexpr double kAllWhole = 9007199254740992.0;

double ShownStatistic(double chisq) {
    return std::fabs(chisq) >= kAllWhole ? chisq : FloorToThousandths(chisq);
}

}  // namespace

double ChiSquareUpperTail(double chisq, double df) {
    if (chisq <= 0) {
        return 1;
    }
    if (df > kLargestAccurateDf) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    // Halving the smallest df there is would leave no shape at all; the answer
    // there is far below 1E-300 either way.
    const double shape = std::max(df / 2, std::numeric_limits<double>::denorm_min());
    return boost::math::gamma_q(shape, chisq / 2, Quiet());
}

std::optional<std::string> ExactPText(double chisq, double df, const NumberFormat& format) {
    const std::optional<std::string> note = ExactPNote(chisq, df, format);
    return note ? std::optional("Exact " + *note) : std::nullopt;
}

std::optional<std::string> ExactPNote(double chisq, double df, const NumberFormat& format) {
    if (!(df > 0)) {
        return std::nullopt;
    }
    const double p = ChiSquareUpperTail(chisq, df);
    if (!std::isfinite(p)) {
        return std::nullopt;
    }
    // A probability too small for a double is said to be so, never 0.
    const std::string probability = p < kSmallestShownP ? std::string("p ") + kBelowSmallestShownP
                                                        : "p = " + RoundedNumberText(p, 4, format);
    return probability + " (chi-square " + NumberText(ShownStatistic(chisq), format) + " on " +
           NumberText(df, format) + " df)";
}

}  // namespace trolvane
