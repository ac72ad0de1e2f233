// The scree plot's layout: its ticks and scales over few and many components
// and small and large eigenvalues, the filled dots, the ordinals and the
// accessible description.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/joined.h"
#include "retention/scree_plot.h"

namespace trolvane {
namespace {

const NumberFormat kDecimalComma{",", "."};

// Evenly from the largest down to largest / count.
std::vector<double> Descending(int count, double largest) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(largest * (count - i) / count);
    }
    return values;
}

// Random data that give only their percentiles, as the plot draws them.
RandomEigenvalues RandomPercentiles(std::vector<double> percentile) {
    RandomEigenvalues random;
    random.percentile = std::move(percentile);
    return random;
}

std::string Labels(const Axis& axis) {
    std::vector<std::string> texts;
    for (const Text& label : axis.labels) {
        texts.push_back(label.text);
    }
    return Joined(texts, " ");
}

TEST(ScreePlot, TicksAndScales) {
    const struct {
        int count;
        double largest;
        double width;
        const char* components;
        const char* eigenvalues;
    } cases[] = {
        {2, 1.6, 640, "1 2", "0 0,5 1 1,5 2"},
        {3, 0.01, 640, "1 2 3", "0 0,002 0,004 0,006 0,008 0,01"},
        {25, 5.134, 640, "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25",
         "0 1 2 3 4 5 6"},
        {25, 5.134, 200, "1 5 10 15 20 25", "0 1 2 3 4 5 6"},
        {100, 50, 640, "1 5 10 15 20 25 30 35 40 45 50 55 60 65 70 75 80 85 90 95 100",
         "0 10 20 30 40 50"},
        {100, 50, 400, "1 10 20 30 40 50 60 70 80 90 100", "0 10 20 30 40 50"},
    };
    for (const auto& c : cases) {
        const ScreePlot plot =
            LaidOutScreePlot({Descending(c.count, c.largest), {}}, {c.width, 400}, kDecimalComma);
        SCOPED_TRACE(testing::Message() << c.count << " components up to " << c.largest);
        EXPECT_EQ(Labels(plot.componentAxis), c.components);
        EXPECT_EQ(Labels(plot.eigenvalueAxis), c.eigenvalues);
        // Each label on its tick; the dots on the component ticks, the largest
        // within the top tick.
        ASSERT_EQ(plot.componentAxis.labels.size(), plot.componentAxis.ticks.size());
        EXPECT_NEAR(plot.componentAxis.ticks.back().from.x,
                    plot.dots[std::stoul(plot.componentAxis.labels.back().text) - 1].centre.x, 0.5);
        EXPECT_GE(plot.dots.front().centre.y, plot.eigenvalueAxis.ticks.back().from.y - 0.5);
        EXPECT_EQ(plot.kaiser.has_value(), c.largest >= 1);
    }
}

// Eigenvalues a box can hold but no correlation matrix has: as far apart as
// doubles go, or too small for a step between them; every dot where a number is.
TEST(ScreePlot, EigenvaluesNearTheLimitsOfADouble) {
    const std::vector<double> cases[] = {{1e308, -1e308}, {1.7e308, 0}, {1e-322, 5e-323}};
    for (const std::vector<double>& eigenvalues : cases) {
        const ScreePlot plot = LaidOutScreePlot({eigenvalues, {}}, {640, 400}, kDecimalComma);
        SCOPED_TRACE(testing::Message() << eigenvalues.front());
        ASSERT_FALSE(plot.eigenvalueAxis.ticks.empty());
        for (const Circle& dot : plot.dots) {
            EXPECT_TRUE(std::isfinite(dot.centre.x) && std::isfinite(dot.centre.y));
        }
    }
}

TEST(ScreePlot, TwiceTheScaleIsTheSamePlotTwiceAsLarge) {
    const ScreePlotData data{Descending(25, 5.134), RandomPercentiles(Descending(25, 1.2)), 95, 5};
    const ScreePlot single = LaidOutScreePlot(data, {640, 400, 1}, {});
    const ScreePlot twice = LaidOutScreePlot(data, {1280, 800, 2}, {});
    ASSERT_EQ(single.dots.size(), twice.dots.size());
    for (std::size_t i = 0; i < single.dots.size(); ++i) {
        EXPECT_NEAR(twice.dots[i].centre.x, 2 * single.dots[i].centre.x, 1.5);
        EXPECT_NEAR(twice.dots[i].centre.y, 2 * single.dots[i].centre.y, 1.5);
        EXPECT_EQ(twice.dots[i].radius, 2 * single.dots[i].radius);
    }
    EXPECT_EQ(twice.legend[1].text.size, 2 * single.legend[1].text.size);
}

TEST(ScreePlot, DotsOfTheKeptComponentsAreFilled) {
    for (const int kept : {0, 3, 25, 40}) {
        const ScreePlot plot = LaidOutScreePlot(
            {Descending(25, 5), RandomPercentiles(Descending(25, 1.2)), 95, kept}, {640, 400}, {});
        for (std::size_t i = 0; i < plot.dots.size(); ++i) {
            const Circle& dot = plot.dots[i];
            EXPECT_EQ(dot.fill == dot.stroke.colour, static_cast<int>(i) < kept)
                << kept << " " << i;
            EXPECT_EQ(dot.fill == dot.stroke.colour, dot.fill != plot.background);
        }
    }
}

TEST(ScreePlot, PercentileOrdinals) {
    const struct {
        double percentile;
        const char* ordinal;
    } cases[] = {{95, "95th"}, {91, "91st"}, {92, "92nd"},     {93, "93rd"},
                 {50, "50th"}, {11, "11th"}, {12, "12th"},     {13, "13th"},
                 {99, "99th"}, {1, "1st"},   {97.5, "97,5th"}, {111, "111th"}};
    for (const auto& c : cases) {
        EXPECT_EQ(PercentileOrdinal(c.percentile, kDecimalComma), c.ordinal);
    }
}

TEST(ScreePlot, DescriptionAndLegend) {
    const std::vector<double> bfi{5.134311, 2.751887, 0.8395, 0.262539};
    const RandomEigenvalues random = RandomPercentiles({1.2, 1.1, 1.0, 0.9});
    const struct {
        ScreePlotData data;
        NumberFormat format;
        const char* description;
        const char* randomLegend;
    } cases[] = {
        {{bfi, random, 95, 2},
         {},
         "Scree plot: 4 eigenvalues from 5.134 down to 0.263; 2 above the random 95th percentile",
         "Random data, 95th percentile"},
        {{bfi, random, 92, 1},
         kDecimalComma,
         "Scree plot: 4 eigenvalues from 5,134 down to 0,263; 1 above the random 92nd percentile",
         "Random data, 92nd percentile"},
        {{bfi, {}, 95, 0}, {}, "Scree plot: 4 eigenvalues from 5.134 down to 0.263", nullptr},
        {{{2}, {}, 95, 0}, {}, "Scree plot: 1 eigenvalue, 2.000", nullptr},
        {{}, {}, "Scree plot: no eigenvalues", nullptr},
    };
    for (const auto& c : cases) {
        const ScreePlot plot = LaidOutScreePlot(c.data, {640, 400}, c.format);
        EXPECT_EQ(plot.description, c.description);
        EXPECT_EQ(plot.legend.front().text.text, "Eigenvalues of the data");
        EXPECT_EQ(plot.legend.size(), c.randomLegend ? 2u : 1u);
        EXPECT_EQ(plot.random.has_value(), c.randomLegend != nullptr);
        if (c.randomLegend) {
            EXPECT_EQ(plot.legend.back().text.text, c.randomLegend);
        }
    }
}

}  // namespace
}  // namespace trolvane
