#include "form/qt/data_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace trolvane {
namespace {

// How long typing pauses before the text is read again.
constexpr int kPauseMilliseconds = 300;

// The summary's lines, the eigenvalues' wrapped once.
constexpr int kSummaryLines = 10;

QPlainTextEdit* AddTextArea(QVBoxLayout* layout, const QString& caption) {
    auto* label = new QLabel(caption);
    auto* area = new QPlainTextEdit;
    label->setBuddy(area);
    area->setAccessibleName(caption);
    layout->addWidget(label);
    layout->addWidget(area);
    return area;
}

}  // namespace

DataWindow::DataWindow(DataDialog dialog, NumberFormat userFormat, QWidget* parent)
    : QDialog(parent), dialog_(std::move(dialog)), userFormat_(std::move(userFormat)) {
    setWindowTitle(kDataDialogTitle);
    auto* layout = new QVBoxLayout(this);

    summary_ = AddTextArea(layout, kSummaryCaption);
    summary_->setObjectName("summary");
    summary_->setReadOnly(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Room for every summary line, the longest wrapped once, without scrolling.
    summary_->setFixedHeight(summary_->fontMetrics().lineSpacing() * kSummaryLines +
                             2 * (summary_->frameWidth() + summary_->document()->documentMargin()));

    text_ = AddTextArea(layout, QString::fromStdString(TextCaption(dialog_)));
    text_->setObjectName("data");
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(QString::fromStdString(dialog_.shownText));
    text_->setReadOnly(!dialog_.editable);
    layout->setStretchFactor(text_, 2);

    // The correlations beside the buttons, after the text in the keyboard's order.
    auto* bottom = new QHBoxLayout;
    correlationsLabel_ = new QLabel(QString(kCorrelationsName) + ":");
    correlations_ = new QComboBox;
    for (const CorrelationEntry& entry : kCorrelationKinds) {
        correlations_->addItem(entry.name);
    }
    correlations_->setCurrentIndex(CorrelationIndex(dialog_.correlations));
    correlations_->setAccessibleName(kCorrelationsName);
    correlationsLabel_->setBuddy(correlations_);
    bottom->addWidget(correlationsLabel_);
    bottom->addWidget(correlations_);
    bottom->addStretch();

    auto* buttons = new QDialogButtonBox;
    use_ = buttons->addButton(kUseButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(kCancelButton, QDialogButtonBox::RejectRole);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    // Made the default once in the dialog, so that the dialog gives the
    // default back to Use whenever the keyboard leaves a button for the choice.
    use_->setDefault(true);

    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &DataWindow::Reread);
    connect(text_, &QPlainTextEdit::textChanged, this, &DataWindow::Text_Change);
    connect(correlations_, &QComboBox::currentIndexChanged, this, &DataWindow::Correlations_Change);
    connect(buttons, &QDialogButtonBox::accepted, this, &DataWindow::Use_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &DataWindow::reject);

    resize(640, 560);
    ShowSummary();
    // Return uses the numbers at once; a refused text is there to mend.
    if (dialog_.usable()) {
        use_->setFocus();
    } else {
        text_->setFocus();
    }
}

const DataSummary* DataWindow::reading() const {
    return dialog_.reading ? &*dialog_.reading : nullptr;
}

void DataWindow::Text_Change() {
    pause_.start();
}

// A choice by the mouse or by the arrow keys shows its summary at once.
void DataWindow::Correlations_Change(int index) {
    ChooseCorrelations(dialog_, CorrelationKindAt(index), userFormat_);
    ShowSummary();
}

void DataWindow::Use_Click() {
    if (pause_.isActive()) {
        pause_.stop();
        Reread();
    }
    if (dialog_.usable()) {
        accept();
    }
}

void DataWindow::Reread() {
    EditDataText(dialog_, text_->toPlainText().toStdString(), userFormat_);
    ShowSummary();
}

void DataWindow::ShowSummary() {
    summary_->setPlainText(QString::fromStdString(dialog_.summary));
    use_->setEnabled(dialog_.usable());
    correlationsLabel_->setVisible(dialog_.offersCorrelations());
    correlations_->setVisible(dialog_.offersCorrelations());
}

}  // namespace trolvane
