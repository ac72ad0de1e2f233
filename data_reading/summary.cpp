#include "data_reading/summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Eigen/Cholesky>
#include <Eigen/Eigenvalues>

#include "engine/chi_square.h"
#include "engine/joined.h"

namespace trolvane {
namespace {

using Matrix = Eigen::MatrixXd;

Eigen::Map<const Matrix> MatrixOf(const Variables& variables) {
    return {variables.correlations.data(), variables.count, variables.count};
}

// The overall measure of sampling adequacy: the squared correlations against
// themselves plus the squared partial correlations, off the diagonal, where
// the partial correlations come from the inverse of R.
std::optional<double> KaiserMeyerOlkin(const Matrix& r, const Eigen::LLT<Matrix>& factor) {
    const Matrix inverse = factor.solve(Matrix::Identity(r.rows(), r.cols()));
    const Eigen::VectorXd scale = inverse.diagonal().cwiseSqrt().cwiseInverse();
    const Matrix partial = -(scale.asDiagonal() * inverse * scale.asDiagonal());
    const double correlations = r.squaredNorm() - r.diagonal().squaredNorm();
    const double partials = partial.squaredNorm() - partial.diagonal().squaredNorm();
    if (correlations + partials == 0) {
        return std::nullopt;
    }
    return correlations / (correlations + partials);
}

// ", 30 cases" where a matrix gives its sample size.
std::string CasesOfMatrix(const Variables& variables) {
    if (variables.cases == 0) {
        return "";
    }
    const std::string cases = std::to_string(variables.cases) + " cases";
    return variables.casesDiffer ? ", at least " + cases + " (counts differ between pairs)"
                                 : ", " + cases;
}

std::string WhatWasRead(const Variables& variables) {
    const std::string p = std::to_string(variables.count);
    switch (variables.kind) {
        case DataKind::CorrelationMatrix:
            return "Correlation matrix of " + p + " variables" + CasesOfMatrix(variables);
        case DataKind::CovarianceMatrix:
            return "Covariance matrix of " + p + " variables" + CasesOfMatrix(variables) +
                   ", read as correlations";
        case DataKind::RawData:
            break;
    }
    std::string line =
        "Raw data: " + std::to_string(variables.cases) + " cases of " + p + " variables";
    if (variables.incompleteCases > 0) {
        line += " (" + std::to_string(variables.incompleteCases) +
                (variables.incompleteCases == 1 ? " case" : " cases") +
                " with missing values left out)";
    }
    if (variables.polychoric) {
        line += ", polychoric correlations";
    }
    return line;
}

// Why a covariance matrix that looks like correlations was read as covariances.
std::string DiagonalNote(const Variables::Diagonal& diagonal, const NumberFormat& format) {
    const std::string smallest = RoundedNumberText(diagonal.smallest, 4, format);
    const std::string largest = RoundedNumberText(diagonal.largest, 4, format);
    return "Its diagonal holds " + (smallest == largest ? smallest : smallest + " to " + largest) +
           ", not 1, while the other values lie between -1 and 1 like correlations: if the "
           "diagonal holds reliabilities or counts, write 1 there.";
}

// The determinant as the window writes small numbers, with five significant
// digits; one too small for a double is written from its logarithm.
std::string DeterminantText(const DataSummary& summary, const NumberFormat& format) {
    if (summary.determinant >= std::numeric_limits<double>::min()) {
        return RoundedNumberText(summary.determinant, 5, format);
    }
    const double log10 = summary.logDeterminant / std::log(10.0);
    double exponent = std::floor(log10);
    std::string mantissa = RoundedNumberText(std::pow(10.0, log10 - exponent), 5, format);
    if (mantissa == "10") {
        mantissa = "1";
        exponent += 1;
    }
    return mantissa + "E-" + std::to_string(static_cast<long long>(-exponent));
}

}  // namespace

Sphericity SphericityTest(double p, double n, double logDeterminant) {
    Sphericity test;
    test.chisq = -(n - 1 - (2 * p + 5) / 6) * logDeterminant;
    test.df = p * (p - 1) / 2;
    test.p = ChiSquareUpperTail(test.chisq, test.df);
    return test;
}

const char* KaiserWord(double kmo) {
    constexpr std::pair<double, const char*> kWords[] = {
        {0.90, "marvelous"}, {0.80, "meritorious"}, {0.70, "middling"},
        {0.60, "mediocre"},  {0.50, "miserable"},
    };
    for (const auto& [from, word] : kWords) {
        if (kmo >= from) {
            return word;
        }
    }
    return "unacceptable";
}

DataSummary Summarise(Variables variables, const NumberFormat& userFormat) {
    const Matrix r = MatrixOf(variables);
    if (!(r.cwiseAbs().maxCoeff() <= 1)) {
        throw DataRefusal(
            "The correlation matrix is not positive definite: a correlation in it lies outside "
            "-1 to 1. Variables that are sums or copies of others do this, and so do "
            "correlations typed wrongly.");
    }
    Eigen::SelfAdjointEigenSolver<Matrix> solver(r, Eigen::EigenvaluesOnly);
    const Eigen::VectorXd ascending = solver.eigenvalues();
    const Eigen::LLT<Matrix> factor(r);
    if (solver.info() != Eigen::Success || factor.info() != Eigen::Success || !(ascending(0) > 0)) {
        throw DataRefusal(
            "The correlation matrix is not positive definite: its smallest eigenvalue is " +
            RoundedNumberText(ascending(0), 4, userFormat) +
            ". Variables that are sums or copies of others do this, and so do correlations "
            "from pairwise deletion or typed wrongly.");
    }
    DataSummary summary;
    summary.eigenvalues.assign(ascending.begin(), ascending.end());
    std::reverse(summary.eigenvalues.begin(), summary.eigenvalues.end());
    summary.logDeterminant = 2 * factor.matrixLLT().diagonal().array().log().sum();
    summary.determinant = std::exp(summary.logDeterminant);
    summary.kmo = KaiserMeyerOlkin(r, factor);
    // Raw data always have more cases than variables; a table may give fewer.
    if (variables.cases > variables.count) {
        summary.sphericity = SphericityTest(variables.count, static_cast<double>(variables.cases),
                                            summary.logDeterminant);
    }
    summary.variables = std::move(variables);
    return summary;
}

std::vector<std::string> SummaryLines(const DataSummary& summary, const NumberFormat& format) {
    const Variables& variables = summary.variables;
    std::vector<std::string> lines{WhatWasRead(variables)};
    if (const auto& polychoric = variables.polychoric) {
        if (polychoric->pairsOutside > 0) {
            lines.push_back(PairsOutsideLine(polychoric->pairsOutside, format));
        }
        if (polychoric->smallestBeforeSmoothing) {
            lines.push_back(SmoothedLine(*polychoric->smallestBeforeSmoothing, format));
        }
    } else if (variables.categories) {
        lines.push_back(OrdinalCategoriesLine(MostCategories(*variables.categories)));
    }
    if (variables.matrices > 1) {
        lines.push_back(
            "The text holds " + std::to_string(variables.matrices) + " matrices; the first" +
            (variables.firstMatrixTitle.empty() ? "" : ", " + variables.firstMatrixTitle + ",") +
            " is read.");
    }
    if (const auto& diagonal = variables.diagonalOfCorrelations) {
        lines.push_back(DiagonalNote(*diagonal, format));
    }
    if (!variables.leftOut.empty()) {
        std::vector<std::string> leftOut;
        for (const LeftOutColumn& column : variables.leftOut) {
            leftOut.push_back(column.name + " (" + column.why + ")");
        }
        lines.push_back("Left out: " + Joined(leftOut, "; "));
    }
    lines.push_back("Variables: " + (variables.names.empty()
                                         ? "1 to " + std::to_string(variables.count)
                                         : Joined(variables.names, ", ")));
    lines.push_back("Determinant of R: " + DeterminantText(summary, format));
    if (const auto& test = summary.sphericity) {
        const std::optional<std::string> note = ExactPNote(test->chisq, test->df, format);
        lines.push_back("Sphericity: " + (note ? "exact " + *note : "cannot be computed"));
    } else if (variables.cases > 0) {
        lines.push_back("Sphericity: needs more cases than variables");
    } else {
        lines.push_back("Sphericity: needs the sample size");
    }
    lines.push_back("Kaiser-Meyer-Olkin measure: " +
                    (summary.kmo ? FixedNumberText(*summary.kmo, 3, format) + " (" +
                                       KaiserWord(*summary.kmo) + ")"
                                 : std::string("none, for no variable correlates with another")));
    std::vector<std::string> eigenvalues;
    for (const double eigenvalue : summary.eigenvalues) {
        eigenvalues.push_back(RoundedNumberText(eigenvalue, 4, format));
    }
    lines.push_back("Eigenvalues: " + Joined(eigenvalues, "; "));
    if (summary.determinant < kNearlyRepeatingDeterminant) {
        lines.push_back("Warning: the determinant is below " +
                        FixedNumberText(kNearlyRepeatingDeterminant, 5, format) +
                        ", the usual sign of variables that nearly repeat each other.");
    }
    return lines;
}

}  // namespace trolvane
