// Reading the user's data: a correlation matrix, a covariance matrix or raw
// data, as text, into the correlations of its variables, or why it cannot be.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data_reading/polychoric.h"
#include "engine/conversions.h"

namespace trolvane {

enum class DataKind { CorrelationMatrix, CovarianceMatrix, RawData };

// A column of raw data that the correlations leave out: its name (or "column
// 3" where the text names none) and why ("no numbers", "case numbers").
struct LeftOutColumn {
    std::string name;
    std::string why;
    friend bool operator==(const LeftOutColumn&, const LeftOutColumn&) = default;
};

// The variables a text holds, as their correlation matrix R.
struct Variables {
    DataKind kind = DataKind::CorrelationMatrix;
    // The variables' names, as the text gives them; empty where it gives none.
    std::vector<std::string> names;
    std::vector<LeftOutColumn> leftOut;
    // Raw data: the complete cases, and those left out for a missing value. A
    // correlation table: the sample size it gives, the smallest where its
    // counts differ between pairs; 0 where it gives none.
    long long cases = 0;
    long long incompleteCases = 0;
    bool casesDiffer = false;
    // The number of variables p, and R, p x p, row after row.
    int count = 0;
    std::vector<double> correlations;
    // Of a text holding several matrices one after another, the first is read:
    // how many it holds, and the first one's title where it has one.
    int matrices = 1;
    std::string firstMatrixTitle;
    // A covariance matrix whose values off the diagonal all lie between -1 and
    // 1, as correlations do: the smallest and largest value on its diagonal,
    // which may hold reliabilities or counts in place of 1.
    struct Diagonal {
        double smallest = 0;
        double largest = 0;
    };
    std::optional<Diagonal> diagonalOfCorrelations;
    // Raw data whose every variable holds whole numbers with at most
    // kMostCategories categories: the complete cases as ordered categories,
    // which polychoric correlations and their permuted random data are
    // computed from, shared by every copy. Other raw data: the sentence that
    // names the variable that cannot be ordered categories.
    std::shared_ptr<const OrdinalData> categories;
    std::string notCategories;
    // Where R holds polychoric correlations, what computing them found.
    struct PolychoricNotes {
        int pairsOutside = 0;
        std::optional<double> smallestBeforeSmoothing;
    };
    std::optional<PolychoricNotes> polychoric;
};

// A text that cannot be read, with the sentence that tells the user why.
class DataRefusal : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Files larger than this are not data but something else; they are refused
// before they are read.
constexpr std::uintmax_t kLargestDataFile = std::uintmax_t{1} << 30;

// The refusal of a file of this many bytes, or empty where it may be read.
std::string RefusalForFileSize(std::uintmax_t bytes);

// Reads any bytes, pasted or from a file: UTF-8 or UTF-16 with its byte order
// mark, or Latin-1 where it is not UTF-8. A correlation table is read as
// statistics programs print one, with titles, labels, footnotes and rows of
// significance values or counts around its correlations. Numbers are read with a decimal point,
// in the user's format, and with a decimal comma where fields are separated by
// semicolons. Raises DataRefusal for a text that cannot be read.
Variables ReadVariables(std::string_view bytes, const NumberFormat& userFormat);

// The same variables with their polychoric correlations in R. Raises
// DataRefusal, with the sentence that names the variable, where they are not
// all ordered categories.
Variables WithPolychoricCorrelations(Variables variables);

// Whether a pasted text reads as a correlation or covariance matrix of at
// least three variables, which a paste into a box hands to the data dialog.
bool IsPastedMatrix(std::string_view text, const NumberFormat& userFormat);

}  // namespace trolvane
