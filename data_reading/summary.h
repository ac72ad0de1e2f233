// What the window and a report need from a correlation matrix: its determinant,
// its eigenvalues, Bartlett's test of sphericity and the Kaiser-Meyer-Olkin
// measure, and the summary lines the data dialog shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data_reading/variables.h"
#include "engine/conversions.h"

namespace trolvane {

// Bartlett's test that R is the identity: its statistic, df and exact p.
struct Sphericity {
    double chisq = 0;
    double df = 0;
    double p = 1;
};

struct DataSummary {
    Variables variables;
    double determinant = 0;
    // The natural logarithm of the determinant, which stays finite where the
    // determinant of many variables is too small for a double.
    double logDeterminant = 0;
    // Every eigenvalue of R, the largest first.
    std::vector<double> eigenvalues;
    // Where the data give a sample size larger than the number of variables.
    std::optional<Sphericity> sphericity;
    // None where no variable correlates with another, which leaves the
    // measure without a value.
    std::optional<double> kmo;
};

// Determinants below this are the usual sign of variables that nearly repeat
// each other.
constexpr double kNearlyRepeatingDeterminant = 0.00001;

// Bartlett's test of sphericity: chi-square = -(n - 1 - (2p + 5) / 6) ln det R
// on p(p - 1) / 2 df, with its exact upper-tail p.
Sphericity SphericityTest(double p, double n, double logDeterminant);

// Kaiser's word for a measure of sampling adequacy: "marvelous" from .90,
// "meritorious" from .80, "middling", "mediocre", "miserable" and
// "unacceptable" below .50.
const char* KaiserWord(double kmo);

// Computes everything above from the variables; raises DataRefusal when R is
// not positive definite, naming its smallest eigenvalue.
DataSummary Summarise(Variables variables, const NumberFormat& userFormat);

// The lines the data dialog shows, in the user's format: what was read, with
// a note under it where the text holds several matrices or a diagonal that may
// not hold variances; the columns left out, the variables, det(R), sphericity,
// KMO, the eigenvalues, and a warning where det(R) is below 0.00001.
std::vector<std::string> SummaryLines(const DataSummary& summary, const NumberFormat& userFormat);

}  // namespace trolvane
