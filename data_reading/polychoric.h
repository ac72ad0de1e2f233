// Polychoric and tetrachoric correlations of raw data whose variables hold
// ordered categories as whole numbers, and the sentences the summary says of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversions.h"

namespace trolvane {

// The most categories a variable may have for polychoric correlations.
constexpr int kMostCategories = 10;

// Where the likelihood of a pair has no maximum inside (-1, 1), its
// correlation is taken as this, with the sign of the way it rises.
constexpr double kBoundaryCorrelation = 0.9999;

// Raw data as the reading keeps them for correlations: the complete cases of
// the kept variables, column after column, and one name per variable.
struct RawColumns {
    std::vector<std::string> names;
    std::size_t cases = 0;
    std::vector<double> values;
};

// Variables of ordered categories: per variable, each complete case's category
// (0 for its lowest value) and the thresholds tau_1 < ... < tau_(c-1) that cut
// a standard normal variable into its c categories, tau_i being the normal
// quantile of the proportion of cases in categories 0 to i - 1.
struct OrdinalData {
    std::size_t cases = 0;
    // Variable after variable, `cases` codes each.
    std::vector<std::uint8_t> codes;
    std::vector<std::vector<double>> thresholds;

    int count() const { return static_cast<int>(thresholds.size()); }
};

// The raw data as ordered categories. Raises DataRefusal naming the first
// variable with a fractional value or more than kMostCategories distinct
// values. Each variable holds two values or more, as the reading ensures.
OrdinalData OrdinalCategories(const RawColumns& raw, const NumberFormat& userFormat);
// The same for one name per variable and `cases` values each, variable after
// variable, from `values`.
OrdinalData OrdinalCategories(const std::vector<std::string>& names, std::size_t cases,
                              const double* values, const NumberFormat& userFormat);

// The most categories a variable has, where every variable holds whole numbers
// with 2 to kMostCategories categories; none otherwise.
std::optional<int> MostCategories(const RawColumns& raw);
// The same of data already read as ordered categories.
int MostCategories(const OrdinalData& data);

// The correlation of one pair by maximum likelihood, with each variable's
// thresholds given: `inside` is false where the likelihood rises all the way to
// -1 or 1, and rho is then -kBoundaryCorrelation or kBoundaryCorrelation.
struct PairCorrelation {
    double rho = 0;
    bool inside = true;
};

// The same for a contingency table of `rows` x `columns` counts, row after
// row, each variable's thresholds from the table's own margins. Every row and
// column must hold a case.
PairCorrelation PolychoricOfTable(int rows, int columns, const std::vector<int>& counts);

// Polychoric correlations, p x p row after row as Variables holds R, smoothed
// where they are not positive definite.
struct Polychoric {
    std::vector<double> correlations;
    // How many pairs were taken as -kBoundaryCorrelation or kBoundaryCorrelation.
    int pairsOutside = 0;
    // Where smoothed: the smallest eigenvalue before.
    std::optional<double> smallestBeforeSmoothing;
};

Polychoric PolychoricCorrelations(const OrdinalData& data);

// Smooths a p x p correlation matrix, row after row, that is not positive
// definite (its smallest eigenvalue below a double's epsilon, 2.2E-16):
// eigenvalues below 1E-12 are raised to 1E-10, all are rescaled to
// sum to p, and the matrix rebuilt from them is scaled back to a unit
// diagonal. Gives the smallest eigenvalue before, or none where R was positive
// definite and is left as it is.
std::optional<double> SmoothIfNotPositiveDefinite(int p, std::vector<double>& correlations);

// The summary's sentences: the line that offers polychoric correlations, the
// pairs taken at the boundary, and the smoothing.
std::string OrdinalCategoriesLine(int mostCategories);
std::string PairsOutsideLine(int pairs, const NumberFormat& userFormat);
std::string SmoothedLine(double smallestEigenvalue, const NumberFormat& userFormat);

}  // namespace trolvane
