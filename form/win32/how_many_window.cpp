#include "form/win32/how_many_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/joined.h"
#include "form/how_many.h"
#include "form/win32/accessible.h"
#include "form/win32/clipboard.h"
#include "form/win32/files.h"
#include "form/win32/plot_picture.h"
#include "form/win32/text.h"
#include "form/win32/window_procedure.h"
#include "retention/scree_plot_svg.h"

namespace trolvane {
namespace {

constexpr wchar_t kClassName[] = L"TrolvaneHowMany";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
// Tab moves between the controls, as in a dialog.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kFirstSettingLabel = kFirstSettingItem + int(kSettings.size());
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressMilliseconds = 100;
constexpr wchar_t kPlotFiles[] = L"SVG image (*.svg)\0*.svg\0PNG image (*.png)\0*.png\0";

// Sizes in pixels at 96 dpi: the window's first client area, the room around
// and between the controls, and the height of each band from the top; the
// plot takes the height left over.
constexpr SIZE kClientSize{640, 760};
constexpr SIZE kSmallestClient{460, 560};
constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kSettingsHeight = 22;
constexpr int kStatusHeight = 16;
// Ten lines of 16 pixels.
constexpr int kLinesHeight = 164;
constexpr int kTableHeight = 150;
// Room beside a column's header text.
constexpr int kColumnPadding = 16;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 24;

// The width of each setting's label and box, in the order of kSettings.
struct SettingPlace {
    int labelWidth;
    int boxWidth;
};
constexpr std::array<SettingPlace, kSettings.size()> kSettingPlaces{
    {{104, 64}, {54, 40}, {28, 88}}};

// The buttons in the bottom row, from the left.
struct Button {
    int id;
    const char* text;
};
constexpr Button kButtons[] = {{kCopyPlotItem, kCopyPlotButton},
                               {kSavePlotItem, kSavePlotButton},
                               {kCopyTableItem, kCopyTableButton},
                               {IDCANCEL, kCloseButton}};

void RemoveColumns(HWND table) {
    SendMessageW(table, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageW(table, LVM_DELETECOLUMN, 0, 0)) {
    }
}

void AddColumn(HWND table, int column, const std::string& header) {
    std::wstring text = Wide(header);
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    entry.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    entry.pszText = text.data();
    entry.iSubItem = column;
    SendMessageW(table, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
}

void SetCell(HWND table, int row, int column, const std::string& cell) {
    std::wstring text = Wide(cell);
    LVITEMW entry{};
    entry.mask = LVIF_TEXT;
    entry.iItem = row;
    entry.iSubItem = column;
    entry.pszText = text.data();
    SendMessageW(table, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                 reinterpret_cast<LPARAM>(&entry));
}

}  // namespace

HowManyWindow::HowManyWindow(HINSTANCE instance, HWND owner, FormState& state, HFONT font,
                             HFONT outOfDateFont, UINT dpi, Requests requests)
    : instance_(instance),
      owner_(owner),
      state_(state),
      font_(font),
      outOfDateFont_(outOfDateFont),
      dpi_(dpi),
      requests_(std::move(requests)) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure<HowManyWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, Pixels(kClientSize.cx), Pixels(kClientSize.cy)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi_);
    CreateWindowExW(kWindowExStyle, kClassName, Wide(kHowManyTitle).c_str(), kWindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                    frame.bottom - frame.top, owner, nullptr, instance, this);
    CreateControls();
    Layout();
}

HowManyWindow::~HowManyWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

int HowManyWindow::Pixels(int pixelsAt96Dpi) const {
    return MulDiv(pixelsAt96Dpi, static_cast<int>(dpi_), 96);
}

void HowManyWindow::CreateControls() {
    const auto add = [&](int id, const wchar_t* windowClass, const std::string& text, DWORD style,
                         DWORD exStyle = 0) {
        HWND control = CreateWindowExW(
            exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    // Each box follows its label, which screen readers take as its name.
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        add(kFirstSettingLabel + int(i), L"STATIC", kSettings[i].name, SS_LEFT | SS_NOPREFIX);
        add(kFirstSettingItem + int(i), L"EDIT", kSettings[i].initial, WS_TABSTOP | ES_AUTOHSCROLL,
            WS_EX_CLIENTEDGE);
    }
    add(kStatusItem, L"STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS);
    add(kPlotItem, L"STATIC", "", SS_OWNERDRAW);
    // The lines wrap at the box's width, as long ones do where the factor
    // rules name their fits; the rest is scrolled to.
    add(kLinesItem, L"EDIT", "",
        WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE);
    HWND table =
        add(kTableItem, WC_LISTVIEWW, "",
            WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE);
    SendMessageW(table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    for (const Button& button : kButtons) {
        add(button.id, L"BUTTON", button.text, WS_TABSTOP | BS_PUSHBUTTON);
    }
}

// Places the controls in the window's client area: the settings and the status
// at the top, then the plot growing into what the lines, the table and the
// buttons below leave.
void HowManyWindow::Layout() {
    RECT client;
    GetClientRect(window_, &client);
    const int left = Pixels(kMargin);
    const int width = std::max(0, int(client.right) - 2 * left);
    int x = left;
    int y = Pixels(kMargin);
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        const SettingPlace& place = kSettingPlaces[i];
        MoveWindow(item(kFirstSettingLabel + int(i)), x, y + Pixels(4), Pixels(place.labelWidth),
                   Pixels(kStatusHeight), TRUE);
        x += Pixels(place.labelWidth + 4);
        MoveWindow(item(kFirstSettingItem + int(i)), x, y, Pixels(place.boxWidth),
                   Pixels(kSettingsHeight), TRUE);
        x += Pixels(place.boxWidth + 2 * kMargin);
    }
    y += Pixels(kSettingsHeight + kGap);
    MoveWindow(item(kStatusItem), left, y, width, Pixels(kStatusHeight), TRUE);
    y += Pixels(kStatusHeight + kGap);
    const int buttonsTop = int(client.bottom) - Pixels(kMargin + kButtonHeight);
    const int tableTop = buttonsTop - Pixels(kGap + kTableHeight);
    const int linesTop = tableTop - Pixels(kGap + kLinesHeight);
    MoveWindow(item(kPlotItem), left, y, width, std::max(0, linesTop - Pixels(kGap) - y), TRUE);
    InvalidateRect(item(kPlotItem), nullptr, FALSE);
    MoveWindow(item(kLinesItem), left, linesTop, width, Pixels(kLinesHeight), TRUE);
    MoveWindow(item(kTableItem), left, tableTop, width, Pixels(kTableHeight), TRUE);
    x = left + width - int(std::size(kButtons)) * Pixels(kButtonWidth + kGap) + Pixels(kGap);
    for (const Button& button : kButtons) {
        MoveWindow(item(button.id), x, buttonsTop, Pixels(kButtonWidth), Pixels(kButtonHeight),
                   TRUE);
        x += Pixels(kButtonWidth + kGap);
    }
}

// Beside the owner on its right, or on its left where the screen ends first,
// and wholly on the owner's screen.
void HowManyWindow::Open() {
    if (!IsWindowVisible(window_)) {
        RECT owner;
        RECT frame;
        GetWindowRect(owner_, &owner);
        GetWindowRect(window_, &frame);
        MONITORINFO screen{};
        screen.cbSize = sizeof screen;
        GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &screen);
        const RECT& area = screen.rcWork;
        // No taller than the screen, where the plot gives up the height.
        const LONG width = frame.right - frame.left;
        const LONG height = std::min(frame.bottom - frame.top, area.bottom - area.top);
        const LONG beside = owner.right + width <= area.right ? owner.right : owner.left - width;
        const LONG x = std::clamp(beside, area.left, std::max(area.left, area.right - width));
        const LONG y = std::clamp(owner.top, area.top, std::max(area.top, area.bottom - height));
        SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowRules();
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void HowManyWindow::ShowRules() {
    HWND table = item(kTableItem);
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    RemoveColumns(table);
    for (const int button : {kCopyTableItem, kCopyPlotItem, kSavePlotItem}) {
        EnableWindow(item(button), state_.rules.has_value());
    }
    if (state_.rules) {
        const RuleResults& rules = *state_.rules;
        const std::string lines = Joined(RuleLines(rules, state_.format), "\n");
        SetWindowTextW(item(kLinesItem), Wide(WindowsLineEnds(lines)).c_str());
        const std::vector<std::string> header = TableHeader(rules);
        for (std::size_t column = 0; column < header.size(); ++column) {
            AddColumn(table, int(column), header[column]);
        }
        const std::vector<std::vector<std::string>> rows = TableRows(rules, state_.format);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            for (std::size_t column = 0; column < rows[row].size(); ++column) {
                SetCell(table, int(row), int(column), rows[row][column]);
            }
        }
        // Each column as wide as its widest cell or its header, whichever is wider.
        for (std::size_t column = 0; column < header.size(); ++column) {
            SendMessageW(table, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
            const int cells = int(SendMessageW(table, LVM_GETCOLUMNWIDTH, column, 0));
            const std::wstring title = Wide(header[column]);
            const int heading = int(SendMessageW(table, LVM_GETSTRINGWIDTHW, 0,
                                                 reinterpret_cast<LPARAM>(title.c_str()))) +
                                Pixels(kColumnPadding);
            SendMessageW(table, LVM_SETCOLUMNWIDTH, column, std::max(cells, heading));
        }
    } else {
        SetWindowTextW(item(kLinesItem), L"");
    }
    SendMessageW(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
    if (const std::optional<ScreePlot> plot = Plot(ShownPlotSize())) {
        Annotate(item(kPlotItem), PROPID_ACC_NAME, Wide(plot->name));
        Annotate(item(kPlotItem), PROPID_ACC_DESCRIPTION, Wide(plot->description));
    }
    InvalidateRect(item(kPlotItem), nullptr, FALSE);
    ShowStatus();
}

// Out-of-date lines are drawn in grey italics, as the main window's rows are,
// and the table in grey.
void HowManyWindow::ShowStatus() {
    const std::string outOfDate = RulesOutOfDate(state_);
    const std::optional<RulesComputation::Shown> progress = requests_.progress();
    const std::wstring status = Wide(progress ? progress->text : RulesStatus(state_));
    std::wstring shown(GetWindowTextLengthW(item(kStatusItem)) + 1, L'\0');
    shown.resize(GetWindowTextW(item(kStatusItem), shown.data(), int(shown.size())));
    if (shown != status) {
        SetWindowTextW(item(kStatusItem), status.c_str());
    }
    if (outOfDate_ != !outOfDate.empty()) {
        outOfDate_ = !outOfDate.empty();
        SendMessageW(item(kLinesItem), WM_SETFONT,
                     reinterpret_cast<WPARAM>(outOfDate_ ? outOfDateFont_ : font_), TRUE);
        SendMessageW(item(kTableItem), LVM_SETTEXTCOLOR, 0, Ink());
        InvalidateRect(item(kLinesItem), nullptr, TRUE);
        InvalidateRect(item(kTableItem), nullptr, TRUE);
    }
}

COLORREF HowManyWindow::Ink() const {
    return outOfDate_ ? RGB(kOutOfDateText.red, kOutOfDateText.green, kOutOfDateText.blue)
                      : GetSysColor(COLOR_WINDOWTEXT);
}

void HowManyWindow::Follow(bool computing) {
    if (computing) {
        SetTimer(window_, kProgressTimer, kProgressMilliseconds, nullptr);
    } else {
        KillTimer(window_, kProgressTimer);
    }
    ShowStatus();
}

// A refused value is told, and the keyboard goes to its box, its text
// selected to type over; the settings read are used at once.
void HowManyWindow::Settings_Return() {
    std::array<std::string, kSettings.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        HWND box = item(kFirstSettingItem + int(i));
        std::wstring text(GetWindowTextLengthW(box) + 1, L'\0');
        text.resize(GetWindowTextW(box, text.data(), int(text.size())));
        texts[i] = Utf8(text);
    }
    const ReadSettingsResult read = ReadSettings(texts, state_.format, MostRandomDataSets(state_));
    if (read.refusal) {
        Tell(read.refusal->sentence);
        const auto at = std::find_if(kSettings.begin(), kSettings.end(), [&](const auto& entry) {
            return entry.setting == read.refusal->box;
        });
        HWND box = item(kFirstSettingItem + int(at - kSettings.begin()));
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return;
    }
    state_.ruleSettings = *read.settings;
    requests_.recompute();
}

PlotSize HowManyWindow::ShownPlotSize() const {
    RECT shown;
    GetClientRect(item(kPlotItem), &shown);
    return {double(shown.right), double(shown.bottom), dpi_ / 96.0};
}

// The figure keeps the proportions of the plot as shown, its fonts and lines
// scaled with it.
PlotSize HowManyWindow::FigureSizeOfShown() const {
    const PlotSize shown = ShownPlotSize();
    PlotSize figure = FigureSize(shown.width, shown.height);
    figure.scale *= shown.scale;
    return figure;
}

std::optional<ScreePlot> HowManyWindow::Plot(const PlotSize& size) const {
    if (!state_.rules || size.width <= 0 || size.height <= 0) {
        return std::nullopt;
    }
    return LaidOutScreePlot(PlotData(*state_.rules), size, state_.format);
}

// Drawn off screen first, so that a resize does not flicker.
void HowManyWindow::Plot_Paint(const DRAWITEMSTRUCT& drawing) {
    const RECT& area = drawing.rcItem;
    const std::optional<ScreePlot> plot = Plot(ShownPlotSize());
    if (!plot) {
        FillRect(drawing.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    HDC dc = CreateCompatibleDC(drawing.hDC);
    HBITMAP picture = CreateCompatibleBitmap(drawing.hDC, area.right, area.bottom);
    HGDIOBJ previous = SelectObject(dc, picture);
    PaintScreePlot(dc, *plot);
    BitBlt(drawing.hDC, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previous);
    DeleteObject(picture);
    DeleteDC(dc);
}

// As SVG and as PNG, in the formats Windows programs look for: the registered
// "image/svg+xml" and "PNG", and a device-independent bitmap.
void HowManyWindow::CopyPlot_Click() {
    const std::optional<ScreePlot> figure = Plot(FigureSizeOfShown());
    if (!figure) {
        return;
    }
    const std::string svg = ScreePlotSvg(*figure);
    const PlotPicture picture = DrawnPlot(*figure);
    if (picture.png.empty() || picture.dib.empty()) {
        Tell("The plot could not be drawn as a picture at " + std::to_string(int(figure->width)) +
             " by " + std::to_string(int(figure->height)) + " pixels.");
    } else if (!PutOnClipboard(window_, {{RegisterClipboardFormatW(L"image/svg+xml"), svg},
                                         {RegisterClipboardFormatW(L"PNG"), picture.png},
                                         {CF_DIB, picture.dib}})) {
        Tell("The clipboard is in use by another program. Copy the plot again.");
    }
}

// SVG or PNG by the name's ending.
void HowManyWindow::SavePlot_Click() {
    const std::optional<ScreePlot> figure = Plot(FigureSizeOfShown());
    if (!figure) {
        return;
    }
    const std::optional<std::wstring> file =
        SaveFileName(window_, kPlotFiles, Wide(kPlotFile), L"svg");
    if (!file) {
        return;
    }
    const bool png = file->size() >= 4 && lstrcmpiW(file->c_str() + file->size() - 4, L".png") == 0;
    const std::string bytes = png ? DrawnPlot(*figure).png : ScreePlotSvg(*figure);
    const std::string failure =
        bytes.empty() ? "The plot could not be drawn as a picture." : WriteWholeFile(*file, bytes);
    if (!failure.empty()) {
        Tell("The plot could not be saved in " + Utf8(*file) + ".\n\n" + failure);
    }
}

void HowManyWindow::CopyTable_Click() {
    if (!state_.rules) {
        return;
    }
    const CopiedResults copied = CopiedTable(*state_.rules, state_.format);
    if (!PutOnClipboard(window_, copied.plainText, copied.html)) {
        Tell("The clipboard is in use by another program. Copy the table again.");
    }
}

// Closing stops a computation; the window is kept, hidden, for the next time.
void HowManyWindow::Close_Click() {
    Follow(false);
    ShowWindow(window_, SW_HIDE);
    requests_.closed();
}

void HowManyWindow::Tell(const std::string& text) {
    MessageBoxW(window_, Wide(text).c_str(), L"Trolvane", MB_OK | MB_ICONERROR);
}

bool HowManyWindow::TranslateKeys(MSG& message) {
    if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        Close_Click();
        return true;
    }
    const int setting = GetDlgCtrlID(message.hwnd) - kFirstSettingItem;
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && setting >= 0 &&
        setting < int(kSettings.size())) {
        Settings_Return();
        return true;
    }
    return IsDialogMessageW(window_, &message);
}

LRESULT HowManyWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCopyTableItem) {
                CopyTable_Click();
            } else if (LOWORD(wParam) == kCopyPlotItem) {
                CopyPlot_Click();
            } else if (LOWORD(wParam) == kSavePlotItem) {
                SavePlot_Click();
            } else if (LOWORD(wParam) == IDCANCEL) {
                Close_Click();
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            // The lines are text to select, on the background of text.
            if (reinterpret_cast<HWND>(lParam) == item(kLinesItem)) {
                auto* dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, Ink());
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case WM_DRAWITEM:
            Plot_Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_TIMER:
            ShowStatus();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_GETMINMAXINFO: {
            RECT frame{0, 0, Pixels(kSmallestClient.cx), Pixels(kSmallestClient.cy)};
            AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi_);
            auto* sizes = reinterpret_cast<MINMAXINFO*>(lParam);
            sizes->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
            return 0;
        }
        case WM_ACTIVATE:
            // The keyboard comes back to where it was when the window was left.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focused = GetFocus(); IsChild(window_, focused)) {
                    lastFocus_ = focused;
                }
            } else {
                SetFocus(lastFocus_ != nullptr ? lastFocus_ : item(kFirstSettingItem));
            }
            return 0;
        case WM_CLOSE:
            Close_Click();
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace trolvane
