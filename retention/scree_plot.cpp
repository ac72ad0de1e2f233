#include "retention/scree_plot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace trolvane {
namespace {

// Okabe and Ito's blue and vermillion, which readers with a colour-vision
// deficiency tell apart, and dark ink and grey on white, as in a paper.
constexpr Colour kBlue{0x00, 0x72, 0xB2};
constexpr Colour kVermillion{0xD5, 0x5E, 0x00};
constexpr Colour kInk{0x1A, 0x1A, 0x1A};
constexpr Colour kGrey{0x76, 0x76, 0x76};
constexpr Colour kWhite{0xFF, 0xFF, 0xFF};

// Every component is labelled up to this many.
constexpr int kEveryComponentUpTo = 30;

// The plot's sizes in pixels, at the scale asked for.
struct Sizes {
    double font;
    double padding;
    // From one line of text's baseline to the next.
    double lineHeight;
    double tick;
    // Between a tick and its label, or a legend's sample and its text.
    double gap;
    double dotRadius;
    double dataWidth;
    double thinWidth;
    double sampleLength;
    std::vector<double> dashes;
    // The least room between two ticks of the eigenvalue axis.
    double tickSpacing;
    // How far above its baseline a text's capitals and digits reach, and how
    // far below it the text ends.
    double capHeight;
    double descent;
};

Sizes ScaledSizes(double scale) {
    const double font = 12 * scale;
    return {.font = font,
            .padding = 10 * scale,
            .lineHeight = 1.4 * font,
            .tick = 5 * scale,
            .gap = 4 * scale,
            .dotRadius = 3.5 * scale,
            .dataWidth = 1.5 * scale,
            .thinWidth = 1 * scale,
            .sampleLength = 28 * scale,
            .dashes = {6 * scale, 4 * scale},
            .tickSpacing = 3.5 * font,
            .capHeight = 0.75 * font,
            .descent = 0.25 * font};
}

// UTF-8: every byte but a continuation byte starts a character.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

double ReservedWidth(std::string_view text, double size) {
    return static_cast<double>(CharacterCount(text)) * kAverageAdvance * size;
}

double WidestText(const std::vector<std::string>& texts, double size) {
    double widest = 0;
    for (const std::string& text : texts) {
        widest = std::max(widest, ReservedWidth(text, size));
    }
    return widest;
}

// Where a line of this width across the coordinate covers whole pixels, so
// that it is drawn sharp: a pixel's middle for an odd width, its edge otherwise.
double Crisp(double coordinate, double width) {
    return std::lround(width) % 2 == 1 ? std::floor(coordinate) + 0.5 : std::round(coordinate);
}

// The i-th multiple of mantissa x 10^power, divided rather than multiplied by
// a negative power's ten, so that 3 x 0.2 is the double nearest 0.6.
double TidyMultiple(long long i, double mantissa, int power) {
    const double multiple = static_cast<double>(i) * mantissa;
    const double ten = std::pow(10.0, std::abs(power));
    return power >= 0 ? multiple * ten : multiple / ten;
}

// The eigenvalue axis's ticks: the smallest step of 1, 2 or 5 times a power of
// ten whose multiples cover 0 and the values in at most maxSteps steps.
std::vector<double> TidyTicks(double lowest, double highest, int maxSteps) {
    lowest = std::min(lowest, 0.0);
    highest = std::max(highest, 0.0);
    // A span this small, subnormal or none, is drawn as one from 0 to 1.
    if (highest - lowest < 1e-300) {
        highest = 1;
    }
    // A quotient within this of a whole number is that number.
    constexpr double kSlack = 1e-9;
    // The span halved first, so that values near the largest double do not
    // overflow it.
    const double halfSpan = highest / 2 - lowest / 2;
    for (int power = static_cast<int>(std::floor(std::log10(2 * (halfSpan / maxSteps))));;
         ++power) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double step = TidyMultiple(1, mantissa, power);
            // Values so far apart that no step between them is a double.
            if (!std::isfinite(step)) {
                return {lowest, highest};
            }
            const auto first = static_cast<long long>(std::floor(lowest / step + kSlack));
            const auto last = static_cast<long long>(std::ceil(highest / step - kSlack));
            if (last - first <= maxSteps) {
                std::vector<double> ticks;
                for (long long i = first; i <= last; ++i) {
                    ticks.push_back(TidyMultiple(i, mantissa, power));
                }
                // A tidy tick past the largest double: the values are the ticks.
                if (!std::isfinite(ticks.front()) || !std::isfinite(ticks.back())) {
                    return {lowest, highest};
                }
                return ticks;
            }
        }
    }
}

// The next step of the component axis's labels: 5, 10, 20, 50, 100, 200, ...
int NextComponentStep(int step) {
    int leading = step;
    while (leading >= 10) {
        leading /= 10;
    }
    return leading == 2 ? step / 2 * 5 : step * 2;
}

// The components labelled: every one up to 30 components; beyond, or where
// their labels would touch, the first and every 5th, 10th, 20th, 50th, ...,
// whichever leaves room for the widest label.
std::vector<int> ComponentTicks(int count, double spacing, double labelRoom) {
    int step = count <= kEveryComponentUpTo && spacing >= labelRoom ? 1 : 5;
    while (step < count && step * spacing < labelRoom) {
        step = NextComponentStep(step);
    }
    std::vector<int> ticks;
    if (count > 0) {
        ticks.push_back(1);
    }
    for (int component = step == 1 ? 2 : step; component <= count; component += step) {
        ticks.push_back(component);
    }
    return ticks;
}

// The plotted area in pixels and the values at its edges: components 0.5 to
// count + 0.5 across, the eigenvalue axis's lowest to highest tick up.
struct PlotArea {
    double left, top, right, bottom;
    int count;
    double lowest, highest;

    double Spacing() const { return (right - left) / std::max(count, 1); }
    double X(int component) const { return left + (component - 0.5) * Spacing(); }
    // Halved first, so that a span near the largest double does not overflow.
    double Y(double value) const {
        return bottom - (value / 2 - lowest / 2) / (highest / 2 - lowest / 2) * (bottom - top);
    }
};

Stroke Solid(Colour colour, double width) {
    return {colour, width, {}};
}

Stroke DataStroke(const Sizes& sizes) {
    return Solid(kBlue, sizes.dataWidth);
}

Stroke RandomStroke(const Sizes& sizes) {
    return {kVermillion, sizes.dataWidth, sizes.dashes};
}

Text InkText(std::string text, Point at, TextAnchor anchor, const Sizes& sizes) {
    return {std::move(text), at, anchor, sizes.font, kInk};
}

Axis EigenvalueAxis(const PlotArea& area, const std::vector<double>& ticks,
                    const std::vector<std::string>& labels, double titleBaseline,
                    const Sizes& sizes) {
    const Stroke ink = Solid(kInk, sizes.thinWidth);
    Axis axis;
    axis.line = {{area.left, area.top}, {area.left, area.bottom + sizes.thinWidth / 2}, ink};
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double y = Crisp(area.Y(ticks[i]), sizes.thinWidth);
        axis.ticks.push_back({{area.left - sizes.tick, y}, {area.left, y}, ink});
        const Point at{area.left - sizes.tick - sizes.gap, y + sizes.capHeight / 2};
        axis.labels.push_back(InkText(labels[i], at, TextAnchor::End, sizes));
    }
    axis.title = InkText("Eigenvalue", {sizes.padding, titleBaseline}, TextAnchor::Start, sizes);
    return axis;
}

Axis ComponentAxis(const PlotArea& area, const Sizes& sizes) {
    const Stroke ink = Solid(kInk, sizes.thinWidth);
    Axis axis;
    axis.line = {{area.left - sizes.thinWidth / 2, area.bottom}, {area.right, area.bottom}, ink};
    const double labelRoom = ReservedWidth(std::to_string(area.count), sizes.font) + sizes.gap;
    const double labelBaseline = area.bottom + sizes.tick + sizes.gap + sizes.capHeight;
    for (const int component : ComponentTicks(area.count, area.Spacing(), labelRoom)) {
        const double x = Crisp(area.X(component), sizes.thinWidth);
        axis.ticks.push_back({{x, area.bottom}, {x, area.bottom + sizes.tick}, ink});
        axis.labels.push_back(
            InkText(std::to_string(component), {x, labelBaseline}, TextAnchor::Middle, sizes));
    }
    axis.title =
        InkText("Component", {(area.left + area.right) / 2, labelBaseline + sizes.lineHeight},
                TextAnchor::Middle, sizes);
    return axis;
}

// Kaiser's line at an eigenvalue of 1, labelled at its right end.
std::optional<Reference> KaiserLine(const PlotArea& area, const Sizes& sizes) {
    if (area.lowest > 1 || area.highest < 1) {
        return std::nullopt;
    }
    const double y = area.Y(1);
    return Reference{
        {{area.left, y}, {area.right, y}, Solid(kGrey, sizes.thinWidth)},
        {"Kaiser's rule", {area.right, y - sizes.gap}, TextAnchor::End, sizes.font, kGrey}};
}

std::vector<Point> Points(const PlotArea& area, const std::vector<double>& values) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        points.push_back({area.X(static_cast<int>(i) + 1), area.Y(values[i])});
    }
    return points;
}

// The observed eigenvalues' dots, those parallel analysis keeps filled; smaller
// where the components stand close, so that each stays apart from the next.
std::vector<Circle> Dots(const std::vector<Point>& points, int kept, const PlotArea& area,
                         const Sizes& sizes) {
    const double radius = std::clamp(0.4 * area.Spacing(), sizes.dataWidth, sizes.dotRadius);
    std::vector<Circle> dots;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Colour fill = static_cast<int>(i) < kept ? kBlue : kWhite;
        dots.push_back({points[i], radius, DataStroke(sizes), fill});
    }
    return dots;
}

// The text of a legend row, whose baseline stands in the plot's top margin.
double LegendBaseline(int row, const Sizes& sizes) {
    return sizes.padding + sizes.font + row * sizes.lineHeight;
}

// The legend, one row a line, right-aligned in the top margin.
std::vector<LegendEntry> Legend(const std::vector<std::pair<std::string, Stroke>>& rows,
                                double width, const Sizes& sizes) {
    std::vector<std::string> texts;
    for (const auto& row : rows) {
        texts.push_back(row.first);
    }
    const double textGap = 2 * sizes.gap;
    const double left =
        width - sizes.padding - WidestText(texts, sizes.font) - textGap - sizes.sampleLength;
    std::vector<LegendEntry> legend;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const double baseline = LegendBaseline(static_cast<int>(row), sizes);
        const double middle = baseline - sizes.capHeight / 2;
        legend.push_back({{{left, middle}, {left + sizes.sampleLength, middle}, rows[row].second},
                          InkText(rows[row].first, {left + sizes.sampleLength + textGap, baseline},
                                  TextAnchor::Start, sizes)});
    }
    return legend;
}

std::vector<std::pair<std::string, Stroke>> LegendRows(const ScreePlotData& data,
                                                       const NumberFormat& format,
                                                       const Sizes& sizes) {
    std::vector<std::pair<std::string, Stroke>> rows{
        {"Eigenvalues of the data", DataStroke(sizes)}};
    if (!data.random.percentile.empty()) {
        rows.push_back(
            {"Random data, " + PercentileOrdinal(data.percentile, format) + " percentile",
             RandomStroke(sizes)});
    }
    return rows;
}

// The eigenvalue axis's ticks over every plotted value.
std::vector<double> EigenvalueTicks(const std::vector<double>& eigenvalues,
                                    const std::vector<double>& percentiles, int maxSteps) {
    std::vector<double> values = eigenvalues;
    values.insert(values.end(), percentiles.begin(), percentiles.end());
    std::erase_if(values, [](double value) { return !std::isfinite(value); });
    if (values.empty()) {
        return TidyTicks(0, 0, maxSteps);
    }
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    return TidyTicks(*lowest, *highest, maxSteps);
}

std::string Description(const ScreePlotData& data, int kept, const NumberFormat& format) {
    const std::vector<double>& values = data.eigenvalues;
    const auto shown = [&format](double value) { return FixedNumberText(value, 3, format); };
    std::string text = "Scree plot: ";
    if (values.empty()) {
        return text + "no eigenvalues";
    }
    if (values.size() == 1) {
        text += "1 eigenvalue, " + shown(values.front());
    } else {
        text += std::to_string(values.size()) + " eigenvalues from " + shown(values.front()) +
                " down to " + shown(values.back());
    }
    if (!data.random.percentile.empty()) {
        text += "; " + std::to_string(kept) + " above the random " +
                PercentileOrdinal(data.percentile, format) + " percentile";
    }
    return text;
}

}  // namespace

std::string PercentileOrdinal(double percentile, const NumberFormat& format) {
    const std::string number = NumberText(percentile, format);
    if (percentile != std::floor(percentile)) {
        return number + "th";
    }
    // By the last digit, but 11th, 12th and 13th in every hundred.
    constexpr const char* kSuffixes[] = {"th", "st", "nd", "rd", "th",
                                         "th", "th", "th", "th", "th"};
    const auto whole = static_cast<long long>(std::fabs(percentile));
    const bool teen = whole % 100 >= 11 && whole % 100 <= 13;
    return number + (teen ? "th" : kSuffixes[whole % 10]);
}

ScreePlot LaidOutScreePlot(const ScreePlotData& data, const PlotSize& size,
                           const NumberFormat& format) {
    const Sizes sizes = ScaledSizes(size.scale);
    const int count = static_cast<int>(data.eigenvalues.size());
    const int kept = std::clamp(data.kept, 0, count);
    const std::vector<double> percentiles(
        data.random.percentile.begin(),
        data.random.percentile.begin() +
            static_cast<std::ptrdiff_t>(
                std::min(data.random.percentile.size(), data.eigenvalues.size())));

    ScreePlot plot;
    plot.width = size.width;
    plot.height = size.height;
    plot.background = kWhite;
    plot.name = "Scree plot";
    plot.description = Description(data, kept, format);

    plot.legend = Legend(LegendRows(data, format, sizes), size.width, sizes);
    const int legendRowCount = static_cast<int>(plot.legend.size());

    // The plot's top leaves room above its highest tick label for the legend's
    // last row, where the eigenvalue axis's title stands.
    PlotArea area{};
    area.count = count;
    area.top = Crisp(LegendBaseline(legendRowCount - 1, sizes) + sizes.descent + sizes.font,
                     sizes.thinWidth);
    area.bottom = Crisp(size.height - sizes.padding - sizes.descent - sizes.lineHeight -
                            sizes.capHeight - sizes.gap - sizes.tick,
                        sizes.thinWidth);
    area.bottom = std::max(area.bottom, area.top + 1);

    const int maxSteps =
        std::max(2, static_cast<int>((area.bottom - area.top) / sizes.tickSpacing));
    const std::vector<double> ticks = EigenvalueTicks(data.eigenvalues, percentiles, maxSteps);
    area.lowest = ticks.front();
    area.highest = ticks.back();
    std::vector<std::string> tickLabels;
    for (const double tick : ticks) {
        tickLabels.push_back(NumberText(tick, format));
    }

    area.left = Crisp(sizes.padding + WidestText(tickLabels, sizes.font) + sizes.gap + sizes.tick,
                      sizes.thinWidth);
    area.right =
        std::max(size.width - sizes.padding - ReservedWidth(std::to_string(count), sizes.font) / 2,
                 area.left + 1);

    plot.eigenvalueAxis =
        EigenvalueAxis(area, ticks, tickLabels, LegendBaseline(legendRowCount - 1, sizes), sizes);
    plot.componentAxis = ComponentAxis(area, sizes);
    plot.kaiser = KaiserLine(area, sizes);
    if (!percentiles.empty()) {
        plot.random = Polyline{Points(area, percentiles), RandomStroke(sizes)};
    }
    plot.observed = {Points(area, data.eigenvalues), DataStroke(sizes)};
    plot.dots = Dots(plot.observed.points, kept, area, sizes);
    return plot;
}

}  // namespace trolvane
