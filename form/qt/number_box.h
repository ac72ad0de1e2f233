// A box of the window that always shows the number it holds: drawn smaller
// where it would not fit, or shortened to its leading digits and exponent.
#pragma once

#include <QLineEdit>

namespace trolvane {

// A box in its designed font where its text fits, else in the largest smaller
// size that does, down to 6 pt. A text too wide even then is shown, while the
// keyboard is elsewhere, as its leading digits, an ellipsis and any exponent,
// with the whole number as the box's tooltip and accessible description; its
// text stays whole.
class NumberBox : public QLineEdit {
  public:
    NumberBox(const QFont& designed, QWidget* parent);

    // Holds the number, its size and what is shown of it chosen for it; a
    // new number shows its leading digits.
    void setNumber(const QString& number);

    // The room the frame leaves for the text, as the box lays it out.
    QRect textRoom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont designed_;
    // The number the font and the shown text were chosen for.
    QString fitted_;
    QString shown_;
};

}  // namespace trolvane
