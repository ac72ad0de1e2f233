// The numbers a data set gives, against R's cor, det, eigen and psych's KMO and
// cortest.bartlett on R's attitude data, and the summary the dialog shows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data_reading/summary.h"

namespace trolvane {
namespace {

// R's attitude data set: 30 cases of 7 variables; the first column may be
// scaled and shifted, which leaves every correlation as it is.
std::string Attitude(double scaleOfRating = 1, double offsetOfRating = 0) {
    std::string text = "rating,complaints,privileges,learning,raises,critical,advance\n";
    const std::string rows =
        "43,51,30,39,61,92,45|63,64,51,54,63,73,47|71,70,68,69,76,86,48|61,63,45,47,54,84,35|81,78,"
        "56,66,71,83,47|43,55,49,44,54,49,34|58,67,42,56,66,68,35|71,75,50,55,70,66,41|72,82,72,67,"
        "71,83,31|67,61,45,47,62,80,41|64,53,53,58,58,67,34|67,60,47,39,59,74,41|69,62,57,42,55,63,"
        "25|68,83,83,45,59,77,35|77,77,54,72,79,77,46|81,90,50,72,60,54,36|74,85,64,69,79,79,63|65,"
        "60,65,75,55,80,60|65,70,46,57,75,85,46|50,58,68,54,64,78,52|50,40,33,34,43,64,33|64,61,52,"
        "62,66,80,41|53,66,52,50,63,80,37|40,37,42,58,50,57,49|63,54,42,48,66,75,33|66,77,66,63,88,"
        "76,72|78,75,58,74,80,78,49|48,57,44,45,51,83,38|85,85,71,71,77,74,55|82,82,39,59,64,78,"
        "39|";
    for (std::size_t at = 0; at < rows.size();) {
        const std::size_t comma = rows.find(',', at);
        const std::size_t end = rows.find('|', at);
        const double rating =
            std::stod(rows.substr(at, comma - at)) * scaleOfRating + offsetOfRating;
        text += NumberText(rating) + rows.substr(comma, end - comma) + "\n";
        at = end + 1;
    }
    return text;
}

// cov(attitude) as R prints it, to ten significant digits.
constexpr char kAttitudeCovariances[] =
    R"(rating complaints privileges learning raises critical advance
rating 148.17126437 133.77931034  63.46436782  89.10459770  74.68850575  18.84252874  19.42298851
complaints 133.77931034 177.28275862  90.95172414  93.25517241  92.64137931  24.73103448  30.76551724
privileges  63.46436782  90.95172414 149.70574713  70.84597701  56.67126437  17.82528736  43.21609195
learning  89.10459770  93.25517241  70.84597701 137.75747126  78.13908046  13.46781609  64.19770115
raises  74.68850575  92.64137931  56.67126437  78.13908046 108.10229885  38.77356322  61.42298851
critical  18.84252874  24.73103448  17.82528736  13.46781609  38.77356322  97.90919540  28.84597701
advance  19.42298851  30.76551724  43.21609195  64.19770115  61.42298851  28.84597701 105.85747126
)";

// What R gives for the attitude data.
constexpr double kDeterminant = 0.02186893360139865;
constexpr double kKmo = 0.76327543215876159;
constexpr double kEigenvalues[] = {3.71637575061577241, 1.14092188521749205, 0.84719154562273191,
                                   0.61286966016353039, 0.32367280948842869, 0.21853059379860310,
                                   0.14043775509344339};
constexpr double kSphericityChisq = 98.752778662181115;
constexpr double kSphericityP = 4.792539035528442e-12;
constexpr double kRatingComplaints = 0.82541756954214596;

void ExpectNear(double actual, double expected, double relative) {
    EXPECT_NEAR(actual, expected, relative * std::fabs(expected));
}

struct Case {
    const char* what;
    std::string text;
    // Ten significant digits of a printed covariance matrix carry that far.
    double relative;
};

class AgreesWithR : public ::testing::TestWithParam<Case> {};

TEST_P(AgreesWithR, OnTheAttitudeData) {
    const DataSummary summary = Summarise(ReadVariables(GetParam().text, {}), {});
    const double relative = GetParam().relative;
    ExpectNear(summary.variables.correlations[1], kRatingComplaints, relative);
    ExpectNear(summary.determinant, kDeterminant, relative);
    ExpectNear(summary.kmo.value_or(0), kKmo, relative);
    ASSERT_EQ(summary.eigenvalues.size(), std::size(kEigenvalues));
    for (std::size_t i = 0; i < summary.eigenvalues.size(); ++i) {
        ExpectNear(summary.eigenvalues[i], kEigenvalues[i], relative);
    }
    if (summary.variables.kind == DataKind::RawData) {
        ASSERT_TRUE(summary.sphericity);
        ExpectNear(summary.sphericity->chisq, kSphericityChisq, relative);
        EXPECT_EQ(summary.sphericity->df, 21);
        ExpectNear(summary.sphericity->p, kSphericityP, relative * 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Attitude, AgreesWithR,
    ::testing::Values(Case{"RawData", Attitude(), 1e-12},
                      // A column near a million with a spread of one loses no digits.
                      Case{"LargeMeanSmallSpread", Attitude(0.1, 1e6), 1e-9},
                      // Values near the largest double neither overflow nor lose digits.
                      Case{"HugeValues", Attitude(1e306), 1e-12},
                      Case{"CovarianceMatrix", kAttitudeCovariances, 1e-8}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SummaryLines, SayWhatWasReadInTheUsersFormat) {
    const DataSummary summary = Summarise(ReadVariables(Attitude(), {}), {});
    const std::vector<std::string> expected = {
        "Raw data: 30 cases of 7 variables",
        "Variables: rating, complaints, privileges, learning, raises, critical, advance",
        "Determinant of R: 0,021869",
        "Sphericity: exact p = 4,793E-12 (chi-square 98,752 on 21 df)",
        "Kaiser-Meyer-Olkin measure: 0,763 (middling)",
        "Eigenvalues: 3,716; 1,141; 0,8472; 0,6129; 0,3237; 0,2185; 0,1404"};
    EXPECT_EQ(SummaryLines(summary, {",", "."}), expected);
}

TEST(SummaryLines, WarnOfVariablesThatNearlyRepeatEachOther) {
    const std::string text = "1 0.999999 0.5\n0.999999 1 0.5\n0.5 0.5 1\n";
    const std::vector<std::string> lines = SummaryLines(Summarise(ReadVariables(text, {}), {}), {});
    EXPECT_EQ(lines[1], "Variables: 1 to 3");
    EXPECT_EQ(lines[3], "Sphericity: needs the sample size");
    const std::string uncorrelated = "1 0 0\n0 1 0\n0 0 1\n";
    EXPECT_EQ(SummaryLines(Summarise(ReadVariables(uncorrelated, {}), {}), {})[4],
              "Kaiser-Meyer-Olkin measure: none, for no variable correlates with another");
    EXPECT_EQ(lines.back(),
              "Warning: the determinant is below 0.00001, the usual sign of variables that nearly "
              "repeat each other.");
}

TEST(KaiserWord, FollowsKaisersSteps) {
    const std::pair<double, const char*> cases[] = {
        {0.95, "marvelous"}, {0.90, "marvelous"}, {0.8999, "meritorious"}, {0.75, "middling"},
        {0.65, "mediocre"},  {0.5, "miserable"},  {0.4999, "unacceptable"}};
    for (const auto& [kmo, word] : cases) {
        EXPECT_STREQ(KaiserWord(kmo), word) << kmo;
    }
}

}  // namespace
}  // namespace trolvane
