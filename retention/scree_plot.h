// The scree plot laid out as shapes and texts in pixels, free of any toolkit:
// every edition's painter draws it as it stands, and the SVG writer writes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversions.h"
#include "retention/rules.h"

namespace trolvane {

// Each channel 0 to 255.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// In pixels, from the top left corner of the plot, y growing downwards.
struct Point {
    double x = 0;
    double y = 0;
};

// How a line is drawn: its width, and for a dashed line the lengths of its
// dashes and gaps in turn, starting with a dash; none for a solid line. Lines
// end flat and a polyline's corners are round.
struct Stroke {
    Colour colour;
    double width = 1;
    std::vector<double> dashes;
};

struct Line {
    Point from;
    Point to;
    Stroke stroke;
};

struct Polyline {
    std::vector<Point> points;
    Stroke stroke;
};

// A dot, filled, then stroked around; a hollow dot is filled with the background.
struct Circle {
    Point centre;
    double radius = 0;
    Stroke stroke;
    Colour fill;
};

// Which point of a text `Text::at` is, along its baseline.
enum class TextAnchor { Start, Middle, End };

// One line of text in the plot's font (Tahoma where the system has it), at a
// size in pixels (the font's em); `at` lies on the text's baseline.
struct Text {
    std::string text;
    Point at;
    TextAnchor anchor = TextAnchor::Start;
    double size = 0;
    Colour colour;
};

// The layout cannot measure a font: it reserves this many ems for each
// character of a text, the advance of a digit in DejaVu Sans, wider than
// Tahoma's, so that a text fits its room in either.
inline constexpr double kAverageAdvance = 0.62;

// What the plot shows: the known eigenvalues, largest first; the random data's
// eigenvalues (none without a sample size), of which the percentile is drawn;
// and how many leading components parallel analysis keeps, drawn filled.
struct ScreePlotData {
    std::vector<double> eigenvalues;
    RandomEigenvalues random;
    double percentile = 95;
    int kept = 0;
};

// The plot's size in pixels, and the factor its fonts, lines, dots and margins
// are drawn larger by: 2 for a figure at twice the window's size.
struct PlotSize {
    double width = 0;
    double height = 0;
    double scale = 1;
};

// An axis line with a tick and a label for each tidy value, and the axis's title.
struct Axis {
    Line line;
    std::vector<Line> ticks;
    std::vector<Text> labels;
    Text title;
};

// A line across the plot at a value, with its label.
struct Reference {
    Line line;
    Text label;
};

// One row of the legend: a sample of the line and what it stands for.
struct LegendEntry {
    Line sample;
    Text text;
};

struct ScreePlot {
    double width = 0;
    double height = 0;
    Colour background;
    Axis componentAxis;
    Axis eigenvalueAxis;
    // Kaiser's line at 1, where the eigenvalue axis reaches 1.
    std::optional<Reference> kaiser;
    // The random percentile per component, where there are random data.
    std::optional<Polyline> random;
    // The observed eigenvalues: a line through them, and a dot for each, in
    // component order.
    Polyline observed;
    std::vector<Circle> dots;
    std::vector<LegendEntry> legend;
    // The plot's accessible name and a sentence saying what it shows.
    std::string name;
    std::string description;
};

// The plot laid out in the size given, its tick labels with the user's separators.
ScreePlot LaidOutScreePlot(const ScreePlotData& data, const PlotSize& size,
                           const NumberFormat& format);

// The percentile as an ordinal: 95th, 91st, 92nd, 93rd, 11th; 97.5th.
std::string PercentileOrdinal(double percentile, const NumberFormat& format);

// Calls paint with every shape of the plot, in the order they are drawn, each
// over the ones before: the axes, Kaiser's line, the random percentile, the
// observed line, its dots, the legend, then every text.
template <typename Paint>
void PaintInOrder(const ScreePlot& plot, Paint&& paint) {
    for (const Axis* axis : {&plot.componentAxis, &plot.eigenvalueAxis}) {
        paint(axis->line);
        for (const Line& tick : axis->ticks) {
            paint(tick);
        }
    }
    if (plot.kaiser) {
        paint(plot.kaiser->line);
    }
    if (plot.random) {
        paint(*plot.random);
    }
    paint(plot.observed);
    for (const Circle& dot : plot.dots) {
        paint(dot);
    }
    for (const LegendEntry& entry : plot.legend) {
        paint(entry.sample);
    }
    for (const Axis* axis : {&plot.componentAxis, &plot.eigenvalueAxis}) {
        for (const Text& label : axis->labels) {
            paint(label);
        }
        paint(axis->title);
    }
    if (plot.kaiser) {
        paint(plot.kaiser->label);
    }
    for (const LegendEntry& entry : plot.legend) {
        paint(entry.text);
    }
}

}  // namespace trolvane
