// Any bytes as the user's data, pasted or in a file: either refused with a
// sentence, or read into a summary whose numbers are finite, whose eigenvalues
// come from the largest down, and which fills the window without an exception.
// The same bytes as ordered categories: refused by name, or given polychoric
// correlations that are a correlation matrix.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data_reading/polychoric.h"
#include "data_reading/summary.h"
#include "data_reading/variables.h"
#include "form/data_dialog.h"
#include "fuzz/properties.h"

using namespace trolvane;
using trolvane::fuzz::Require;

namespace {

// The separators of a decimal-point and of a decimal-comma locale.
const std::array<NumberFormat, 2> kDataFormats{{{".", ","}, {",", "."}}};

bool AllFinite(const std::vector<double>& numbers) {
    return std::all_of(numbers.begin(), numbers.end(), [](double x) { return std::isfinite(x); });
}

void CheckSummary(const DataSummary& summary, std::string_view input) {
    const Variables& variables = summary.variables;
    const auto p = static_cast<std::size_t>(variables.count);
    Require(variables.count >= 2, "a summary has two variables or more", input);
    Require(variables.correlations.size() == p * p, "R is p x p", input);
    Require(AllFinite(variables.correlations), "every correlation is finite", input);
    Require(summary.eigenvalues.size() == p, "R has p eigenvalues", input);
    Require(AllFinite(summary.eigenvalues), "every eigenvalue is finite", input);
    Require(std::is_sorted(summary.eigenvalues.rbegin(), summary.eigenvalues.rend()),
            "eigenvalues come from the largest down", input);
    Require(summary.eigenvalues.back() > 0, "an accepted R is positive definite", input);
    Require(std::isfinite(summary.determinant) && summary.determinant >= 0,
            "the determinant is finite and not negative", input);
    Require(std::isfinite(summary.logDeterminant), "the log-determinant is finite", input);
    Require(!summary.kmo || (*summary.kmo >= 0 && *summary.kmo <= 1),
            "the KMO measure lies between 0 and 1", input);
    if (summary.sphericity) {
        const Sphericity& test = *summary.sphericity;
        Require(std::isfinite(test.chisq) && std::isfinite(test.df) && test.p >= 0 && test.p <= 1,
                "sphericity is finite with a p between 0 and 1", input);
    }
}

// Reads the bytes as the dialog does; true where they are accepted.
bool CheckReading(std::string_view bytes, const NumberFormat& format) {
    DataSummary summary;
    try {
        summary = Summarise(ReadVariables(bytes, format), format);
    } catch (const DataRefusal& refusal) {
        Require(*refusal.what() != '\0', "a refusal says why", bytes);
        return false;
    }
    CheckSummary(summary, bytes);
    for (const NumberFormat& shown : kDataFormats) {
        Require(!SummaryLines(summary, shown).empty(), "an accepted text has summary lines", bytes);
    }
    return true;
}

void CheckDialog(const DataDialog& dialog, bool accepted, std::string_view bytes) {
    Require(dialog.usable() == accepted, "the dialog refuses exactly what the reading refuses",
            bytes);
    Require(!dialog.summary.empty(), "the dialog shows a summary or why not", bytes);
    if (dialog.usable()) {
        FormState form(NumberFormat{});
        LoadForm(form);
        UseData(form, *dialog.reading);
    }
}

// The dialog with polychoric correlations chosen: raw data whose variables all
// hold ordered categories are summarised by them where Pearson's were,
// other raw data are refused naming a variable, and matrices read as ever.
void CheckPolychoricDialog(std::string_view bytes, const NumberFormat& format, bool accepted) {
    const DataDialog dialog =
        OpenDataDialog(std::string(bytes), format, CorrelationKind::Polychoric);
    if (!dialog.offersCorrelations()) {
        CheckDialog(dialog, accepted, bytes);
        return;
    }
    const bool ordered = dialog.variables->categories != nullptr;
    Require(!accepted || !ordered || dialog.usable(),
            "ordered categories accepted with Pearson's correlations are with polychoric ones",
            bytes);
    Require(ordered || !dialog.usable(), "polychoric correlations need ordered categories", bytes);
    if (dialog.usable()) {
        Require(dialog.summary.find(", polychoric correlations") != std::string::npos,
                "the summary names polychoric correlations", bytes);
        CheckSummary(*dialog.reading, bytes);
        CheckDialog(dialog, true, bytes);
    } else {
        Require(!dialog.summary.empty(), "the dialog says why it refuses", bytes);
    }
}

// A pasted matrix opens the dialog only where it reads as one of three
// variables or more.
void CheckPaste(std::string_view bytes, const NumberFormat& format) {
    if (!PasteOpensDataDialog(bytes, format)) {
        return;
    }
    try {
        const Variables variables = ReadVariables(bytes, format);
        Require(variables.kind != DataKind::RawData && variables.count >= 3,
                "a paste opens the dialog only for a matrix of three variables or more", bytes);
    } catch (const DataRefusal&) {
    }
}

// The bytes as three variables, a third of them each, their values 0 to 11:
// with more than 10 categories a variable is refused by name; otherwise the
// polychoric correlations lie in [-1, 1] with a unit diagonal, symmetric and
// positive definite, and a pair at the boundary is at 0.9999 or -0.9999.
void CheckPolychoric(std::string_view bytes) {
    constexpr std::size_t kVariables = 3;
    RawColumns raw{{"first", "second", "third"}, bytes.size() / kVariables, {}};
    for (std::size_t at = 0; at < raw.cases * kVariables; ++at) {
        raw.values.push_back(static_cast<unsigned char>(bytes[at]) % 12);
    }
    for (std::size_t v = 0; v < kVariables; ++v) {
        const auto column = raw.values.begin() + static_cast<std::ptrdiff_t>(v * raw.cases);
        // The reading refuses a constant variable before any correlation.
        if (raw.cases < 2 || std::all_of(column, column + static_cast<std::ptrdiff_t>(raw.cases),
                                         [&](double value) { return value == *column; })) {
            return;
        }
    }
    OrdinalData data;
    try {
        data = OrdinalCategories(raw, NumberFormat{});
    } catch (const DataRefusal& refusal) {
        Require(std::string_view(refusal.what()).find("has 1") != std::string_view::npos,
                "only a variable with 11 or 12 values is refused", bytes);
        return;
    }
    const Polychoric polychoric = PolychoricCorrelations(data);
    const std::vector<double>& r = polychoric.correlations;
    Require(r.size() == kVariables * kVariables, "R is p x p", bytes);
    Require(AllFinite(r), "every polychoric correlation is finite", bytes);
    int atBoundary = 0;
    for (std::size_t i = 0; i < kVariables; ++i) {
        Require(r[i * kVariables + i] == 1, "a unit diagonal", bytes);
        for (std::size_t j = 0; j < i; ++j) {
            const double rho = r[i * kVariables + j];
            Require(rho == r[j * kVariables + i], "R is symmetric", bytes);
            Require(std::fabs(rho) < 1, "a correlation lies inside (-1, 1)", bytes);
            atBoundary += std::fabs(rho) == kBoundaryCorrelation ? 1 : 0;
        }
    }
    Require(polychoric.smallestBeforeSmoothing || atBoundary >= polychoric.pairsOutside,
            "the pairs taken at the boundary are there", bytes);
    std::vector<double> smoothed = r;
    Require(!SmoothIfNotPositiveDefinite(static_cast<int>(kVariables), smoothed),
            "R is positive definite, smoothed where it was not", bytes);
}

// The file the bytes are opened from, one per fuzzing process, removed at exit.
class ScratchFile {
  public:
    ScratchFile()
        : path_(std::filesystem::temp_directory_path() /
                ("fuzz_data_reading." + std::to_string(getpid()))) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    const std::filesystem::path& Holding(std::string_view bytes) const {
        std::ofstream file(path_, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const ScratchFile scratch;
    const std::filesystem::path& file = scratch.Holding(bytes);
    for (const NumberFormat& format : kDataFormats) {
        const bool accepted = CheckReading(bytes, format);
        CheckDialog(OpenDataDialog(std::string(bytes), format), accepted, bytes);
        CheckDialog(OpenDataFile(file, format), accepted, bytes);
        CheckPolychoricDialog(bytes, format, accepted);
        CheckPaste(bytes, format);
    }
    CheckPolychoric(bytes);
    return 0;
}
