#include "form/qt/scree_plot_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <type_traits>

namespace trolvane {
namespace {

QColor ColourOf(const Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QPointF PointOf(const Point& point) {
    return {point.x, point.y};
}

QPen PenOf(const Stroke& stroke) {
    QPen pen(ColourOf(stroke.colour), stroke.width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    if (!stroke.dashes.empty()) {
        // Qt counts dashes in pen widths.
        QList<qreal> pattern;
        for (const double length : stroke.dashes) {
            pattern << length / stroke.width;
        }
        pen.setDashPattern(pattern);
    }
    return pen;
}

// The plot's font, as its SVG names it.
QFont PlotFont(double pixels) {
    QFont font(QStringList{"Tahoma", "DejaVu Sans", "sans-serif"});
    font.setPixelSize(std::max(1, qRound(pixels)));
    return font;
}

struct Painter {
    QPainter& painter;

    void operator()(const Line& line) const {
        painter.setPen(PenOf(line.stroke));
        painter.drawLine(PointOf(line.from), PointOf(line.to));
    }
    void operator()(const Polyline& polyline) const {
        QPolygonF points;
        for (const Point& point : polyline.points) {
            points << PointOf(point);
        }
        painter.setPen(PenOf(polyline.stroke));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(points);
    }
    void operator()(const Circle& circle) const {
        painter.setPen(PenOf(circle.stroke));
        painter.setBrush(ColourOf(circle.fill));
        painter.drawEllipse(PointOf(circle.centre), circle.radius, circle.radius);
    }
    void operator()(const Text& text) const {
        const QFont font = PlotFont(text.size);
        const QString shown = QString::fromStdString(text.text);
        const double width = QFontMetricsF(font).horizontalAdvance(shown);
        constexpr double kShare[] = {0, 0.5, 1};
        const double left = text.at.x - width * kShare[static_cast<int>(text.anchor)];
        painter.setFont(font);
        painter.setPen(ColourOf(text.colour));
        painter.drawText(QPointF(left, text.at.y), shown);
    }
};

}  // namespace

void PaintScreePlot(QPainter& painter, const ScreePlot& plot) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, plot.width, plot.height), ColourOf(plot.background));
    PaintInOrder(plot, Painter{painter});
}

QImage ScreePlotImage(const ScreePlot& plot) {
    QImage image(qCeil(plot.width), qCeil(plot.height), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintScreePlot(painter, plot);
    return image;
}

ScreePlotView::ScreePlotView(const NumberFormat& format, QWidget* parent)
    : QWidget(parent), format_(format) {
    setAccessibleName("Scree plot");
    setMinimumSize(320, 200);
}

void ScreePlotView::setData(std::optional<ScreePlotData> data) {
    data_ = std::move(data);
    setAccessibleDescription(data_ ? QString::fromStdString(laidOut({200, 100, 1}).description)
                                   : QString());
    update();
}

ScreePlot ScreePlotView::laidOut(const PlotSize& size) const {
    return LaidOutScreePlot(data_.value_or(ScreePlotData{}), size, format_);
}

void ScreePlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintScreePlot(painter, laidOut({double(width()), double(height()), 1}));
}

}  // namespace trolvane
