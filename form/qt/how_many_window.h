// The How Many Components window on a Qt desktop: the scree plot, the random
// data's settings, the rules' lines and table, beside the main window. Escape
// and Close finish it, as a dialog is finished.
#pragma once

#include <QDialog>
#include <array>

#include "form/how_many.h"
#include "form/rules_computation.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTableWidget;

namespace trolvane {

class ScreePlotView;

class HowManyWindow : public QDialog {
    Q_OBJECT

  public:
    HowManyWindow(const NumberFormat& format, QWidget* parent);

    // Shows the rules the state holds, marked where they are out of date.
    void Show(const FormState& form);
    // Shows how far a long computation is; hidden for none.
    void ShowProgress(const std::optional<RulesComputation::Shown>& progress);

  signals:
    // New settings the user confirmed with Return, for the rules to be
    // computed again.
    void settingsChosen(RandomDataSettings settings);

  private slots:
    void Setting_Return();
    void CopyTable_Click();
    void CopyPlot_Click();
    void SavePlot_Click();

  private:
    NumberFormat format_;
    // The most random data sets for the variables the main window holds.
    int mostSets_ = MostRandomDataSets(0);
    std::array<QLineEdit*, kSettings.size()> settings_{};
    QLabel* status_;
    QProgressBar* progress_;
    ScreePlotView* plot_;
    QPlainTextEdit* lines_;
    QTableWidget* table_;
    // The rules shown, for Copy Table.
    std::optional<RuleResults> shown_;
};

}  // namespace trolvane
