#include "form/form_state.h"

#include <QLocale>

namespace trolvane {

NumberFormat UserNumberFormat() {
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

void Normalise(QLineEdit* box, const NumberFormat& format) {
    box->setText(QString::fromStdString(Normalised(box->text().toStdString(), format)));
}

double Number(const QLineEdit* box, const NumberFormat& format) {
    return StrictNumber(box->text().toStdString(), format);
}

}  // namespace trolvane
