// The one window of Trolvane on a Qt desktop: its menu bar above the form, the
// form's controls built from the window's control table, showing the window's
// state and handing it the user's edits, clicks, Return presses, pastes, drops
// and menu commands.
#pragma once

#include <QKeySequence>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "form/data_dialog.h"
#include "form/form_state.h"
#include "form/menus.h"
#include "form/rules_computation.h"
#include "form/rules_job.h"
#include "form/window_logic.h"

class QLineEdit;
class QMenuBar;
class QMimeData;

namespace trolvane {

class Caption;
class HowManyWindow;

// The user's separators, as the system locale writes numbers.
NumberFormat UserNumberFormat();

// The keys of a menu command: Ctrl with its letter, and Shift where it says so.
QKeySequence KeysOf(const MenuEntry& entry);

class MainForm : public QWidget {
    Q_OBJECT

  public:
    explicit MainForm(QWidget* parent = nullptr);

    // Opens the data dialog showing the file, as `trolvane FILE` does.
    void OpenFile(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private slots:
    void Command1_Click();
    void Command2_Click();
    void Box_Change(int control);
    void Menu_Click(MenuCommand command);
    void OpenData_Click();
    void SaveResults_Click();
    void Quit_Click();
    void PasteData_Click();
    void CopyResults_Click();
    void HowManyComponents_Click();
    void About_Click();
    // A computation of the rules for how many components to keep has ended.
    void Rules_Finish(int id);
    void Rules_Progress();

  private:
    template <typename Window>
    friend void RunMenuCommand(Window& window, MenuCommand command);
    QMenuBar* AddMenuBar();
    // Makes the controls of the rows, or all others, each wired to its slot and
    // in the keyboard's order.
    void AddControls(bool rows);
    void Form_Load();
    // Shows the state: every box's text and visibility, every caption with its
    // marks and note; then any report, and the keyboard where it goes next.
    void Show(const std::optional<FailureReport>& report = std::nullopt);
    void ReportError(const FailureReport& report);
    // Runs a computation of the rules on a thread of its own, in place of
    // any still running; none stops the one running.
    void RunRules(std::optional<RulesComputation::Request> request);
    // A short message that needs no answer.
    void Tell(const char* text);
    // The data dialog over the window; Use These Numbers fills the window.
    void ShowDataDialog(DataDialog dialog);
    // A paste of this text into a box opens the data dialog instead
    // where it is a matrix; true where it did.
    bool PastedIntoDataDialog(const QString& text);
    // A dropped file, or a dropped matrix, opens the data dialog; true where
    // it does.
    bool DropOpensDataDialog(const QMimeData& dropped);
    bool BoxEvent(QLineEdit* box, QEvent* event);

    FormState state_;
    // The area below the menu bar that the controls stand in.
    QWidget* area_;
    // The controls, in the order of the control table; the rows' are made
    // when first needed.
    std::array<QWidget*, kControlCount> controls_{};
    bool showing_ = false;
    // The correlations chosen in the last data dialog, which the next one starts with.
    CorrelationKind correlations_ = CorrelationKind::Pearson;
    HowManyWindow* howMany_ = nullptr;
    RulesComputation rules_;
    std::unique_ptr<RulesJob> rulesJob_;
    QTimer rulesProgress_;
};

}  // namespace trolvane
