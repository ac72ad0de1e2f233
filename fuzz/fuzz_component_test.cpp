// Any inputs to a row: a finite statistic and a caption of one of the three
// shapes, or a RunError; never a crash, an infinity or a NaN; and an exact
// p-value note for every df above 0 up to 1E10.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/significance.h"
#include "fuzz/properties.h"

using namespace trolvane;
using trolvane::fuzz::Require;

namespace {

constexpr std::string_view kNoDf = " X\u00b2 has df = 0";
constexpr std::array<std::string_view, 2> kStatistics = {" X\u00b2(", " t("};
constexpr std::array<std::string_view, 3> kPTexts = {" p < .05", " p > .05", " p < .01"};

bool ReadsBack(std::string_view text, const NumberFormat& format) {
    try {
        return std::isfinite(StrictNumber(text, format));
    } catch (const RunError&) {
        return false;
    }
}

// " X²(" or " t(", df, ")= ", the shown statistic, a p-text; or the df = 0 text.
bool HasACaptionShape(std::string_view caption, const NumberFormat& format) {
    if (caption == kNoDf) {
        return true;
    }
    for (const std::string_view statistic : kStatistics) {
        for (const std::string_view pText : kPTexts) {
            if (!caption.starts_with(statistic) || !caption.ends_with(pText)) {
                continue;
            }
            std::string_view middle = caption.substr(statistic.size());
            middle.remove_suffix(pText.size());
            const std::size_t equals = middle.find(")= ");
            return equals != std::string_view::npos &&
                   ReadsBack(middle.substr(0, equals), format) &&
                   ReadsBack(middle.substr(equals + 3), format);
        }
    }
    return false;
}

void CheckCaption(double chisq, double df, const NumberFormat& format) {
    try {
        const RowText caption = Significance(chisq, df, format);
        Require(HasACaptionShape(caption, format), "a caption of one of the three shapes", caption);
    } catch (const RunError&) {
    }
    if (df > 0) {
        const double p = ChiSquareUpperTail(chisq, df);
        const bool accurate = df <= kLargestAccurateDf || chisq <= 0;
        Require(accurate ? p >= 0 && p <= 1 : std::isnan(p),
                "an exact p-value between 0 and 1 up to 1E10 df or for chisq <= 0, none past it",
                "");
        Require(ExactPText(chisq, df, format).has_value() == accurate,
                "an exact p-value note exactly where there is a p-value", "");
    }
}

struct Inputs {
    double p, n, detR;
    int k;
    std::array<double, 10> eigenvalues;
    std::size_t format;
};

// Layout: p, n, detR as raw doubles, one byte for k and the format, then up to
// ten eigenvalues as raw doubles.
bool Decode(const std::uint8_t* data, std::size_t size, Inputs& inputs) {
    constexpr std::size_t kHead = 3 * sizeof(double) + 1;
    if (size < kHead) {
        return false;
    }
    std::memcpy(&inputs.p, data, sizeof(double));
    std::memcpy(&inputs.n, data + 8, sizeof(double));
    std::memcpy(&inputs.detR, data + 16, sizeof(double));
    inputs.k = data[24] % 10 + 1;
    inputs.format = data[24] / 10 % fuzz::kFormats.size();
    if (size < kHead + inputs.k * sizeof(double)) {
        return false;
    }
    std::memcpy(inputs.eigenvalues.data(), data + kHead, inputs.k * sizeof(double));
    for (const double value : {inputs.p, inputs.n, inputs.detR}) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    for (int i = 0; i < inputs.k; ++i) {
        if (!std::isfinite(inputs.eigenvalues[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Inputs inputs{};
    if (!Decode(data, size, inputs)) {
        return 0;
    }
    const NumberFormat& format = fuzz::kFormats[inputs.format];
    CheckCaption(inputs.p, inputs.n, format);
    try {
        RowTotals totals;
        for (int i = 0; i < inputs.k; ++i) {
            totals.add(inputs.eigenvalues[i]);
        }
        Require(std::isfinite(totals.product) && std::isfinite(totals.sum), "finite totals", "");
        if (!IsTestable(inputs.k, inputs.p)) {
            return 0;
        }
        const ComponentResult result =
            ComponentTest(inputs.p, inputs.n, inputs.detR, inputs.k, totals);
        Require(
            std::isfinite(result.ratio) && std::isfinite(result.chisq) && std::isfinite(result.df),
            "a finite statistic", "");
        CheckCaption(result.chisq, result.df, format);
    } catch (const RunError&) {
    }
    return 0;
}
