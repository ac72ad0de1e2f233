// Drives the real window as a user would: typing into boxes by their names,
// pressing the buttons, reading captions, and dismissing any error box.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "form/qt/main_form.h"

namespace trolvane::testing {

// What the error box said, if a press raised one.
struct ErrorReport {
    bool shown = false;
    QString title;
    QString text;
    QString advice;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

inline QLineEdit* Box(const QWidget& form, const QString& name) {
    auto* box = form.findChild<QLineEdit*>(name);
    if (box == nullptr) {
        qFatal("no box %s", qPrintable(name));
    }
    return box;
}

inline QString Text(const QWidget& form, const QString& name) {
    return Box(form, name)->text();
}

// A row's labels are made when the row is first shown; until then they show
// nothing.
inline QString Caption(const QWidget& form, const QString& name) {
    auto* label = form.findChild<QLabel*>(name);
    if (label == nullptr && !name.contains('_')) {
        qFatal("no label %s", qPrintable(name));
    }
    return label != nullptr ? label->text() : QString();
}

// Replaces the box's text by typing, as a user who selects all and types over it.
inline void Type(QWidget& form, const QString& name, const QString& text) {
    QLineEdit* box = Box(form, name);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Types the number of variables, the sample size, the determinant and the
// number of factors, in that order.
inline void TypeInputs(QWidget& form, const QStringList& inputs) {
    const QStringList boxes = {"v", "n", "det", "f"};
    for (int i = 0; i < boxes.size(); ++i) {
        Type(form, boxes[i], inputs[i]);
    }
}

// Pastes the text over the box's whole text with the keyboard.
inline void Paste(QWidget& form, const QString& name, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QLineEdit* box = Box(form, name);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Clicks the button and dismisses the error box the click may raise.
inline ErrorReport Press(QWidget& form, const QString& button) {
    ErrorReport report;
    QTimer dismisser;
    dismisser.setInterval(0);
    QObject::connect(&dismisser, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            report = {true, box->windowTitle(), box->text(), box->informativeText(), box->icon()};
            box->accept();
        }
    });
    dismisser.start();
    QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    return report;
}

inline QString Row(const char* control, int k) {
    return QString("%1_%2").arg(control).arg(k);
}

// Whether the box, typed in, shows its whole text, the caret after it, as the
// box itself scrolls its text to show the caret.
inline bool ShowsWholeText(QLineEdit* box) {
    box->setFocus();
    const auto caretAt = [box](qsizetype position) {
        box->setCursorPosition(int(position));
        box->grab();
        return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    };
    const int start = caretAt(0);
    const int end = caretAt(box->text().size());
    return qAbs(end - start - QFontMetricsF(box->font()).horizontalAdvance(box->text())) <= 1;
}

// Numbers longer than the boxes were drawn for, written with the locale's
// decimal separator: the boxes at the top show them whole, never below 6 pt, as
// they are typed and after Test; an eigenvalue box shows its whole number or
// has it as its tooltip and description.
inline void TypeLongNumbers(QWidget& form, QChar decimal) {
    const auto topBoxesShowWhole = [&] {
        for (const char* name : {"v", "n", "det", "f"}) {
            QVERIFY2(ShowsWholeText(Box(form, name)), name);
            QVERIFY(Box(form, name)->font().pointSizeF() >= 6);
        }
    };
    TypeInputs(form, {"25", "2436", QString("0.000564063865899769").replace('.', decimal), "3"});
    for (const char* n : {"100000", "1000000"}) {
        Type(form, "n", n);
        topBoxesShowWhole();
    }
    Press(form, "Command1");
    const QStringList eigenvalues =
        QString("5.13431117720728 2.123456789012345 1.23456789012345E-01")
            .replace('.', decimal)
            .split(' ');
    for (int k = 1; k <= 3; ++k) {
        Type(form, Row("eigen", k), eigenvalues[k - 1]);
    }
    QVERIFY(!Press(form, "Command2").shown);
    topBoxesShowWhole();
    for (int k = 1; k <= 3; ++k) {
        QLineEdit* box = Box(form, Row("eigen", k));
        QVERIFY2(ShowsWholeText(box) || (box->toolTip() == eigenvalues[k - 1] &&
                                         box->accessibleDescription() == eigenvalues[k - 1]),
                 qPrintable(box->text()));
    }
}

}  // namespace trolvane::testing
