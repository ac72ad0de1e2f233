#include "engine/significance.h"

#include <array>
#include <limits>
#include <string_view>
#include <vector>

#include "engine/checked.h"

namespace trolvane {
namespace {

struct CriticalValues {
    double at05;
    double at01;
};

// Upper 5 % and 1 % points of chi-square for df 1 to 30, rounded to two decimals.
constexpr std::array<CriticalValues, 30> kCriticalTable{{
    {3.84, 6.63},   {5.99, 9.21},   {7.81, 11.34},  {9.49, 13.28},  {11.07, 15.09}, {12.59, 16.81},
    {14.07, 18.48}, {15.51, 20.09}, {16.92, 21.67}, {18.31, 23.21}, {19.68, 24.72}, {21.03, 26.22},
    {22.36, 27.69}, {23.68, 29.14}, {25.00, 30.58}, {26.30, 32.00}, {27.59, 33.41}, {28.87, 34.81},
    {30.14, 36.19}, {31.41, 37.57}, {32.67, 38.93}, {33.92, 40.29}, {35.17, 41.64}, {36.42, 42.98},
    {37.65, 44.31}, {38.89, 45.64}, {40.11, 46.96}, {41.34, 48.28}, {42.56, 49.59}, {43.77, 50.89},
}};

// Bands of df for the large-df statistic z, bounds exclusive, with the two-tailed
// .05 and .01 points of Student's t for 30, 40, 60 and 120 df and of the normal.
struct LargeDfBand {
    double above;
    double below;
    CriticalValues critical;
};

constexpr std::array<LargeDfBand, 5> kLargeDfBands{{
    {29, 40, {2.04, 2.75}},
    {39, 60, {2.02, 2.70}},
    {59, 120, {2.00, 2.66}},
    {119, 300, {1.98, 2.62}},
    {300, std::numeric_limits<double>::infinity(), {1.96, 2.58}},
}};

constexpr std::string_view kBelow05 = " p < .05";
constexpr std::string_view kAbove05 = " p > .05";
constexpr std::string_view kBelow01 = " p < .01";
constexpr std::string_view kX2 = " X\u00b2";

std::vector<CriticalValues> TableRowsFor(double df) {
    std::vector<CriticalValues> rows;
    for (size_t d = 1; d <= kCriticalTable.size(); ++d) {
        if (df == static_cast<double>(d)) {
            rows.push_back(kCriticalTable[d - 1]);
        }
    }
    return rows;
}

std::vector<CriticalValues> BandsFor(double df) {
    std::vector<CriticalValues> bands;
    for (const LargeDfBand& band : kLargeDfBands) {
        if (df > band.above && df < band.below) {
            bands.push_back(band.critical);
        }
    }
    return bands;
}

// Starts at p < .05; below any .05 point it is p > .05, and above any .01 point,
// judged after that, p < .01. Both comparisons are strict.
std::string_view PText(double statistic, const std::vector<CriticalValues>& applicable) {
    std::string_view text = kBelow05;
    for (const CriticalValues& critical : applicable) {
        if (statistic < critical.at05) {
            text = kAbove05;
        }
    }
    for (const CriticalValues& critical : applicable) {
        if (statistic > critical.at01) {
            text = kBelow01;
        }
    }
    return text;
}

RowText Caption(std::string_view statistic, double df, double shown, std::string_view pText,
                const NumberFormat& format) {
    RowText text(statistic);
    text.append("(").append(NumberText(df, format)).append(")= ");
    return text.append(NumberText(shown, format)).append(pText);
}

}  // namespace

RowText Significance(double chisq, double df, const NumberFormat& format) {
    using checked::Multiply;
    using checked::SquareRoot;
    using checked::Subtract;

    if (df > 30) {
        const double z =
            Subtract(Subtract(SquareRoot(Multiply(2, chisq)), SquareRoot(Multiply(2, df))), 1);
        return Caption(" t", df, FloorToThousandths(z), PText(z, BandsFor(df)), format);
    }
    if (df == 0) {
        return RowText(kX2) + " has df = 0";
    }
    return Caption(kX2, df, FloorToThousandths(chisq), PText(chisq, TableRowsFor(df)), format);
}

}  // namespace trolvane
