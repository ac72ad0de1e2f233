#include "form/paste.h"

#include <QRegularExpression>

namespace trolvane {
namespace {

// Typing cannot put a line break or a tab into a box: only a paste or a drop can.
const QRegularExpression& FieldSeparator() {
    static const QRegularExpression separator(QStringLiteral("\r\n|[\r\n\t]"));
    return separator;
}

}  // namespace

QStringList PastedFields(const QString& text) {
    QStringList fields = text.split(FieldSeparator());
    while (fields.size() > 1 && fields.last().trimmed().isEmpty()) {
        fields.removeLast();
    }
    return fields;
}

void SpreadPastedColumn(FormState& form, int k) {
    const QString text = form.eigen(k)->text();
    if (!text.contains(FieldSeparator())) {
        return;
    }
    const QStringList fields = PastedFields(text);
    for (int row = k; row <= kRows && row - k < fields.size(); ++row) {
        form.eigen(row)->setText(fields[row - k]);
        form.eigen(row)->setVisible(true);
        form.fnum(row)->setCaption(QString::number(row));
    }
}

void KeepFirstPastedField(QLineEdit* box) {
    const QString text = box->text();
    if (!text.contains(FieldSeparator())) {
        return;
    }
    QString first;
    for (const QString& field : PastedFields(text)) {
        if (!field.trimmed().isEmpty()) {
            first = field;
            break;
        }
    }
    box->setText(first);
}

}  // namespace trolvane
