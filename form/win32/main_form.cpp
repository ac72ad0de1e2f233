#include "form/win32/main_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/about.h"
#include "form/caption_fit.h"
#include "form/how_many.h"
#include "form/results.h"
#include "form/win32/accessible.h"
#include "form/win32/clipboard.h"
#include "form/win32/data_dialog_window.h"
#include "form/win32/files.h"
#include "form/win32/window_procedure.h"

namespace trolvane {
namespace {

constexpr int kFirstControlId = 100;
constexpr int kFirstMenuId = 1000;
// Posted by a computation of the rules once it has ended, with its number.
constexpr UINT kRulesDone = WM_APP + 1;
constexpr wchar_t kClassName[] = L"TrolvaneMainForm";
constexpr wchar_t kStandInFamily[] = L"Tahoma";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Files dropped on the window are opened as data.
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES;
constexpr int kIconResource = 1;
// The pixels, at 96 dpi, a box leaves between its frame and its text, each side,
// and the pixel the caret takes after the last character while the user types.
constexpr int kBoxMarginTwips = 15;
constexpr int kCaretPixels = 1;
// The data dialog is drawn in the size of the window's small captions.
constexpr double kDialogPoints = 8.25;
constexpr wchar_t kDataFiles[] =
    L"Data (*.csv;*.tsv;*.txt)\0*.csv;*.tsv;*.txt\0All files (*.*)\0*.*\0";
constexpr wchar_t kResultFiles[] = L"CSV (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
constexpr wchar_t kResultFileName[] = L"trolvane-results.csv";

COLORREF ColourOf(Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

bool IsLabel(Kind kind) {
    return kind == Kind::Label || kind == Kind::CentredLabel || kind == Kind::ResultLabel;
}

std::wstring TextOf(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    return text;
}

bool CaptionFits(HDC dc, HFONT font, const std::wstring& caption, SIZE box) {
    SelectObject(dc, font);
    RECT needed{0, 0, box.cx, 0};
    DrawTextW(dc, caption.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    return needed.right <= box.cx && needed.bottom - metrics.tmDescent <= box.cy;
}

// "Open Data...\tCtrl+O": the command's text, its letter for the keyboard
// marked, then its keys.
std::wstring MenuText(const MenuEntry& entry) {
    std::string text = std::string("&") + entry.text;
    if (entry.hasKey) {
        text += std::string("\tCtrl+") + (entry.key.shift ? "Shift+" : "") + entry.key.letter;
    }
    return Wide(text);
}

// The menu bar, one menu for each run of commands in the same menu.
HMENU MenuBar() {
    HMENU bar = CreateMenu();
    HMENU menu = nullptr;
    std::string_view current;
    for (std::size_t i = 0; i < kMenuCommands.size(); ++i) {
        const MenuEntry& entry = kMenuCommands[i];
        if (entry.menu != current) {
            current = entry.menu;
            menu = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu),
                        Wide(std::string("&") + entry.menu).c_str());
        }
        AppendMenuW(menu, MF_STRING, kFirstMenuId + i, MenuText(entry).c_str());
    }
    return bar;
}

// The menu commands' keys, which work wherever the keyboard is in the window.
HACCEL MenuKeys() {
    std::vector<ACCEL> keys;
    for (std::size_t i = 0; i < kMenuCommands.size(); ++i) {
        const MenuEntry& entry = kMenuCommands[i];
        if (entry.hasKey) {
            const BYTE modifiers = FVIRTKEY | FCONTROL | (entry.key.shift ? FSHIFT : 0);
            keys.push_back({modifiers, static_cast<WORD>(entry.key.letter),
                            static_cast<WORD>(kFirstMenuId + i)});
        }
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace

NumberFormat UserNumberFormat() {
    wchar_t decimal[LOCALE_NAME_MAX_LENGTH] = L".";
    wchar_t group[LOCALE_NAME_MAX_LENGTH] = L",";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, LOCALE_NAME_MAX_LENGTH);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, group, LOCALE_NAME_MAX_LENGTH);
    return {Utf8(decimal), Utf8(group)};
}

MainForm::MainForm(HINSTANCE instance)
    : instance_(instance),
      state_(UserNumberFormat()),
      orange_(CreateSolidBrush(ColourOf(kOrange))),
      warning_(CreateSolidBrush(ColourOf(kWarningBackground))) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure<MainForm>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = orange_;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(kWindowExStyle, kClassName, L"Trolvane", kWindowStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 0, 0, nullptr, MenuBar(), instance, this);
    keys_ = MenuKeys();
    dpi_ = GetDpiForWindow(window_);
    CreateControls();
    Layout();
    Form_Load();
}

MainForm::~MainForm() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    for (const auto& [key, font] : fonts_) {
        DeleteObject(font);
    }
    DeleteObject(orange_);
    DeleteObject(warning_);
    DestroyAcceleratorTable(keys_);
}

HWND MainForm::control(ControlId id) const {
    return controls_[IndexOf(id)];
}

int MainForm::Pixels(int twips) const {
    return MulDiv(twips, static_cast<int>(dpi_), 1440);
}

HFONT MainForm::Font(double points, bool bold, bool italic) {
    const int pixels = static_cast<int>(std::lround(points * dpi_ / 72));
    HFONT& font = fonts_[{pixels, bold, italic}];
    if (font == nullptr) {
        font = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, kStandInFamily);
    }
    return font;
}

HFONT MainForm::FittingFont(int index, const std::wstring& caption, bool italic) {
    const ControlEntry& entry = kControls[index];
    const SIZE box{Pixels(entry.place.width), Pixels(entry.place.height)};
    HDC dc = GetDC(window_);
    const double points = FittingPoints(entry.look.points, [&](double size) {
        return CaptionFits(dc, Font(size, entry.look.bold, italic), caption, box);
    });
    ReleaseDC(window_, dc);
    return Font(points, entry.look.bold, italic);
}

void MainForm::CreateControls() {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, 400);
    for (const int i : ReadingOrder()) {
        const ControlEntry& entry = kControls[i];
        const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i));
        const std::wstring name = Wide(ControlName(entry));
        HWND control = nullptr;
        switch (entry.kind) {
            case Kind::Label:
            case Kind::CentredLabel:
            case Kind::ResultLabel:
                control =
                    CreateWindowExW(0, L"STATIC", L"",
                                    WS_CHILD | SS_NOPREFIX | SS_NOTIFY |
                                        (entry.kind == Kind::CentredLabel ? SS_CENTER : SS_LEFT),
                                    0, 0, 0, 0, window_, id, instance_, nullptr);
                break;
            case Kind::Box:
                control = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Wide(entry.text).c_str(),
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                                          0, 0, window_, id, instance_, nullptr);
                SetWindowSubclass(control, BoxProcedure, i, reinterpret_cast<DWORD_PTR>(this));
                Annotate(control, PROPID_ACC_NAME, Wide(entry.spokenName));
                break;
            case Kind::Button:
                control = CreateWindowExW(0, L"BUTTON", Wide(entry.text).c_str(),
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                                          0, 0, window_, id, instance_, nullptr);
                break;
        }
        controls_[i] = control;
        // A result's note, and a box's number where the box shows it shortened.
        if (entry.kind == Kind::ResultLabel || entry.kind == Kind::Box) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window_;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = const_cast<wchar_t*>(L"");
            SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// Places every control and gives it its font at the window's resolution.
void MainForm::Layout() {
    RECT frame{0, 0, Pixels(kClientArea.width), Pixels(kClientArea.height)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < kControlCount; ++i) {
        const ControlEntry& entry = kControls[i];
        MoveWindow(controls_[i], Pixels(entry.place.left), Pixels(entry.place.top),
                   Pixels(entry.place.width), Pixels(entry.place.height), TRUE);
        if (IsLabel(entry.kind)) {
            // Refitted at this resolution when next shown.
            captions_[i] = L"\uFFFF";
        } else if (entry.kind == Kind::Box) {
            numbers_[i] = L"\uFFFF";
        } else {
            SendMessageW(controls_[i], WM_SETFONT,
                         reinterpret_cast<WPARAM>(Font(entry.look.points, entry.look.bold, false)),
                         TRUE);
        }
    }
}

void MainForm::Form_Load() {
    LoadForm(state_);
    Show();
}

void MainForm::Command1_Click() {
    Show(PressStart(state_));
}

void MainForm::Command2_Click() {
    Show(PressTest(state_));
    RunRules(rules_.AfterCommand(state_, RulesComputation::Clock::now()));
}

void MainForm::Box_Change(int index) {
    if (!showing_) {
        EditBox(state_, kControls[index].id, Utf8(TextOf(controls_[index])));
        Show();
    }
}

// A paste of a matrix opens the data dialog with it. A single-line box would
// keep only a paste's first line: a paste of several fields goes to the
// window's logic whole, in place of the selection. True where the paste was
// taken here, false where the box pastes as usual.
bool MainForm::Box_Paste(int index) {
    HWND box = controls_[index];
    const std::wstring pasted = ClipboardText(window_);
    if (PasteOpensDataDialog(Utf8(pasted), state_.format)) {
        OpenData(OpenDataDialog(Utf8(pasted), state_.format, correlations_));
        return true;
    }
    if (pasted.find_first_of(L"\r\n\t") == std::wstring::npos) {
        return false;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::wstring text = TextOf(box);
    text.replace(start, end - start, pasted);
    EditBox(state_, kControls[index].id, Utf8(text));
    Show();
    return true;
}

void MainForm::OpenData(DataDialog dialog) {
    DataDialogWindow dialogWindow(std::move(dialog), state_.format,
                                  Font(kDialogPoints, false, false), dpi_);
    const bool used = dialogWindow.Run(instance_, window_);
    correlations_ = dialogWindow.dialog().correlations;
    if (used) {
        Show(UseData(state_, *dialogWindow.dialog().reading));
        RunRules(rules_.Start(state_, RulesComputation::Clock::now()));
    }
}

void MainForm::OpenDataFile(const std::filesystem::path& file) {
    OpenData(trolvane::OpenDataFile(file, state_.format, correlations_));
}

void MainForm::OpenData_Click() {
    std::wstring file(kLongestPath, L'\0');
    OPENFILENAMEW dialog = FileDialogRequest(window_, kDataFiles, file, OFN_FILEMUSTEXIST);
    if (GetOpenFileNameW(&dialog)) {
        OpenDataFile(file.c_str());
    }
}

void MainForm::SaveResults_Click() {
    const std::optional<std::string> csv = ResultsCsv(state_);
    if (!csv) {
        Tell(kNoResults, MB_ICONINFORMATION);
        return;
    }
    const std::optional<std::wstring> file =
        SaveFileName(window_, kResultFiles, kResultFileName, L"csv");
    if (!file) {
        return;
    }
    if (const std::string failure = WriteWholeFile(*file, *csv); !failure.empty()) {
        Tell("The results could not be saved in " + Utf8(*file) + ".\n\n" + failure, MB_ICONERROR);
    }
}

void MainForm::Quit_Click() {
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

void MainForm::PasteData_Click() {
    OpenData(OpenDataDialog(Utf8(ClipboardText(window_)), state_.format, correlations_));
}

void MainForm::CopyResults_Click() {
    const std::optional<CopiedResults> copied = CopyResults(state_);
    if (!copied) {
        Tell(kNoResults, MB_ICONINFORMATION);
    } else if (!PutOnClipboard(window_, copied->plainText, copied->html)) {
        Tell("The clipboard is in use by another program. Copy the results again.", MB_ICONERROR);
    }
}

void MainForm::HowManyComponents_Click() {
    if (!howMany_) {
        howMany_ = std::make_unique<HowManyWindow>(
            instance_, window_, state_, Font(kDialogPoints, false, false),
            Font(kDialogPoints, false, true), dpi_,
            HowManyWindow::Requests{
                [this] { RunRules(rules_.Start(state_, RulesComputation::Clock::now())); },
                [this] {
                    if (rules_.Close()) {
                        RunRules(std::nullopt);
                    }
                },
                [this] {
                    return rules_.Progress(RulesComputation::Clock::now(),
                                           rulesJob_ ? rulesJob_->setsDone() : 0,
                                           rulesJob_ ? rulesJob_->modelsFitted() : 0);
                }});
        howMany_->Follow(rulesJob_ != nullptr);
    }
    howMany_->Open();
    // Opened again, it runs what closing it stopped.
    if (auto request = rules_.Open(RulesComputation::Clock::now())) {
        RunRules(std::move(request));
    }
}

void MainForm::RunRules(std::optional<RulesComputation::Request> request) {
    rulesJob_.reset();
    if (request) {
        HWND window = window_;
        rulesJob_ = std::make_unique<RulesJob>(std::move(*request), [window](int id) {
            PostMessageW(window, kRulesDone, static_cast<WPARAM>(id), 0);
        });
    }
    if (howMany_) {
        howMany_->Follow(rulesJob_ != nullptr);
    }
}

// The rules, once computed, are kept with the window's state for the How Many
// Components window and the report.
void MainForm::Rules_Done(int id) {
    if (!rulesJob_ || rulesJob_->id() != id || !rules_.Finish(id, rulesJob_->result(), state_)) {
        return;
    }
    rulesJob_.reset();
    if (howMany_) {
        howMany_->Follow(false);
        howMany_->ShowRules();
    }
}

void MainForm::About_Click() {
    const std::wstring text = Wide(WindowsLineEnds(AboutText()));
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof box;
    box.hwndOwner = window_;
    box.hInstance = instance_;
    box.lpszText = text.c_str();
    box.lpszCaption = L"About Trolvane";
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(kIconResource);
    MessageBoxIndirectW(&box);
}

// Of several files dropped at once, the first is opened.
void MainForm::Files_Drop(HDROP files) {
    const UINT length = DragQueryFileW(files, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    file.resize(DragQueryFileW(files, 0, file.data(), length + 1));
    DragFinish(files);
    if (!file.empty()) {
        SetForegroundWindow(window_);
        OpenDataFile(file);
    }
}

void MainForm::Tell(const std::string& text, UINT icon) {
    MessageBoxW(window_, Wide(text).c_str(), L"Trolvane", MB_OK | icon);
}

bool MainForm::TranslateKeys(MSG& message) {
    if (TranslateAcceleratorW(window_, keys_, &message) ||
        (howMany_ && howMany_->TranslateKeys(message))) {
        return true;
    }
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) {
        return false;
    }
    const auto at = std::find(controls_.begin(), controls_.end(), message.hwnd);
    if (at == controls_.end() || kControls[at - controls_.begin()].kind != Kind::Box) {
        return false;
    }
    Show(PressReturn(state_, kControls[at - controls_.begin()].id));
    if (auto request = rules_.AfterCommand(state_, RulesComputation::Clock::now())) {
        RunRules(std::move(request));
    }
    return true;
}

void MainForm::ShowCaption(int index, const Label& label) {
    HWND control = controls_[index];
    const std::wstring caption = Wide(label.caption);
    const bool outOfDate = !label.outOfDate.empty();
    const bool impossible = !label.impossible.empty();
    if (caption != captions_[index] || outOfDate != outOfDate_[index] ||
        impossible != impossible_[index]) {
        captions_[index] = caption;
        outOfDate_[index] = outOfDate;
        impossible_[index] = impossible;
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(FittingFont(index, caption, outOfDate)), FALSE);
        SetWindowTextW(control, caption.c_str());
        ShowWindow(control, caption.empty() ? SW_HIDE : SW_SHOWNA);
        InvalidateRect(control, nullptr, TRUE);
    }
    ShowNote(index, Wide(label.Note()));
}

void MainForm::ShowNote(int index, const std::wstring& note) {
    if (note == notes_[index]) {
        return;
    }
    notes_[index] = note;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(controls_[index]);
    tool.lpszText = notes_[index].data();
    SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    Annotate(controls_[index], PROPID_ACC_DESCRIPTION, note);
}

// A box the keyboard is not in shows its number from the first digit, however
// far typing scrolled it: its caret goes back to the start, which scrolls it there.
void MainForm::ShowFromStart(HWND box) {
    if (GetFocus() != box) {
        SendMessageW(box, EM_SETSEL, 0, 0);
    }
}

void MainForm::ShowNumber(int index, const std::wstring& number) {
    if (number == numbers_[index]) {
        return;
    }
    numbers_[index] = number;
    HWND box = controls_[index];
    const Look look = kControls[index].look;
    const int margin = Pixels(kBoxMarginTwips);
    RECT client;
    GetClientRect(box, &client);
    const double room = client.right - 2 * margin - kCaretPixels;
    HDC dc = GetDC(box);
    const auto width = [&](HFONT font, const std::wstring& text) {
        SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return static_cast<double>(extent.cx);
    };
    HFONT font = Font(
        BoxPoints(look.points, room,
                  [&](double points) { return width(Font(points, look.bold, false), number); }),
        look.bold, false);
    shownNumbers_[index] = Wide(ShownNumber(
        Utf8(number), [&](std::string_view shown) { return width(font, Wide(shown)) <= room; }));
    ReleaseDC(box, dc);
    // A new font brings the box's own margins back.
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    InvalidateRect(box, nullptr, TRUE);
    ShowNote(index, shownNumbers_[index] == number ? L"" : number);
}

// While the keyboard is elsewhere a number too wide for its box is drawn
// shortened in the box; true where it was.
bool MainForm::Box_Paint(int index) {
    HWND box = controls_[index];
    const std::wstring& shown = shownNumbers_[index];
    if (GetFocus() == box || shown == numbers_[index]) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT client;
    GetClientRect(box, &client);
    // The parent gives the box's colours, as it gives them to the box itself.
    const auto background = reinterpret_cast<HBRUSH>(SendMessageW(
        window_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    FillRect(dc, &client, background);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    RECT text;
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, shown.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(box, &paint);
    return true;
}

void MainForm::Show(const std::optional<FailureReport>& report) {
    showing_ = true;
    for (int i = 0; i < kControlCount; ++i) {
        const ControlEntry& entry = kControls[i];
        HWND control = controls_[i];
        if (const TextBox* box = state_.box(entry.id)) {
            const std::wstring text = Wide(box->text);
            if (TextOf(control) != text) {
                SetWindowTextW(control, text.c_str());
            }
            ShowNumber(i, text);
            ShowFromStart(control);
            // The box's own flag: the window itself may not be shown yet.
            const bool shown = (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown != box->visible) {
                ShowWindow(control, box->visible ? SW_SHOWNA : SW_HIDE);
            }
        } else if (const Label* label = state_.label(entry.id)) {
            ShowCaption(i, *label);
        } else if (IsLabel(entry.kind)) {
            Label fixed;
            fixed.caption = entry.text;
            ShowCaption(i, fixed);
        }
    }
    showing_ = false;
    if (report) {
        MessageBoxW(window_, Wide(report->message + "\n\n" + report->advice).c_str(), L"Trolvane",
                    MB_OK | MB_ICONERROR);
    }
    // The keyboard goes where the state says, its text selected to type over.
    if (state_.focus) {
        HWND box = control(state_.focus->box);
        state_.focus.reset();
        SetFocus(box);
        // Selected from the end back, so that the box shows its leading digits.
        SendMessageW(box, EM_SETSEL, GetWindowTextLengthW(box), 0);
    }
    if (howMany_) {
        howMany_->ShowStatus();
    }
}

LRESULT CALLBACK MainForm::BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR index, DWORD_PTR form) {
    auto* window = reinterpret_cast<MainForm*>(form);
    const int control = static_cast<int>(index);
    if ((message == WM_PASTE && window->Box_Paste(control)) ||
        (message == WM_PAINT && window->Box_Paint(control))) {
        return 0;
    }
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    // The box is drawn whole while typed in, and shortened once left.
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        ShowFromStart(box);
        InvalidateRect(box, nullptr, TRUE);
    }
    return result;
}

LRESULT MainForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int command = LOWORD(wParam) - kFirstMenuId;
            if (lParam == 0 && command >= 0 && command < int(kMenuCommands.size())) {
                RunMenuCommand(*this, kMenuCommands[command].command);
                return 0;
            }
            const int index = LOWORD(wParam) - kFirstControlId;
            if (index < 0 || index >= kControlCount) {
                break;
            }
            const Control control = kControls[index].id.control;
            if (HIWORD(wParam) == BN_CLICKED && control == Control::Command1) {
                Command1_Click();
            } else if (HIWORD(wParam) == BN_CLICKED && control == Control::Command2) {
                Command2_Click();
            } else if (HIWORD(wParam) == EN_CHANGE) {
                Box_Change(index);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const auto at =
                std::find(controls_.begin(), controls_.end(), reinterpret_cast<HWND>(lParam));
            if (at == controls_.end()) {
                break;
            }
            const int index = static_cast<int>(at - controls_.begin());
            auto* dc = reinterpret_cast<HDC>(wParam);
            const Rgb ink = impossible_[index]  ? kWarningText
                            : outOfDate_[index] ? kOutOfDateText
                                                : kControls[index].textColour;
            SetTextColor(dc, ColourOf(ink));
            SetBkColor(dc, ColourOf(impossible_[index] ? kWarningBackground : kOrange));
            return reinterpret_cast<LRESULT>(impossible_[index] ? warning_ : orange_);
        }
        case kRulesDone:
            Rules_Done(static_cast<int>(wParam));
            return 0;
        case WM_DROPFILES:
            Files_Drop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_ACTIVATE:
            // The keyboard comes back to where it was when the window was left
            // for a dialog or another program, as in a dialog.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focused = GetFocus(); IsChild(window_, focused)) {
                    lastFocus_ = focused;
                }
            } else {
                const bool back = lastFocus_ != nullptr && IsWindowVisible(lastFocus_);
                SetFocus(back ? lastFocus_ : control({Control::v}));
            }
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            Layout();
            Show();
            return 0;
        }
        case WM_CLOSE:
            // Closing the window ends the program.
            PostQuitMessage(0);
            break;
        case WM_DESTROY:
            window_ = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace trolvane
