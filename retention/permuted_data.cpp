#include "retention/permuted_data.h"

#include <algorithm>
#include <utility>

#include <Eigen/Eigenvalues>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/uniform_int_distribution.hpp>

#include "retention/factor_rules.h"
#include "retention/set_seed.h"

namespace trolvane {

// Variable after variable, case n - 1 down to 1 swaps with a case drawn from
// 0 to itself. The draws are 32-bit in every edition, so that each gives the
// same sets.
OrdinalData PermutedSet(const OrdinalData& data, std::uint64_t seed, int set) {
    boost::random::mt19937_64 engine(SetSeed(seed, set));
    OrdinalData permuted = data;
    const auto cases = static_cast<std::uint32_t>(data.cases);
    for (std::size_t v = 0; v < data.thresholds.size(); ++v) {
        std::uint8_t* codes = permuted.codes.data() + v * data.cases;
        for (std::uint32_t i = cases; i-- > 1;) {
            const std::uint32_t j =
                boost::random::uniform_int_distribution<std::uint32_t>(0, i)(engine);
            std::swap(codes[i], codes[j]);
        }
    }
    return permuted;
}

void PermutedCorrelations::Eigenvalues(std::uint64_t seed, int set, double* out,
                                       double* reduced) const {
    const Polychoric polychoric = PolychoricCorrelations(PermutedSet(data_, seed, set));
    const int p = data_.count();
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(
        Eigen::Map<const Eigen::MatrixXd>(polychoric.correlations.data(), p, p),
        Eigen::EigenvaluesOnly);
    // Eigen gives the smallest first.
    std::reverse_copy(solver.eigenvalues().begin(), solver.eigenvalues().end(), out);
    if (reduced) {
        const std::vector<double> values = ReducedEigenvalues(p, polychoric.correlations);
        std::copy(values.begin(), values.end(), reduced);
    }
}

}  // namespace trolvane
