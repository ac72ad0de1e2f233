// The scree plot's SVG read back as a reader of the file finds it: one circle
// per eigenvalue, evenly spaced and linear in the eigenvalues, the dashed random
// percentile on the same scale, Kaiser's line at 1, and the texts.
#include <gtest/gtest.h>

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>

#include "retention/scree_plot_svg.h"

namespace trolvane {
namespace {

// The eigenvalues of the 25 personality items of R's bfi.
const std::vector<double> kBfi{5.1343, 2.7519, 2.1427, 1.8523, 1.5482, 1.0736, 0.8395,
                               0.7992, 0.7190, 0.6881, 0.6764, 0.6518, 0.6233, 0.5966,
                               0.5631, 0.5433, 0.5145, 0.4945, 0.4826, 0.4489, 0.4234,
                               0.4007, 0.3878, 0.3819, 0.2625};

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string content;
};

std::vector<Element> Elements(const std::string& svg) {
    static const std::regex kElement(
        R"re(<(\w+)((?:\s+[\w:-]+="[^"]*")*)\s*/?>(?:([^<]*)</\1>)?)re");
    static const std::regex kAttribute(R"re(([\w:-]+)="([^"]*)")re");
    std::vector<Element> elements;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), kElement);
         it != std::sregex_iterator(); ++it) {
        Element element{(*it)[1], {}, (*it)[3]};
        const std::string attributes = (*it)[2];
        for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), kAttribute);
             a != std::sregex_iterator(); ++a) {
            element.attributes[(*a)[1]] = (*a)[2];
        }
        elements.push_back(element);
    }
    return elements;
}

// A number as SVG writes it; fails the test where the whole text is not one.
double Number(const std::string& text) {
    double value = 0;
    const auto [end, error] = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

std::vector<const Element*> Named(const std::vector<Element>& elements, const std::string& name) {
    std::vector<const Element*> named;
    for (const Element& element : elements) {
        if (element.name == name) {
            named.push_back(&element);
        }
    }
    return named;
}

TEST(ScreePlotSvg, ReadBack) {
    RandomEigenvalues random;
    std::vector<double>& percentile = random.percentile;
    for (int i = 0; i < 25; ++i) {
        percentile.push_back(1.2 - 0.35 * i / 24);
    }
    const NumberFormat decimalComma{",", "."};
    const std::string svg =
        ScreePlotSvg(LaidOutScreePlot({kBfi, random, 95, 5}, {640, 400}, decimalComma));
    const std::vector<Element> elements = Elements(svg);
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements.front().attributes.at("viewBox"), "0 0 640 400");
    EXPECT_EQ(Named(elements, "title").front()->content, "Scree plot");
    EXPECT_EQ(Named(elements, "desc").front()->content,
              "Scree plot: 25 eigenvalues from 5,134 down to 0,263; 5 above the random 95th "
              "percentile");
    EXPECT_EQ(svg.find("transform"), std::string::npos);

    // Evenly spaced, and on one line from eigenvalue to pixel height.
    const auto circles = Named(elements, "circle");
    ASSERT_EQ(circles.size(), kBfi.size());
    const auto x = [&](std::size_t i) { return Number(circles[i]->attributes.at("cx")); };
    const auto y = [&](std::size_t i) { return Number(circles[i]->attributes.at("cy")); };
    const double perEigenvalue = (y(0) - y(24)) / (kBfi[0] - kBfi[24]);
    const auto height = [&](double value) { return y(24) + (value - kBfi[24]) * perEigenvalue; };
    for (std::size_t i = 1; i < circles.size(); ++i) {
        EXPECT_NEAR(x(i) - x(i - 1), x(1) - x(0), 0.02) << i;
        EXPECT_NEAR(y(i), height(kBfi[i]), 0.02) << i;
    }
    EXPECT_LT(perEigenvalue, 0);

    const auto polylines = Named(elements, "polyline");
    const auto dashed = std::find_if(polylines.begin(), polylines.end(), [](const Element* e) {
        return e->attributes.contains("stroke-dasharray");
    });
    ASSERT_NE(dashed, polylines.end());
    const std::string points = (*dashed)->attributes.at("points");
    const std::regex kPoint(R"(([-\d.]+),([-\d.]+))");
    std::size_t i = 0;
    for (auto p = std::sregex_iterator(points.begin(), points.end(), kPoint);
         p != std::sregex_iterator(); ++p, ++i) {
        ASSERT_LT(i, percentile.size());
        EXPECT_NEAR(Number((*p)[1]), x(i), 0.02);
        EXPECT_NEAR(Number((*p)[2]), height(percentile[i]), 0.02);
    }
    EXPECT_EQ(i, percentile.size());

    const auto lines = Named(elements, "line");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Element* line) {
        const double y1 = Number(line->attributes.at("y1"));
        return std::abs(y1 - height(1)) < 0.02 && Number(line->attributes.at("y2")) == y1 &&
               Number(line->attributes.at("x2")) - Number(line->attributes.at("x1")) > 300;
    })) << "Kaiser's line";

    std::vector<std::string> texts;
    for (const Element* text : Named(elements, "text")) {
        EXPECT_EQ(text->attributes.at("font-family"), "Tahoma, 'DejaVu Sans', sans-serif");
        texts.push_back(text->content);
    }
    for (const char* expected :
         {"Component", "Eigenvalue", "Kaiser's rule", "6", "25", "Random data, 95th percentile"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    }
}

}  // namespace
}  // namespace trolvane
