#include "form/win32/data_dialog_window.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "form/win32/accessible.h"
#include "form/win32/text.h"

namespace trolvane {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// Where each control stands, in pixels at 96 dpi.
struct Place {
    int left, top, width, height;
};

struct Item {
    int id;
    const wchar_t* windowClass;
    DWORD style;
    Place place;
};

constexpr SIZE kClientSize{560, 432};
constexpr UINT_PTR kReadAgainTimer = 1;
constexpr UINT kPauseMilliseconds = 300;
constexpr Item kSummaryLabel{-1, L"STATIC", SS_LEFT | SS_NOPREFIX, {10, 10, 540, 14}};
constexpr Item kSummary{kSummaryItem,
                        L"EDIT",
                        ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                        {10, 26, 540, 134}};
constexpr Item kDataLabel{-1, L"STATIC", SS_LEFT | SS_NOPREFIX, {10, 170, 540, 14}};
constexpr Item kDataText{kDataTextItem,
                         L"EDIT",
                         ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                             WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                         {10, 186, 540, 202}};
// The correlations to the left of the buttons, the label level with the
// choice's text; the choice's height includes its list when dropped down.
constexpr Item kCorrelationsLabel{
    kCorrelationsLabelItem, L"STATIC", SS_LEFT | SS_NOPREFIX, {10, 403, 70, 14}};
constexpr Item kCorrelations{
    kCorrelationsItem, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {82, 399, 110, 80}};
constexpr Item kUse{IDOK, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, {345, 398, 120, 24}};
constexpr Item kCancel{IDCANCEL, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, {475, 398, 75, 24}};

// A dialog template with no controls, which CreateControls adds at the
// window's resolution; the size is set there too.
std::vector<WORD> EmptyTemplate(const std::wstring& title) {
    DLGTEMPLATE header{};
    header.style = kDialogStyle;
    std::vector<WORD> words(sizeof header / sizeof(WORD));
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog's own class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

}  // namespace

DataDialogWindow::DataDialogWindow(DataDialog dialog, NumberFormat userFormat, HFONT font, UINT dpi)
    : dialog_(std::move(dialog)), format_(std::move(userFormat)), font_(font), dpi_(dpi) {}

bool DataDialogWindow::Run(HINSTANCE instance, HWND owner) {
    const std::vector<WORD> dialogTemplate = EmptyTemplate(Wide(kDataDialogTitle));
    return DialogBoxIndirectParamW(instance,
                                   reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                   owner, DialogProcedure, reinterpret_cast<LPARAM>(this)) == IDOK;
}

int DataDialogWindow::Pixels(int pixelsAt96Dpi) const {
    return MulDiv(pixelsAt96Dpi, static_cast<int>(dpi_), 96);
}

void DataDialogWindow::CreateControls() {
    const std::pair<const Item&, std::wstring> items[] = {
        {kSummaryLabel, Wide(kSummaryCaption)},
        {kSummary, L""},
        {kDataLabel, Wide(TextCaption(dialog_))},
        {kDataText, Wide(WindowsLineEnds(dialog_.shownText))},
        {kCorrelationsLabel, Wide(kCorrelationsName) + L":"},
        {kCorrelations, L""},
        {kUse, Wide(kUseButton)},
        {kCancel, Wide(kCancelButton)},
    };
    showing_ = true;
    for (const auto& [item, text] : items) {
        const DWORD readOnly = item.id == kDataTextItem && !dialog_.editable ? ES_READONLY : 0;
        const DWORD edge = std::wstring_view(item.windowClass) == L"EDIT" ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExW(
            edge, item.windowClass, nullptr, WS_CHILD | WS_VISIBLE | item.style | readOnly,
            Pixels(item.place.left), Pixels(item.place.top), Pixels(item.place.width),
            Pixels(item.place.height), window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (item.id == kDataTextItem) {
            // Edit boxes take 32767 characters unless told otherwise.
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        }
        SetWindowTextW(control, text.c_str());
    }
    HWND correlations = GetDlgItem(window_, kCorrelationsItem);
    for (const CorrelationEntry& entry : kCorrelationKinds) {
        SendMessageW(correlations, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(entry.name).c_str()));
    }
    SendMessageW(correlations, CB_SETCURSEL, CorrelationIndex(dialog_.correlations), 0);
    Annotate(correlations, PROPID_ACC_NAME, Wide(kCorrelationsName));
    showing_ = false;
    ShowSummary();
}

// Sizes the dialog at the window's resolution, centred over the window.
void DataDialogWindow::Layout(HWND owner) {
    RECT frame{0, 0, Pixels(kClientSize.cx), Pixels(kClientSize.cy)};
    AdjustWindowRectExForDpi(&frame, kDialogStyle, FALSE, WS_EX_DLGMODALFRAME, dpi_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT over;
    GetWindowRect(owner, &over);
    // Wholly on the owner's screen, even where the owner stands at its edge.
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& area = screen.rcWork;
    const LONG left = std::clamp((over.left + over.right - width) / 2, area.left,
                                 std::max(area.left, area.right - width));
    const LONG top = std::clamp((over.top + over.bottom - height) / 2, area.top,
                                std::max(area.top, area.bottom - height));
    SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DataDialogWindow::ShowSummary() {
    SetDlgItemTextW(window_, kSummaryItem, Wide(WindowsLineEnds(dialog_.summary)).c_str());
    HWND use = GetDlgItem(window_, IDOK);
    if (!dialog_.usable() && GetFocus() == use) {
        SetFocus(GetDlgItem(window_, kDataTextItem));
    }
    EnableWindow(use, dialog_.usable());
    const int shown = dialog_.offersCorrelations() ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(window_, kCorrelationsLabelItem), shown);
    ShowWindow(GetDlgItem(window_, kCorrelationsItem), shown);
}

// The text is read again once typing pauses, not at every key.
void DataDialogWindow::DataText_Change() {
    if (!showing_) {
        textChanged_ = true;
        SetTimer(window_, kReadAgainTimer, kPauseMilliseconds, nullptr);
    }
}

// A choice by the mouse or by the arrow keys shows its summary at once.
void DataDialogWindow::Correlations_Change() {
    const LRESULT index = SendMessageW(GetDlgItem(window_, kCorrelationsItem), CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) {
        ChooseCorrelations(dialog_, CorrelationKindAt(static_cast<int>(index)), format_);
        ShowSummary();
    }
}

void DataDialogWindow::ReadTextAgain() {
    if (!textChanged_) {
        return;
    }
    textChanged_ = false;
    KillTimer(window_, kReadAgainTimer);
    HWND box = GetDlgItem(window_, kDataTextItem);
    std::wstring text(GetWindowTextLengthW(box) + 1, L'\0');
    text.resize(GetWindowTextW(box, text.data(), static_cast<int>(text.size())));
    EditDataText(dialog_, Utf8(text), format_);
    ShowSummary();
}

// Return presses Use even where it is disabled, or before the text just typed
// is read: a text that cannot be used keeps the dialog open.
void DataDialogWindow::Use_Click() {
    ReadTextAgain();
    if (dialog_.usable()) {
        EndDialog(window_, IDOK);
    }
}

INT_PTR CALLBACK DataDialogWindow::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DataDialogWindow*>(lParam);
        dialog->window_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<DataDialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return dialog != nullptr ? dialog->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR DataDialogWindow::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CreateControls();
            Layout(GetWindow(window_, GW_OWNER));
            // Return presses Use; where it cannot, the keyboard is in the text to mend.
            SetFocus(GetDlgItem(window_, dialog_.usable() ? IDOK : kDataTextItem));
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    Use_Click();
                    return TRUE;
                case IDCANCEL:
                    EndDialog(window_, IDCANCEL);
                    return TRUE;
                case kDataTextItem:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        DataText_Change();
                    }
                    return TRUE;
                case kCorrelationsItem:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        Correlations_Change();
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_TIMER:
            ReadTextAgain();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace trolvane
