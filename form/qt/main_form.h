// The one window of Trolvane on a Qt desktop: its controls built from the
// window's control table, showing the window's state and handing it the user's
// edits, clicks and Return presses.
#pragma once

#include <QWidget>
#include <array>

#include "form/form_state.h"
#include "form/window_logic.h"

class QLineEdit;

namespace trolvane {

class Caption;

// The user's separators, as the system locale writes numbers.
NumberFormat UserNumberFormat();

class MainForm : public QWidget {
    Q_OBJECT

  public:
    explicit MainForm(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void Command1_Click();
    void Command2_Click();
    void Box_Change(int control);

  private:
    void Form_Load();
    // Shows the state: every box's text and visibility, every caption with its
    // marks and note; then any report, and the keyboard where it goes next.
    void Show(const std::optional<FailureReport>& report = std::nullopt);
    void ReportError(const FailureReport& report);

    FormState state_;
    // The controls, in the order of the control table.
    std::array<QWidget*, kControlCount> controls_{};
    bool showing_ = false;
};

}  // namespace trolvane
