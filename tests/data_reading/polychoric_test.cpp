// Polychoric correlations against R: contingency tables, five of bfi's items,
// the smoothing of a matrix that is not positive definite, and which data are
// ordered categories. tests/data_reading/polychoric_values.R printed the values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data_reading/polychoric.h"
#include "data_reading/variables.h"

namespace trolvane {
namespace {

// A contingency table of `columns` counts a row, row after row.
struct Table {
    const char* name;
    int columns;
    std::vector<int> counts;
    double rho;
};

// The root of R's score from optimize's maximum; a 2 x 2 table with an empty
// cell has no maximum inside (-1, 1).
const Table kTables[] = {
    {"2 x 2", 2, {40, 10, 15, 35}, 0.71272692102645019},
    {"2 x 2, thresholds at 0", 2, {30, 20, 20, 30}, 0.30901699437494751},
    {"3 x 4, empty cells", 4, {12, 5, 0, 0, 4, 20, 9, 1, 0, 3, 14, 22}, 0.90895422970145567},
    {"7 x 7",
     7,
     {12, 10, 7, 4, 0,  1,  0,  22, 19, 14, 7, 2, 0,  0,  17, 22, 34, 18, 8, 4, 0,  9,  17, 40, 16,
      16, 8,  4, 6, 20, 25, 44, 38, 11, 1,  1, 6, 16, 16, 19, 13, 3,  1,  2, 2, 13, 24, 16, 12},
     0.57171795996769226},
    {"10 x 10",
     10,
     {40, 35, 49, 18, 13, 17, 13, 12, 5,  5,  41, 29, 45, 21, 14, 15, 14, 17, 4,  3,
      24, 26, 51, 20, 21, 18, 23, 14, 10, 6,  15, 23, 26, 23, 21, 22, 22, 15, 4,  5,
      17, 12, 44, 24, 21, 22, 17, 20, 9,  3,  18, 15, 43, 23, 12, 21, 28, 27, 10, 7,
      18, 18, 44, 23, 25, 28, 21, 16, 15, 7,  9,  16, 34, 25, 21, 26, 20, 21, 13, 20,
      9,  8,  25, 11, 23, 23, 24, 21, 15, 19, 9,  10, 27, 18, 24, 26, 26, 30, 20, 20},
     0.29071849563385493},
    {"2 x 5, negative", 5, {5, 9, 14, 20, 30, 25, 18, 12, 6, 3}, -0.70181822537950034},
    {"4 x 4, near 1", 4, {30, 1, 0, 0, 1, 25, 1, 0, 0, 0, 28, 1, 0, 0, 1, 33}, 0.99893916028108143},
    {"3 x 3, near -1", 3, {0, 1, 40, 1, 35, 0, 45, 1, 0}, -0.99933567015963354},
    {"2 x 2, empty cell", 2, {40, 0, 15, 35}, kBoundaryCorrelation},
    {"2 x 2, empty cell, negative", 2, {0, 10, 15, 35}, -kBoundaryCorrelation},
};

TEST(PolychoricTest, TablesGiveRsMaximumLikelihood) {
    for (const Table& table : kTables) {
        const int rows = static_cast<int>(table.counts.size()) / table.columns;
        const PairCorrelation pair = PolychoricOfTable(rows, table.columns, table.counts);
        EXPECT_NEAR(pair.rho, table.rho, 1e-9) << table.name;
        EXPECT_EQ(pair.inside, std::fabs(table.rho) != kBoundaryCorrelation) << table.name;
    }
}

// The first 500 complete cases of bfi's items A1 to A5, a case's five answers
// after another's.
constexpr const char* kAgreeableness[] = {
    "2434424525545444465523345665652553543151256654456555564555664522143663466255554544543446555421"
    "216615"
    "1565626565455651661624443256662513545655165632566615654245655354216464144231666615435155651544"
    "556435"
    "2666616666553432645515323166661666415654364444356316666143551422234524165443354523445244534535"
    "426666"
    "1542543222234561663645664444531555435554255652666656665122422555515653163311462616656165264446"
    "515555"
    "1654616464155551562524545166362646423343312221455643265262343442425552145261641116566611122656"
    "536564"
    "1666616654166661654542122154345222125434156664655625444655252551624555255522565625445255322444"
    "435454"
    "2433316666166561656516565366462313124555253511656654456254331663626454263521556515533166562556"
    "544314"
    "2655335655166652555424413245541662526454152341666624555245651555516613344344456415555265542666"
    "512243"
    "1656665665434343422343433165663544442233344331656315545221632445516625234441643623453543541544"
    "416653"
    "2563524565265551564525555152223355524565165552646225564156552321425555343332441416666244435545"
    "453123"
    "1556615664156561666435534156552665554564264355456235245365662544416665344633565645555164664342"
    "535555"
    "5211233344354553566545564611463556655566344535655616565166654465455515344326666626565414663545"
    "524555"
    "1555516655454343545516666156662444535666156561442546665265633454426666222432546434664155652565"
    "424244"
    "1666616665155652555536555156465666616615344434556634434155651555426655356454545452323165653444"
    "416545"
    "2556516666355612446235646354222532226666226222666652225444443346316565154562254416664443231466"
    "635555"
    "1666625564154323534424265165652446515555245655556525565251644664425565351442554523645425551555"
    "425566"
    "4366634666161651536516645452651653646566165226666614253354431666625553153541656615564445152341"
    "226646"
    "4444526563566561566625546165564246525544266661626516666255641534426545155653435516652355444554"
    "543253"
    "1465615663344543452316565366641635312142355634656615666355653656616666164661665626666166662656"
    "525242"
    "2525525255252552525525555255552555525265456632666554564144544445516665266542566554221611411666"
    "544342"
    "3666556565165652546516666256542221354443254462555515665365661515515655255541556635565266661656"
    "622432"
    "2443342131655662666625654166661626616666132632662615666255651446426564155651663645565251664355"
    "544565"
    "2642545454156563666616666566562426416556166662465615665355656166625464324662446424655165641546"
    "416666"
    "3556546665144461656566666164351655624565155643445514656255651541515665543433555534465454521666"
    "516465"
    "2446524535254441654543565166614542245464166663666515565253241454516665254645555536565156661156"
    "316666"};

RawColumns Agreeableness() {
    std::string digits;
    for (const char* line : kAgreeableness) {
        digits += line;
    }
    RawColumns raw;
    raw.names = {"A1", "A2", "A3", "A4", "A5"};
    raw.cases = digits.size() / 5;
    raw.values.resize(digits.size());
    for (std::size_t t = 0; t < raw.cases; ++t) {
        for (std::size_t v = 0; v < 5; ++v) {
            raw.values[v * raw.cases + t] = digits[t * 5 + v] - '0';
        }
    }
    return raw;
}

// R's r[lower.tri(r)], column after column: each pair's table maximised as
// above, and psych's polychoric(correct = 0), whose search stops within about
// 2e-5 of the maximum, as polycor's does.
constexpr double kAgreeablenessLower[] = {
    -0.43672747206033691, -0.2755338620335952, -0.12600505409724169, -0.23856324925090053,
    0.54405872398195454,  0.36170803133542606, 0.45046009637064882,  0.40042194250575075,
    0.5731248889244358,   0.41234904196390099};
constexpr double kPsychLower[] = {-0.43673408427339266, -0.27552838350288544, -0.12601586065270201,
                                  -0.23856921222132943, 0.54405708758821347,  0.36172482681217477,
                                  0.45045632074101061,  0.4004384149720529,   0.57313847381007987,
                                  0.41235811553162921};

TEST(PolychoricTest, AgreeablenessItemsGiveRsCorrelations) {
    RawColumns raw = Agreeableness();
    const Polychoric polychoric = PolychoricCorrelations(OrdinalCategories(raw, {}));
    EXPECT_EQ(polychoric.pairsOutside, 0);
    EXPECT_FALSE(polychoric.smallestBeforeSmoothing);
    const auto& r = polychoric.correlations;
    std::size_t at = 0;
    for (std::size_t j = 0; j < 5; ++j) {
        EXPECT_EQ(r[j * 5 + j], 1);
        for (std::size_t i = j + 1; i < 5; ++i, ++at) {
            EXPECT_NEAR(r[i * 5 + j], kAgreeablenessLower[at], 1e-9) << i << ", " << j;
            EXPECT_NEAR(r[i * 5 + j], kPsychLower[at], 2e-5) << i << ", " << j;
            EXPECT_EQ(r[i * 5 + j], r[j * 5 + i]);
        }
    }
    // Reversed and shifted, A1's categories keep their order reversed: its
    // correlations change sign and no other.
    for (std::size_t t = 0; t < raw.cases; ++t) {
        raw.values[t] = 60 - 10 * raw.values[t];
    }
    const std::vector<double> reversed =
        PolychoricCorrelations(OrdinalCategories(raw, {})).correlations;
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_NEAR(reversed[i * 5], -r[i * 5], 1e-12);
        for (std::size_t j = 1; j < i; ++j) {
            EXPECT_EQ(reversed[i * 5 + j], r[i * 5 + j]);
        }
    }
}

TEST(PolychoricTest, SmoothingGivesPsychsCorSmooth) {
    std::vector<double> r{1, 0.9, 0.2, 0.9, 1, 0.7, 0.2, 0.7, 1};
    const double smoothed[] = {1, 0.8621712929002302,  0.20811622028364116, 0.86217129290023009,
                               1, 0.67495587882530061, 0.20811622028364116, 0.67495587882530084,
                               1};
    EXPECT_NEAR(SmoothIfNotPositiveDefinite(3, r).value(), -0.048662958678418189, 1e-15);
    for (std::size_t at = 0; at < r.size(); ++at) {
        EXPECT_NEAR(r[at], smoothed[at], 1e-14) << at;
    }
    // Positive definite now, it is left as it is.
    const std::vector<double> before = r;
    EXPECT_FALSE(SmoothIfNotPositiveDefinite(3, r));
    EXPECT_EQ(r, before);
}

// Two variables: the first with the values given, the second 0, 1, 0, 1, ...
RawColumns WithFirstColumn(const std::string& name, const std::vector<double>& values) {
    RawColumns raw{{name, "B"}, values.size(), values};
    for (std::size_t t = 0; t < values.size(); ++t) {
        raw.values.push_back(static_cast<double>(t % 2));
    }
    return raw;
}

std::vector<double> Counting(int from, int to) {
    std::vector<double> values;
    for (int value = from; value <= to; ++value) {
        values.push_back(value);
    }
    return values;
}

TEST(PolychoricTest, OnlyWholeNumbersWithFewCategoriesAreOrdinal) {
    const struct {
        RawColumns raw;
        NumberFormat format;
        const char* refusal;
        std::optional<int> mostCategories;
    } kCases[] = {
        {WithFirstColumn("Age", Counting(18, 74)),
         {},
         "Polychoric correlations need whole numbers with at most 10 categories: Age has 57.",
         std::nullopt},
        {WithFirstColumn("Dose", {1, 2, 2.5, 3}),
         {",", "."},
         "Polychoric correlations need whole numbers with at most 10 categories: Dose holds 2,5.",
         std::nullopt},
        {WithFirstColumn("Item", Counting(-3, 7)),
         {},
         "Polychoric correlations need whole numbers with at most 10 categories: Item has 11.",
         std::nullopt},
        {WithFirstColumn("Item", Counting(-2, 7)), {}, "", 10},
        {WithFirstColumn("Item", {5, -1, 5, 0, 9, 9}), {}, "", 4},
    };
    for (const auto& [raw, format, refusal, mostCategories] : kCases) {
        std::string refused;
        try {
            OrdinalCategories(raw, format);
        } catch (const DataRefusal& error) {
            refused = error.what();
        }
        EXPECT_EQ(refused, refusal);
        EXPECT_EQ(MostCategories(raw), mostCategories) << refusal;
    }
}

TEST(PolychoricTest, CategoriesKeepTheirOrderAndProportions) {
    const OrdinalData data = OrdinalCategories(WithFirstColumn("Item", {5, -1, 5, 0, 9, 9}), {});
    EXPECT_EQ(std::vector<int>(data.codes.begin(), data.codes.begin() + 6),
              (std::vector<int>{2, 0, 2, 1, 3, 3}));
    // Cumulative proportions 1/6, 2/6 and 4/6, whose normal quantiles R gives.
    const std::vector<double> qnorm{-0.96742156610170138, -0.43072729929545744,
                                    0.43072729929545733};
    ASSERT_EQ(data.thresholds[0].size(), qnorm.size());
    for (std::size_t i = 0; i < qnorm.size(); ++i) {
        EXPECT_NEAR(data.thresholds[0][i], qnorm[i], 1e-15);
    }
}

TEST(PolychoricTest, SummarySentencesWriteNumbersInTheUsersFormat) {
    const NumberFormat comma{",", "."};
    EXPECT_EQ(PairsOutsideLine(1, comma),
              "1 pair of variables has no polychoric correlation inside (-1, 1): taken as "
              "0,9999 or -0,9999.");
    EXPECT_EQ(SmoothedLine(-0.021304, {}),
              "The polychoric correlations were not positive definite (smallest eigenvalue "
              "-0.0213) and were smoothed.");
}

}  // namespace
}  // namespace trolvane
