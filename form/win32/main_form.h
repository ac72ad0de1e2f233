// The one window of Trolvane on Windows: its controls built from the window's
// control table, showing the window's state and handing it the user's edits,
// clicks, pastes and Return presses.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "form/form_state.h"
#include "form/window_logic.h"

namespace trolvane {

// The user's separators, from the Windows user locale.
NumberFormat UserNumberFormat();

std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& text);

class MainForm {
  public:
    // Creates the window, hidden; show it with ShowWindow.
    explicit MainForm(HINSTANCE instance);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    HWND window() const { return window_; }
    HWND control(ControlId id) const;
    // Handles the keyboard's moves between the boxes; true when it took the message.
    bool TranslateKeys(MSG& message);

  private:
    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK BoxProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void Layout();
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Box_Change(int index);
    void Box_Paste(int index);
    // Shows the state: every box's text and visibility, every caption with its
    // marks and note; then any report, and the keyboard where it goes next.
    void Show(const std::optional<FailureReport>& report = std::nullopt);
    void ShowCaption(int index, const Label& label);
    HFONT Font(double points, bool bold, bool italic);
    HFONT FittingFont(int index, const std::wstring& caption, bool italic);
    int Pixels(int twips) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    UINT dpi_ = 96;
    FormState state_;
    std::array<HWND, kControlCount> controls_{};
    // What each label shows now, so that only a change is drawn again.
    std::array<std::wstring, kControlCount> captions_;
    std::array<std::wstring, kControlCount> notes_;
    std::array<bool, kControlCount> outOfDate_{};
    std::array<bool, kControlCount> impossible_{};
    std::map<std::tuple<int, bool, bool>, HFONT> fonts_;
    HBRUSH orange_;
    HBRUSH warning_;
    bool showing_ = false;
};

}  // namespace trolvane
