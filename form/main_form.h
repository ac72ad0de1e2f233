// The one window of Trolvane: four input boxes, the Start and Test buttons and
// ten rows of eigenvalue boxes and results, laid out in twips as designed.
#pragma once

#include <QWidget>

#include "form/form_state.h"

namespace trolvane {

class MainForm : public QWidget {
    Q_OBJECT

  public:
    explicit MainForm(QWidget* parent = nullptr);

  private slots:
    void Command1_Click();
    void Command2_Click();
    // A box's text changed by the user: a paste of several fields is spread
    // over the rows, or cut to one number in the four input boxes.
    void eigen_Change(int index);
    void Input_Change(QLineEdit* box);

  private:
    void Form_Load();
    // Runs a command; a failure stops it where it happened and is reported, and
    // everything it already wrote, like everything the user typed, stays.
    void Run(void (*command)(FormState&));
    void ReportError(const RunError& error);

    FormState state_;
};

}  // namespace trolvane
