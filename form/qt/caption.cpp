#include "form/qt/caption.h"

#include <QFontMetrics>

#include "form/caption_fit.h"
#include "form/controls.h"

namespace trolvane {
namespace {

QColor ColourOf(Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

QPalette LabelPalette(QColor background, QColor text) {
    QPalette palette;
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

}  // namespace

bool CaptionFits(const QFont& font, const QString& caption, QSize box) {
    const QFontMetrics metrics(font);
    const QRect unbounded(0, 0, box.width(), QWIDGETSIZE_MAX);
    const QRect needed = metrics.boundingRect(unbounded, Qt::TextWordWrap, caption);
    return needed.width() <= box.width() && needed.height() - metrics.descent() <= box.height();
}

QFont FittingFont(const QFont& designed, const QString& caption, QSize box) {
    QFont font = designed;
    const auto fits = [&](double points) {
        font.setPointSizeF(points);
        return CaptionFits(font, caption, box);
    };
    font.setPointSizeF(FittingPoints(designed.pointSizeF(), fits));
    return font;
}

Caption::Caption(const QFont& designed, QRgb text, QWidget* parent)
    : QLabel(parent), designed_(designed), text_(text) {
    if (designed != font()) {
        setFont(designed);
    }
    // The orange is the window's own, which shows through the label.
    setPalette(LabelPalette(ColourOf(kOrange), QColor(text)));
    setVisible(false);
}

void Caption::fit(const QString& caption) {
    QFont marked = designed_;
    marked.setItalic(outOfDate_);
    const QFont fitting = FittingFont(marked, caption, size());
    if (fitting != font()) {
        setFont(fitting);
    }
}

void Caption::setCaption(const QString& caption) {
    if (caption == text()) {
        return;
    }
    fit(caption);
    setText(caption);
    setVisible(!caption.isEmpty());
}

void Caption::setMarks(bool outOfDate, bool impossible) {
    if (outOfDate == outOfDate_ && impossible == impossible_) {
        return;
    }
    outOfDate_ = outOfDate;
    impossible_ = impossible;
    const QColor ink = impossible  ? ColourOf(kWarningText)
                       : outOfDate ? ColourOf(kOutOfDateText)
                                   : QColor(text_);
    setPalette(LabelPalette(ColourOf(impossible ? kWarningBackground : kOrange), ink));
    setAutoFillBackground(impossible);
    fit(text());
}

}  // namespace trolvane
