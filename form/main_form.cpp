#include "form/main_form.h"

#include <QMessageBox>
#include <QPushButton>

#include "form/advice.h"
#include "form/application.h"
#include "form/commands.h"
#include "form/paste.h"
#include "form/stand_in_font.h"

namespace trolvane {
namespace {

// A control's place in twips, 1/1440 inch: 15 twips a pixel at 96 logical dpi.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr int kTwipsPerPixel = 15;
constexpr Twips kClientArea{0, 0, 4980, 9405};
constexpr int kRowPitch = 480;

QRect Pixels(const Twips& twips) {
    return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
            twips.height / kTwipsPerPixel};
}

Twips RowPlace(Twips first, int k) {
    return {first.left, first.top + kRowPitch * (k - 1), first.width, first.height};
}

struct Look {
    double points;
    bool bold = false;
};

constexpr QRgb kOrange = qRgb(255, 128, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);

QFont FontOf(const Look& look) {
    return StandInFont(look.points, look.bold);
}

void Place(QWidget* control, const char* name, const Twips& place) {
    control->setObjectName(name);
    control->setGeometry(Pixels(place));
}

// Every control gets its font before its text, so that no text is laid out
// twice; a control in the window's own font just keeps it.
void SetFont(QWidget* control, const Look& look) {
    const QFont font = FontOf(look);
    if (font != control->font()) {
        control->setFont(font);
    }
}

// Labels are orange with text of the given colour whatever the desktop's
// colour scheme, so that they read the same in a light or a dark theme. The
// orange is the window's own, which shows through them.
QPalette LabelPalette(QRgb text) {
    QPalette palette;
    palette.setColor(QPalette::Window, kOrange);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

Caption* AddLabel(QWidget* form, const char* name, const QString& caption, const Twips& place,
                  const Look& look, QRgb text = kBlack) {
    auto* label = new Caption(FontOf(look), form);
    Place(label, name, place);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPalette(LabelPalette(text));
    if (!caption.isEmpty()) {
        label->setCaption(caption);
    }
    return label;
}

// A label whose caption is a result the user may want to copy into a report.
Caption* AddResult(QWidget* form, const char* name, const Twips& place, const Look& look,
                   QRgb text = kBlack) {
    Caption* label = AddLabel(form, name, QString(), place, look, text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* AddBox(QWidget* form, const char* name, const QString& text, const Twips& place,
                  const Look& look, const QString& spokenName) {
    auto* box = new QLineEdit(form);
    Place(box, name, place);
    SetFont(box, look);
    box->setAccessibleName(spokenName);
    box->setText(text);
    return box;
}

QPushButton* AddButton(QWidget* form, const char* name, const QString& caption, const Twips& place,
                       const Look& look) {
    auto* button = new QPushButton(form);
    Place(button, name, place);
    SetFont(button, look);
    button->setText(caption);
    return button;
}

constexpr Look kCaption{9.75};
constexpr Look kSmall{kSmallPoints};

}  // namespace

MainForm::MainForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Trolvane");
    setWindowIcon(TrolvaneIcon());
    setFixedSize(Pixels(kClientArea).size());
    QPalette background = palette();
    background.setColor(QPalette::Window, kOrange);
    setPalette(background);
    setAutoFillBackground(true);
    // The font most controls use, inherited rather than set on each.
    setFont(FontOf(kSmall));

    const QString title = QString::fromUtf8("Bartlett's X\u00b2 Test for  \"the next PC\"");
    Caption* heading = AddLabel(this, "Label5", title, {120, 240, 4095, 375}, {9.75, true});
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    AddLabel(this, "Label1", "Number of Variables", {240, 960, 2295, 255}, kCaption);
    state_.v = AddBox(this, "v", " ", {2880, 840, 615, 375}, {12}, "Number of Variables");
    AddLabel(this, "Label2", "Sample size", {240, 1440, 1695, 255}, kCaption);
    state_.n = AddBox(this, "n", " ", {2880, 1320, 615, 375}, {12}, "Sample size");
    AddLabel(this, "Label3", "Determinant of R", {240, 1920, 1815, 255}, kCaption);
    state_.det = AddBox(this, "det", " ", {2400, 1800, 1815, 375}, kSmall, "Determinant of R");
    const QString factorsQuestion = "How many factors do you want to consider?";
    AddLabel(this, "Label4", factorsQuestion, {240, 2400, 2175, 495}, kCaption);
    state_.f = AddBox(this, "f", "", {2880, 2280, 615, 375}, {12}, factorsQuestion);
    QPushButton* start = AddButton(this, "Command1", "Start", {3600, 2400, 615, 375}, kSmall);
    QPushButton* test = AddButton(this, "Command2", "Test", {3600, 2880, 615, 375}, kSmall);

    state_.oops = AddResult(this, "oops", {240, 3120, 3135, 375}, {8.25, true}, kBlue);
    state_.tlabel = AddResult(this, "tlabel", {2160, 3720, 2295, 615}, kSmall);
    state_.flabel = AddLabel(this, "flabel", QString(), {120, 3960, 615, 375}, kSmall);
    state_.elabel = AddLabel(this, "elabel", QString(), {960, 4080, 855, 255}, kSmall);

    for (int k = 1; k <= kRows; ++k) {
        const QByteArray index = QByteArray::number(k);
        state_.fnumLabels[k - 1] =
            AddLabel(this, "fnum_" + index, QString(), RowPlace({240, 4680, 375, 255}, k), kSmall);
        state_.eigenBoxes[k - 1] =
            AddBox(this, "eigen_" + index, " ", RowPlace({960, 4560, 975, 405}, k), kSmall,
                   "Eigenvalue " + QString::number(k));
        state_.testLabels[k - 1] =
            AddResult(this, "test_" + index, RowPlace({2520, 4560, 2175, 375}, k), kSmall);
    }

    // Focus runs v, n, det, f, Start, the eigenvalue boxes, Test.
    QList<QWidget*> focusOrder = {state_.v, state_.n, state_.det, state_.f, start};
    for (QLineEdit* box : state_.eigenBoxes) {
        focusOrder.append(box);
    }
    focusOrder.append(test);
    for (qsizetype i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }

    connect(start, &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(test, &QPushButton::clicked, this, &MainForm::Command2_Click);
    for (QLineEdit* box : {state_.v, state_.n, state_.det, state_.f}) {
        connect(box, &QLineEdit::textEdited, this, [this, box] { Input_Change(box); });
    }
    for (int k = 1; k <= kRows; ++k) {
        connect(state_.eigen(k), &QLineEdit::textEdited, this, [this, k] { eigen_Change(k); });
    }
    Form_Load();
}

void MainForm::Form_Load() {
    for (int i = 1; i <= kRows; ++i) {
        state_.eigen(i)->setVisible(false);
    }
}

void MainForm::Command1_Click() {
    Run(StartCommand);
}

void MainForm::Command2_Click() {
    Run(TestCommand);
}

void MainForm::eigen_Change(int index) {
    SpreadPastedColumn(state_, index);
}

void MainForm::Input_Change(QLineEdit* box) {
    KeepFirstPastedField(box);
}

void MainForm::Run(void (*command)(FormState&)) {
    state_.step = {};
    try {
        command(state_);
    } catch (const RunError& error) {
        ReportError(error);
    }
}

void MainForm::ReportError(const RunError& error) {
    const Advice advice = AdviceFor(error, state_);
    const QString message = QString("Run-time error '%1':\n\n%2")
                                .arg(error.number())
                                .arg(QString::fromUtf8(error.what()));
    QMessageBox box(QMessageBox::Critical, "Trolvane", message, QMessageBox::Ok, this);
    box.setInformativeText(advice.sentence + " Then press the button again.");
    box.exec();
    // The keyboard goes to the box to mend, its text selected to type over.
    if (advice.box != nullptr) {
        advice.box->setFocus(Qt::OtherFocusReason);
        advice.box->selectAll();
    }
}

}  // namespace trolvane
