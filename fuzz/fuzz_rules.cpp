// Any numbers the rules for how many components to keep may be given: p from
// 2 to 60, a sample size, a determinant, eigenvalues, and a correlation matrix
// (the identity, blocks that do not correlate, singular or any other) through
// every rule, the lines, the table, Copy Table, the sentence and the plot;
// nothing thrown, and no number shown that is not finite.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <Eigen/Eigenvalues>

#include "form/how_many.h"
#include "fuzz/properties.h"
#include "retention/scree_plot.h"

using namespace trolvane;
using trolvane::fuzz::Require;

namespace {

// The fuzzer's bytes, read front to back; zeros once they run out.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Any number a box can hold: every finite double.
    double Double() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            bits = bits << 8 | Byte();
        }
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? value : 0;
    }
    // A number in [0, 1) in 1/256 steps.
    double Fraction() { return Byte() / 256.0; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A correlation matrix of one of the shapes users bring, p x p row after row.
std::vector<double> Correlations(int p, Bytes& bytes) {
    Eigen::MatrixXd r = Eigen::MatrixXd::Identity(p, p);
    switch (bytes.Byte() % 4) {
        case 0:  // the identity
            break;
        case 1: {  // blocks with nothing between them
            const int block = 1 + bytes.Byte() % p;
            for (int i = 0; i < p; ++i) {
                for (int j = 0; j < i; ++j) {
                    if (i / block == j / block) {
                        r(i, j) = r(j, i) = 2 * bytes.Fraction() - 1;
                    }
                }
            }
            break;
        }
        case 2: {  // variables of a few factors: singular where they are fewer than p
            const int factors = 1 + bytes.Byte() % p;
            Eigen::MatrixXd loadings(p, factors);
            for (Eigen::Index i = 0; i < loadings.size(); ++i) {
                loadings.data()[i] = 2 * bytes.Fraction() - 1;
            }
            r = loadings * loadings.transpose();
            const Eigen::VectorXd scale =
                r.diagonal().unaryExpr([](double v) { return v > 0 ? 1 / std::sqrt(v) : 1.0; });
            r = scale.asDiagonal() * r * scale.asDiagonal();
            r.diagonal().setOnes();
            break;
        }
        default:  // any symmetric matrix with a unit diagonal
            for (int i = 0; i < p; ++i) {
                for (int j = 0; j < i; ++j) {
                    r(i, j) = r(j, i) = 2 * bytes.Fraction() - 1;
                }
            }
    }
    return {r.data(), r.data() + r.size()};
}

void Check(const RuleResults& results) {
    for (const NumberFormat& format : fuzz::kFormats) {
        for (const std::string& line : RuleLines(results, format)) {
            Require(!line.empty(), "a line for every rule", line);
        }
        for (const std::vector<std::string>& row : TableRows(results, format)) {
            for (const std::string& cell : row) {
                Require(cell.find_first_of("nN") == std::string::npos, "finite cells", cell);
            }
        }
        CopiedTable(results, format);
        RulesSentence(results, format);
        const ScreePlot plot = LaidOutScreePlot(PlotData(results), {400, 300, 1}, format);
        Require(!plot.description.empty(), "a description of the plot", plot.description);
        for (const Circle& dot : plot.dots) {
            Require(std::isfinite(dot.centre.x) && std::isfinite(dot.centre.y),
                    "every dot where a number is", plot.description);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    RuleNumbers numbers;
    numbers.p = 2 + bytes.Byte() % 59;
    const std::uint8_t shape = bytes.Byte();
    numbers.n = shape & 1 ? std::optional(numbers.p + 1 + bytes.Byte() * 10.0)
                          : std::optional(bytes.Double());
    numbers.detR = shape & 2 ? bytes.Fraction() : bytes.Double();
    if (shape & 4) {
        numbers.correlations = Correlations(numbers.p, bytes);
        numbers.fromData = true;
        const Eigen::Map<const Eigen::MatrixXd> r(numbers.correlations.data(), numbers.p,
                                                  numbers.p);
        const Eigen::VectorXd values =
            Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(r, Eigen::EigenvaluesOnly).eigenvalues();
        // Eigen gives them the smallest first.
        numbers.eigenvalues.assign(values.begin(), values.end());
        std::reverse(numbers.eigenvalues.begin(), numbers.eigenvalues.end());
    } else {
        const int known = 1 + bytes.Byte() % numbers.p;
        for (int k = 0; k < known; ++k) {
            numbers.eigenvalues.push_back(shape & 8 ? bytes.Fraction() * numbers.p
                                                    : bytes.Double());
        }
    }
    RandomDataSettings settings;
    settings.sets = 2 + bytes.Byte() % 8;
    settings.percentile = 50 + bytes.Byte() % 50;
    settings.seed = bytes.Byte();
    settings.threads = 1;
    const std::optional<RuleResults> results = ComputeRules(numbers, settings);
    Require(results.has_value(), "rules for any numbers", "");
    Check(*results);
    return 0;
}
