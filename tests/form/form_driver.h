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

}  // namespace trolvane::testing
