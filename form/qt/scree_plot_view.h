// The scree plot on a Qt desktop: the plot's layout drawn with QPainter, in the
// window and as the PNG a report takes.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "retention/scree_plot.h"

namespace trolvane {

// Draws every shape of the laid-out plot, its background first.
void PaintScreePlot(QPainter& painter, const ScreePlot& plot);

// The plot drawn into an image of its own size.
QImage ScreePlotImage(const ScreePlot& plot);

// The plot in the How Many Components window, laid out again whenever the
// window's size changes; sharp at any scaling, for QPainter draws in pixels of
// the screen.
class ScreePlotView : public QWidget {
  public:
    ScreePlotView(const NumberFormat& format, QWidget* parent);

    // What to show; none for an empty plot.
    void setData(std::optional<ScreePlotData> data);
    const std::optional<ScreePlotData>& data() const { return data_; }
    // The plot as laid out at this size.
    ScreePlot laidOut(const PlotSize& size) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    NumberFormat format_;
    std::optional<ScreePlotData> data_;
};

}  // namespace trolvane
