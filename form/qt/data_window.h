// The data dialog on a Qt desktop, "Trolvane: Data": what the text holds, the
// text itself to edit, the correlations of raw data, and Use These Numbers,
// over the toolkit-free dialog.
#pragma once

#include <QDialog>
#include <QTimer>

#include "form/data_dialog.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace trolvane {

class DataWindow : public QDialog {
    Q_OBJECT

  public:
    DataWindow(DataDialog dialog, NumberFormat userFormat, QWidget* parent);

    // What Use These Numbers writes; none while the text cannot be used.
    const DataSummary* reading() const;
    // The correlations chosen, which the next data dialog starts with.
    CorrelationKind correlations() const { return dialog_.correlations; }

  private slots:
    void Text_Change();
    void Correlations_Change(int index);
    void Use_Click();

  private:
    // Reads the edited text again, once the user pauses typing.
    void Reread();
    // Shows the summary or the refusal, with Use enabled only for a usable
    // text, and the choice of correlations for raw data only.
    void ShowSummary();

    DataDialog dialog_;
    NumberFormat userFormat_;
    QPlainTextEdit* summary_;
    QPlainTextEdit* text_;
    QLabel* correlationsLabel_;
    QComboBox* correlations_;
    QPushButton* use_;
    QTimer pause_;
};

}  // namespace trolvane
