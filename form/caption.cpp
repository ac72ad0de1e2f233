#include "form/caption.h"

#include <QFontMetrics>

namespace trolvane {
namespace {

constexpr double kSmallestLegiblePoints = 6;
constexpr double kPointStep = 0.25;

}  // namespace

bool CaptionFits(const QFont& font, const QString& caption, QSize box) {
    const QFontMetrics metrics(font);
    const QRect unbounded(0, 0, box.width(), QWIDGETSIZE_MAX);
    const QRect needed = metrics.boundingRect(unbounded, Qt::TextWordWrap, caption);
    return needed.width() <= box.width() && needed.height() - metrics.descent() <= box.height();
}

QFont FittingFont(const QFont& designed, const QString& caption, QSize box) {
    QFont font = designed;
    while (!CaptionFits(font, caption, box) &&
           font.pointSizeF() - kPointStep >= kSmallestLegiblePoints) {
        font.setPointSizeF(font.pointSizeF() - kPointStep);
    }
    return font;
}

Caption::Caption(const QFont& designed, QWidget* parent) : QLabel(parent), designed_(designed) {
    if (designed != font()) {
        setFont(designed);
    }
}

void Caption::paintEvent(QPaintEvent* event) {
    if (!text().isEmpty()) {
        QLabel::paintEvent(event);
    }
}

void Caption::setCaption(const QString& caption) {
    if (caption == text()) {
        return;
    }
    const QFont fitting = FittingFont(designed_, caption, size());
    if (fitting != font()) {
        setFont(fitting);
    }
    setText(caption);
}

}  // namespace trolvane
