// The one window of Trolvane on Windows: its menus and controls built from the
// window's tables, showing the window's state and handing it the user's edits,
// clicks, pastes, Return presses, menu commands and dropped files.
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "form/data_dialog.h"
#include "form/form_state.h"
#include "form/menus.h"
#include "form/rules_computation.h"
#include "form/rules_job.h"
#include "form/win32/how_many_window.h"
#include "form/win32/text.h"
#include "form/window_logic.h"

namespace trolvane {

// The user's separators, from the Windows user locale.
NumberFormat UserNumberFormat();

class MainForm {
  public:
    // Creates the window, hidden; show it with ShowWindow.
    explicit MainForm(HINSTANCE instance);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    HWND window() const { return window_; }
    HWND control(ControlId id) const;
    // Handles the menus' keys and the keyboard's moves between the boxes; true
    // when it took the message.
    bool TranslateKeys(MSG& message);
    // Opens the data dialog showing the file, as the command line asks.
    void OpenDataFile(const std::filesystem::path& file);

  private:
    template <typename Window>
    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK BoxProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void Layout();
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Box_Change(int index);
    bool Box_Paste(int index);
    bool Box_Paint(int index);
    void OpenData_Click();
    void SaveResults_Click();
    void Quit_Click();
    void PasteData_Click();
    void CopyResults_Click();
    void HowManyComponents_Click();
    void About_Click();
    void Files_Drop(HDROP files);
    template <typename Window>
    friend void RunMenuCommand(Window& window, MenuCommand command);
    // Shows the data dialog; Use These Numbers writes them into the window.
    void OpenData(DataDialog dialog);
    void Tell(const std::string& text, UINT icon);
    // Runs a computation of the rules on a thread of its own, in place of
    // any still running; none stops the one running.
    void RunRules(std::optional<RulesComputation::Request> request);
    void Rules_Done(int id);
    // Shows the state: every box's text and visibility, every caption with its
    // marks and note; then any report, and the keyboard where it goes next.
    void Show(const std::optional<FailureReport>& report = std::nullopt);
    void ShowCaption(int index, const Label& label);
    // Scrolls a box the keyboard has left back to its first digit.
    static void ShowFromStart(HWND box);
    // The box's number in the largest size that fits it, or shortened.
    void ShowNumber(int index, const std::wstring& number);
    // The note as the control's tooltip and accessible description.
    void ShowNote(int index, const std::wstring& note);
    HFONT Font(double points, bool bold, bool italic);
    HFONT FittingFont(int index, const std::wstring& caption, bool italic);
    int Pixels(int twips) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HACCEL keys_ = nullptr;
    // Where the keyboard was when the window was last left.
    HWND lastFocus_ = nullptr;
    UINT dpi_ = 96;
    FormState state_;
    // The correlations chosen in the last data dialog, which the next one starts with.
    CorrelationKind correlations_ = CorrelationKind::Pearson;
    std::array<HWND, kControlCount> controls_{};
    // What each label shows now, so that only a change is drawn again.
    std::array<std::wstring, kControlCount> captions_;
    std::array<std::wstring, kControlCount> notes_;
    // Each box's number as last fitted, and what the box shows of it while
    // the keyboard is elsewhere.
    std::array<std::wstring, kControlCount> numbers_;
    std::array<std::wstring, kControlCount> shownNumbers_;
    std::array<bool, kControlCount> outOfDate_{};
    std::array<bool, kControlCount> impossible_{};
    std::map<std::tuple<int, bool, bool>, HFONT> fonts_;
    HBRUSH orange_;
    HBRUSH warning_;
    bool showing_ = false;
    RulesComputation rules_;
    std::unique_ptr<RulesJob> rulesJob_;
    // Made when first opened.
    std::unique_ptr<HowManyWindow> howMany_;
};

}  // namespace trolvane
