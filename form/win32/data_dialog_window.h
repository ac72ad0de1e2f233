// The data dialog on Windows, "Trolvane: Data": a modal dialog over the window
// that shows what a text holds, lets the user edit or paste the data and choose
// the correlations of raw data, and tells the window whether to use its numbers.
#pragma once

#include <windows.h>

#include "form/data_dialog.h"

namespace trolvane {

// The dialog's controls besides Use These Numbers (IDOK) and Cancel (IDCANCEL).
enum DataDialogItem {
    kSummaryItem = 201,
    kDataTextItem = 202,
    kCorrelationsLabelItem = 203,
    kCorrelationsItem = 204
};

class DataDialogWindow {
  public:
    // Drawn in the window's font, laid out at its resolution.
    DataDialogWindow(DataDialog dialog, NumberFormat userFormat, HFONT font, UINT dpi);

    // Runs the dialog over the owner until the user closes it; true when the
    // user chose Use These Numbers for a text that can be used.
    bool Run(HINSTANCE instance, HWND owner);
    const DataDialog& dialog() const { return dialog_; }

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND, UINT, WPARAM, LPARAM);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void Layout(HWND owner);
    void Use_Click();
    void DataText_Change();
    void Correlations_Change();
    void ReadTextAgain();
    // Shows the summary, or why the text cannot be used, whether Use can be
    // pressed, and the choice of correlations for raw data only.
    void ShowSummary();
    int Pixels(int pixelsAt96Dpi) const;

    DataDialog dialog_;
    NumberFormat format_;
    HFONT font_;
    UINT dpi_;
    HWND window_ = nullptr;
    bool showing_ = false;
    // Typed since the text was last read.
    bool textChanged_ = false;
};

}  // namespace trolvane
