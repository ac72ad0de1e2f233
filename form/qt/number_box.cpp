#include "form/qt/number_box.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionFrame>

#include "form/caption_fit.h"

namespace trolvane {
namespace {

// The pixels a line edit leaves between its contents and its text, each side.
constexpr int kTextMargin = 2;
// The pixel the caret takes after the last character while the user types.
constexpr int kCaret = 1;

}  // namespace

NumberBox::NumberBox(const QFont& designed, QWidget* parent)
    : QLineEdit(parent), designed_(designed) {
    if (designed != font()) {
        setFont(designed);
    }
}

QRect NumberBox::textRoom() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    return contents.marginsRemoved(textMargins()).adjusted(kTextMargin, 0, -kTextMargin, 0);
}

void NumberBox::setNumber(const QString& number) {
    if (number != text()) {
        setText(number);
        setCursorPosition(0);
    }
    if (number == fitted_) {
        return;
    }
    fitted_ = number;
    const double room = textRoom().width() - kCaret;
    QFont font = designed_;
    const auto width = [&](double points) {
        font.setPointSizeF(points);
        return QFontMetricsF(font).horizontalAdvance(number);
    };
    font.setPointSizeF(BoxPoints(designed_.pointSizeF(), room, width));
    if (font != this->font()) {
        setFont(font);
    }
    const QFontMetricsF metrics(font);
    const auto fits = [&](std::string_view shown) {
        return metrics.horizontalAdvance(
                   QString::fromUtf8(shown.data(), qsizetype(shown.size()))) <= room;
    };
    shown_ = QString::fromStdString(ShownNumber(number.toStdString(), fits));
    const QString whole = shown_ == number ? QString() : number;
    setToolTip(whole);
    setAccessibleDescription(whole);
    update();
}

// While the keyboard is elsewhere a number too wide for the box is drawn
// shortened on the box's own panel.
void NumberBox::paintEvent(QPaintEvent* event) {
    if (hasFocus() || shown_ == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(textRoom(), Qt::AlignLeft | Qt::AlignVCenter, shown_);
}

}  // namespace trolvane
