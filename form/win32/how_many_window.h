// The How Many Components window on Windows: beside the main window, it shows
// what each rule keeps, the table behind them, and the random data's settings.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "form/form_state.h"
#include "form/rules_computation.h"
#include "retention/scree_plot.h"

namespace trolvane {

// The window's controls besides Close, which is IDCANCEL, as Escape is.
enum HowManyItem {
    kFirstSettingItem = 301,
    kStatusItem = 310,
    kLinesItem = 311,
    kTableItem = 312,
    kCopyTableItem = 313,
    kPlotItem = 314,
    kCopyPlotItem = 315,
    kSavePlotItem = 316,
};

class HowManyWindow {
  public:
    // What the window asks of the main window, which runs the rules: to
    // compute them again with the settings just read, to stop computing once
    // the window is closed, and how far a computation is.
    struct Requests {
        std::function<void()> recompute;
        std::function<void()> closed;
        std::function<std::optional<RulesComputation::Shown>()> progress;
    };

    // Created hidden, owned by the main window, drawn in its fonts at its
    // resolution; it shows the rules the state holds.
    HowManyWindow(HINSTANCE instance, HWND owner, FormState& state, HFONT font, HFONT outOfDateFont,
                  UINT dpi, Requests requests);
    ~HowManyWindow();
    HowManyWindow(const HowManyWindow&) = delete;
    HowManyWindow& operator=(const HowManyWindow&) = delete;

    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    // Shows the window beside its owner, or brings it to the front.
    void Open();
    // Return in a box, Escape, and the keyboard's moves between the
    // controls; true when it took the message.
    bool TranslateKeys(MSG& message);

    // The rules the state holds, as lines and a table.
    void ShowRules();
    // Whether the rules still follow from the main window's boxes, or how far
    // a computation that is taking a while has come.
    void ShowStatus();
    // Whether a computation runs now, whose progress is shown until it ends.
    void Follow(bool computing);

  private:
    template <typename Window>
    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void Layout();
    void Settings_Return();
    // The plot at the size of its place in the window, or at another; none
    // before there are rules.
    PlotSize ShownPlotSize() const;
    // Twice the shown plot's size and at least 1200 pixels wide, for a copy.
    PlotSize FigureSizeOfShown() const;
    std::optional<ScreePlot> Plot(const PlotSize& size) const;
    void Plot_Paint(const DRAWITEMSTRUCT& drawing);
    void CopyPlot_Click();
    void SavePlot_Click();
    void CopyTable_Click();
    void Close_Click();
    void Tell(const std::string& text);
    // The text's colour: grey while the rules are out of date.
    COLORREF Ink() const;
    int Pixels(int pixelsAt96Dpi) const;

    HINSTANCE instance_;
    HWND owner_;
    FormState& state_;
    HFONT font_;
    HFONT outOfDateFont_;
    UINT dpi_;
    Requests requests_;
    HWND window_ = nullptr;
    // Where the keyboard was when the window was last left.
    HWND lastFocus_ = nullptr;
    bool outOfDate_ = false;
};

}  // namespace trolvane
