// A label of the window whose caption is always shown whole: in the label's
// designed font where it fits, else in the largest smaller size that does.
#pragma once

#include <QLabel>

namespace trolvane {

// Whether the caption, wrapped at word boundaries, fits the box: no word wider
// than the box, and every line within its height but for the last one's descent.
bool CaptionFits(const QFont& font, const QString& caption, QSize box);

// The designed font where the caption fits the box; else the same font stepped
// down in size until it does, but never below the smallest legible size.
QFont FittingFont(const QFont& designed, const QString& caption, QSize box);

class Caption : public QLabel {
  public:
    Caption(const QFont& designed, QWidget* parent);

    // Shows the caption, its font chosen before the text is laid out.
    void setCaption(const QString& caption);

  protected:
    // An empty caption draws nothing: the window's background shows through.
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont designed_;
};

}  // namespace trolvane
