#include "form/qt/how_many_window.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/joined.h"
#include "form/qt/scree_plot_view.h"
#include "retention/scree_plot_svg.h"

namespace trolvane {
namespace {

QByteArray PngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace

HowManyWindow::HowManyWindow(const NumberFormat& format, QWidget* parent)
    : QDialog(parent), format_(format) {
    setWindowTitle(kHowManyTitle);
    setModal(false);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    plot_ = new ScreePlotView(format, this);
    plot_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(plot_, 3);

    auto* boxes = new QFormLayout;
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        auto* box = new QLineEdit(QString::fromUtf8(kSettings[i].initial), this);
        box->setAccessibleName(kSettings[i].name);
        box->setMaximumWidth(100);
        connect(box, &QLineEdit::returnPressed, this, &HowManyWindow::Setting_Return);
        boxes->addRow(QString(kSettings[i].name) + ":", box);
        settings_[i] = box;
    }
    layout->addLayout(boxes);

    status_ = new QLabel(this);
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->hide();
    layout->addWidget(status_);
    layout->addWidget(progress_);

    // Ten lines to select and copy, and for a screen reader to read, wrapped at
    // the window's width, with room for the longest two to take two lines each.
    lines_ = new QPlainTextEdit(this);
    lines_->setReadOnly(true);
    lines_->setFrameShape(QFrame::NoFrame);
    lines_->setBackgroundRole(QPalette::Window);
    lines_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lines_->setAccessibleName("Rules");
    lines_->setFixedHeight(lines_->fontMetrics().lineSpacing() * 14);
    layout->addWidget(lines_);

    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setAccessibleName("Eigenvalues against random data");
    layout->addWidget(table_, 2);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* text, void (HowManyWindow::*slot)()) {
        auto* pushed = new QPushButton(text, this);
        pushed->setAutoDefault(false);
        connect(pushed, &QPushButton::clicked, this, slot);
        buttons->addWidget(pushed);
    };
    button(kCopyPlotButton, &HowManyWindow::CopyPlot_Click);
    button(kSavePlotButton, &HowManyWindow::SavePlot_Click);
    button(kCopyTableButton, &HowManyWindow::CopyTable_Click);
    buttons->addStretch();
    button(kCloseButton, &HowManyWindow::reject);
    layout->addLayout(buttons);

    resize(620, 720);
}

void HowManyWindow::Show(const FormState& form) {
    const std::string status = RulesStatus(form);
    status_->setText(QString::fromStdString(status));
    status_->setVisible(!status.empty());
    shown_ = form.rules;
    mostSets_ = MostRandomDataSets(form);
    // Rules that no longer follow from the boxes are drawn in grey italics.
    QFont font = lines_->font();
    font.setItalic(!status.empty());
    lines_->setFont(font);
    QPalette ink = palette();
    if (!status.empty()) {
        ink.setColor(QPalette::Text, ink.color(QPalette::Disabled, QPalette::Text));
    }
    lines_->setPalette(ink);
    if (!shown_) {
        lines_->clear();
        table_->clear();
        table_->setRowCount(0);
        table_->setColumnCount(0);
        plot_->setData(std::nullopt);
        return;
    }
    lines_->setPlainText(QString::fromStdString(Joined(RuleLines(*shown_, format_), "\n")));
    const std::vector<std::string> header = TableHeader(*shown_);
    const std::vector<std::vector<std::string>> rows = TableRows(*shown_, format_);
    table_->clear();
    table_->setColumnCount(static_cast<int>(header.size()));
    table_->setRowCount(static_cast<int>(rows.size()));
    QStringList titles;
    for (const std::string& title : header) {
        titles << QString::fromStdString(title);
    }
    table_->setHorizontalHeaderLabels(titles);
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < table_->columnCount(); ++column) {
            auto* cell = new QTableWidgetItem(QString::fromStdString(rows[row][column]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, cell);
        }
    }
    table_->resizeColumnsToContents();
    plot_->setData(PlotData(*shown_));
}

void HowManyWindow::ShowProgress(const std::optional<RulesComputation::Shown>& progress) {
    progress_->setVisible(progress.has_value());
    if (progress) {
        progress_->setRange(0, progress->count);
        progress_->setValue(progress->done);
        progress_->setFormat(QString::fromStdString(progress->text));
    }
}

void HowManyWindow::Setting_Return() {
    std::array<std::string, kSettings.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = settings_[i]->text().toStdString();
    }
    const ReadSettingsResult read = ReadSettings(texts, format_, mostSets_);
    if (read.refusal) {
        QMessageBox::critical(this, "Trolvane", QString::fromStdString(read.refusal->sentence));
        QLineEdit* box = settings_[static_cast<std::size_t>(read.refusal->box)];
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return;
    }
    emit settingsChosen(*read.settings);
}

void HowManyWindow::CopyTable_Click() {
    if (!shown_) {
        return;
    }
    const CopiedResults copied = CopiedTable(*shown_, format_);
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(copied.plainText));
    data->setHtml(QString::fromStdString(copied.html));
    QGuiApplication::clipboard()->setMimeData(data);
}

void HowManyWindow::CopyPlot_Click() {
    const ScreePlot figure = plot_->laidOut(FigureSize(plot_->width(), plot_->height()));
    auto* data = new QMimeData;
    data->setData("image/svg+xml", QByteArray::fromStdString(ScreePlotSvg(figure)));
    data->setData("image/png", PngOf(ScreePlotImage(figure)));
    QGuiApplication::clipboard()->setMimeData(data);
}

void HowManyWindow::SavePlot_Click() {
    QFileDialog dialog(this, "Save Plot", QDir::current().filePath(kPlotFile),
                       "SVG image (*.svg);;PNG image (*.png)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("svg");
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains("png") ? "png" : "svg");
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    const ScreePlot figure = plot_->laidOut(FigureSize(plot_->width(), plot_->height()));
    const QByteArray bytes = path.endsWith(".png", Qt::CaseInsensitive)
                                 ? PngOf(ScreePlotImage(figure))
                                 : QByteArray::fromStdString(ScreePlotSvg(figure));
    // Written whole or not at all.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    if (!file.commit()) {
        QMessageBox::critical(this, "Trolvane",
                              QString("The plot could not be saved to %1: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

}  // namespace trolvane
