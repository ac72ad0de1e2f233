#include "retention/quantile.h"

#include <algorithm>
#include <cmath>

namespace trolvane {

// As R computes it: h = 1 + (N - 1) q, then (1 - f) x_lo + f x_hi with lo the
// whole part of h and f its fraction, counting from 1.
double Quantile(std::span<double> values, double q) {
    const double h = 1 + static_cast<double>(values.size() - 1) * q;
    const double lo = std::floor(h);
    const auto low = values.begin() + static_cast<std::ptrdiff_t>(lo) - 1;
    std::nth_element(values.begin(), low, values.end());
    const double fraction = h - lo;
    if (fraction == 0) {
        return *low;
    }
    const double high = *std::min_element(low + 1, values.end());
    return high == *low ? high : (1 - fraction) * *low + fraction * high;
}

}  // namespace trolvane
