#include "retention/scree_plot_svg.h"

#include <iterator>

#include <fmt/format.h>

#include "engine/escaped_html.h"
#include "engine/joined.h"

namespace trolvane {
namespace {

// Tahoma, as the window's texts, where the system has it.
constexpr const char* kFontFamily = "Tahoma, 'DejaVu Sans', sans-serif";

// A coordinate to a hundredth of a pixel, without trailing zeros.
std::string SvgNumber(double value) {
    std::string text = fmt::format("{:.2f}", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string SvgColour(Colour colour) {
    return fmt::format("#{:02x}{:02x}{:02x}", colour.red, colour.green, colour.blue);
}

std::string StrokeAttributes(const Stroke& stroke) {
    std::string attributes = fmt::format(R"(stroke="{}" stroke-width="{}")",
                                         SvgColour(stroke.colour), SvgNumber(stroke.width));
    if (!stroke.dashes.empty()) {
        std::vector<std::string> lengths;
        for (const double length : stroke.dashes) {
            lengths.push_back(SvgNumber(length));
        }
        attributes += fmt::format(R"( stroke-dasharray="{}")", Joined(lengths, " "));
    }
    return attributes;
}

std::string_view AnchorName(TextAnchor anchor) {
    constexpr std::string_view kNames[] = {"start", "middle", "end"};
    return kNames[static_cast<int>(anchor)];
}

// Writes each shape as the element of its kind.
struct SvgElements {
    std::string& svg;

    void operator()(const Line& line) const {
        fmt::format_to(std::back_inserter(svg), R"(<line x1="{}" y1="{}" x2="{}" y2="{}" {}/>)",
                       SvgNumber(line.from.x), SvgNumber(line.from.y), SvgNumber(line.to.x),
                       SvgNumber(line.to.y), StrokeAttributes(line.stroke));
        svg += '\n';
    }
    void operator()(const Polyline& polyline) const {
        std::vector<std::string> points;
        for (const Point& point : polyline.points) {
            points.push_back(SvgNumber(point.x) + "," + SvgNumber(point.y));
        }
        fmt::format_to(std::back_inserter(svg),
                       R"(<polyline points="{}" fill="none" stroke-linejoin="round" {}/>)",
                       Joined(points, " "), StrokeAttributes(polyline.stroke));
        svg += '\n';
    }
    void operator()(const Circle& circle) const {
        fmt::format_to(std::back_inserter(svg), R"(<circle cx="{}" cy="{}" r="{}" fill="{}" {}/>)",
                       SvgNumber(circle.centre.x), SvgNumber(circle.centre.y),
                       SvgNumber(circle.radius), SvgColour(circle.fill),
                       StrokeAttributes(circle.stroke));
        svg += '\n';
    }
    void operator()(const Text& text) const {
        fmt::format_to(std::back_inserter(svg),
                       R"(<text x="{}" y="{}" font-family="{}" font-size="{}" )"
                       R"(text-anchor="{}" fill="{}">{}</text>)",
                       SvgNumber(text.at.x), SvgNumber(text.at.y), kFontFamily,
                       SvgNumber(text.size), AnchorName(text.anchor), SvgColour(text.colour),
                       EscapedHtml(text.text));
        svg += '\n';
    }
};

}  // namespace

std::string ScreePlotSvg(const ScreePlot& plot) {
    const std::string width = SvgNumber(plot.width);
    const std::string height = SvgNumber(plot.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    fmt::format_to(std::back_inserter(svg),
                   R"(<svg xmlns="http://www.w3.org/2000/svg" version="1.1" )"
                   R"(width="{0}" height="{1}" viewBox="0 0 {0} {1}">)"
                   "\n<title>{2}</title>\n<desc>{3}</desc>\n"
                   R"(<rect x="0" y="0" width="{0}" height="{1}" fill="{4}"/>)"
                   "\n",
                   width, height, EscapedHtml(plot.name), EscapedHtml(plot.description),
                   SvgColour(plot.background));
    PaintInOrder(plot, SvgElements{svg});
    return svg + "</svg>\n";
}

}  // namespace trolvane
