#include "form/form_state.h"

#include <QLocale>

namespace trolvane {

NumberFormat UserNumberFormat() {
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

void Normalise(FormState& form, QLineEdit* box, const NumberFormat& format) {
    form.step = {Step::Doing::Normalising, box, 0};
    box->setText(QString::fromStdString(Normalised(box->text().toStdString(), format)));
}

double Number(const QLineEdit* box, const NumberFormat& format) {
    return StrictNumber(box->text().toStdString(), format);
}

double Eigenvalue(FormState& form, int k, const NumberFormat& format) {
    QLineEdit* box = form.eigen(k);
    form.step = {Step::Doing::Reading, box, k};
    return Number(box, format);
}

}  // namespace trolvane
