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

// Black, or the given colour, on the window's orange, whatever the desktop's
// colour scheme; a label without a caption is hidden, so that neither the eye
// nor a screen reader meets an empty label.
class Caption : public QLabel {
  public:
    Caption(const QFont& designed, QRgb text, QWidget* parent);

    // Shows the caption, its font chosen before the text is laid out.
    void setCaption(const QString& caption);

    // An out-of-date caption is drawn in italic dark grey; one computed from
    // impossible inputs in dark red on pale yellow.
    void setMarks(bool outOfDate, bool impossible);

  private:
    // Chooses the font before the caption is laid out in it.
    void fit(const QString& caption);

    QFont designed_;
    QRgb text_;
    bool outOfDate_ = false;
    bool impossible_ = false;
};

}  // namespace trolvane
