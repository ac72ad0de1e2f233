// Parallel analysis on ordered categories: random data sets that permute each
// variable's categories among the complete cases, and their polychoric eigenvalues.
#pragma once

#include <cstdint>

#include "data_reading/polychoric.h"

namespace trolvane {

// Set number `set` of the random data: each variable's categories shuffled
// among the cases (Fisher-Yates), independently, from the set's own generator
// seeded from the seed and the set's number. Every variable keeps its
// categories and proportions, and so its thresholds; their correlations are gone.
OrdinalData PermutedSet(const OrdinalData& data, std::uint64_t seed, int set);

// What one thread needs to draw permuted sets of the data, which it refers to.
class PermutedCorrelations {
  public:
    explicit PermutedCorrelations(const OrdinalData& data) : data_(data) {}

    // The eigenvalues of set number `set`'s polychoric correlations, the
    // largest first, into `out`, which holds one per variable; and where
    // `reduced` is given, those of its reduced correlations (its squared
    // multiple correlations on the diagonal) into it, one per variable.
    void Eigenvalues(std::uint64_t seed, int set, double* out, double* reduced = nullptr) const;

  private:
    const OrdinalData& data_;
};

}  // namespace trolvane
