// R's default quantile (type 7), linear interpolation between order
// statistics, which parallel analysis reports as the random percentile.
#pragma once

#include <span>

namespace trolvane {

// The q-quantile, 0 <= q <= 1, of one or more values, reordered in place.
double Quantile(std::span<double> values, double q);

}  // namespace trolvane
