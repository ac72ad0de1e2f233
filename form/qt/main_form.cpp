#include "form/qt/main_form.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "form/qt/application.h"
#include "form/qt/caption.h"
#include "form/qt/stand_in_font.h"

namespace trolvane {
namespace {

QRect Pixels(const Twips& twips) {
    constexpr int k = kTwipsPerPixelAt96Dpi;
    return {twips.left / k, twips.top / k, twips.width / k, twips.height / k};
}

QFont FontOf(const Look& look) {
    return StandInFont(look.points, look.bold);
}

// Every control gets its font before its text, so that no text is laid out
// twice; a control in the window's own font just keeps it.
void SetFont(QWidget* control, const Look& look) {
    const QFont font = FontOf(look);
    if (font != control->font()) {
        control->setFont(font);
    }
}

// Places the control before its text is set, so that a caption is fitted to
// its label's own size.
void Place(QWidget* control, const ControlEntry& entry) {
    control->setObjectName(QString::fromStdString(ControlName(entry)));
    control->setGeometry(Pixels(entry.place));
}

QWidget* AddControl(QWidget* form, const ControlEntry& entry) {
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
        case Kind::Label:
        case Kind::CentredLabel:
        case Kind::ResultLabel: {
            const Rgb colour = entry.textColour;
            auto* label =
                new Caption(FontOf(entry.look), qRgb(colour.red, colour.green, colour.blue), form);
            Place(label, entry);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(
                (entry.kind == Kind::CentredLabel ? Qt::AlignHCenter : Qt::AlignLeft) |
                Qt::AlignTop);
            if (entry.kind == Kind::ResultLabel) {
                // A result the user may want to copy into a report.
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            }
            label->setCaption(text);
            return label;
        }
        case Kind::Box: {
            auto* box = new QLineEdit(form);
            Place(box, entry);
            SetFont(box, entry.look);
            box->setAccessibleName(QString::fromUtf8(entry.spokenName));
            box->setText(text);
            return box;
        }
        case Kind::Button: {
            auto* button = new QPushButton(form);
            Place(button, entry);
            SetFont(button, entry.look);
            button->setText(text);
            return button;
        }
    }
    return nullptr;
}

}  // namespace

NumberFormat UserNumberFormat() {
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

MainForm::MainForm(QWidget* parent) : QWidget(parent), state_(UserNumberFormat()) {
    setWindowTitle("Trolvane");
    setWindowIcon(TrolvaneIcon());
    setFixedSize(Pixels(kClientArea).size());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(kOrange.red, kOrange.green, kOrange.blue));
    setPalette(background);
    setAutoFillBackground(true);
    // The font most controls use, inherited rather than set on each.
    setFont(FontOf({kSmallPoints}));

    for (int i = 0; i < kControlCount; ++i) {
        controls_[i] = AddControl(this, kControls[i]);
    }

    // The keyboard's order: v, n, det, f, Start, the eigenvalue boxes, Test.
    QWidget* previous = nullptr;
    for (const int i : ReadingOrder()) {
        if (kControls[i].kind == Kind::Box || kControls[i].kind == Kind::Button) {
            if (previous != nullptr) {
                setTabOrder(previous, controls_[i]);
            }
            previous = controls_[i];
        }
    }

    for (int i = 0; i < kControlCount; ++i) {
        if (auto* box = qobject_cast<QLineEdit*>(controls_[i])) {
            connect(box, &QLineEdit::textChanged, this, [this, i] { Box_Change(i); });
            box->installEventFilter(this);
        }
    }
    connect(static_cast<QPushButton*>(controls_[IndexOf({Control::Command1})]),
            &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(static_cast<QPushButton*>(controls_[IndexOf({Control::Command2})]),
            &QPushButton::clicked, this, &MainForm::Command2_Click);
    Form_Load();
}

void MainForm::Form_Load() {
    LoadForm(state_);
    Show();
}

void MainForm::Command1_Click() {
    Show(PressStart(state_));
}

void MainForm::Command2_Click() {
    Show(PressTest(state_));
}

void MainForm::Box_Change(int control) {
    if (showing_) {
        return;
    }
    auto* box = static_cast<QLineEdit*>(controls_[control]);
    EditBox(state_, kControls[control].id, box->text().toStdString());
    Show();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const auto at = std::find(controls_.begin(), controls_.end(), watched);
            Show(PressReturn(state_, kControls[at - controls_.begin()].id));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainForm::Show(const std::optional<FailureReport>& report) {
    showing_ = true;
    for (int i = 0; i < kControlCount; ++i) {
        const ControlId id = kControls[i].id;
        if (const TextBox* box = state_.box(id)) {
            auto* edit = static_cast<QLineEdit*>(controls_[i]);
            const QString text = QString::fromStdString(box->text);
            if (edit->text() != text) {
                edit->setText(text);
            }
            if (edit->isHidden() == box->visible) {
                edit->setVisible(box->visible);
            }
        } else if (const Label* label = state_.label(id)) {
            auto* caption = static_cast<Caption*>(controls_[i]);
            caption->setMarks(!label->outOfDate.empty(), !label->impossible.empty());
            caption->setCaption(QString::fromStdString(label->caption));
            const QString note = QString::fromStdString(label->Note());
            if (caption->toolTip() != note) {
                caption->setToolTip(note);
                caption->setAccessibleDescription(note);
            }
        }
    }
    showing_ = false;
    if (report) {
        ReportError(*report);
    }
    // The keyboard goes where the state says, its text selected to type over.
    if (state_.focus) {
        auto* box = static_cast<QLineEdit*>(controls_[IndexOf(state_.focus->box)]);
        state_.focus.reset();
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

void MainForm::ReportError(const FailureReport& report) {
    QMessageBox box(QMessageBox::Critical, "Trolvane", QString::fromStdString(report.message),
                    QMessageBox::Ok, this);
    box.setInformativeText(QString::fromStdString(report.advice));
    box.exec();
}

}  // namespace trolvane
