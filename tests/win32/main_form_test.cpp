// The Windows window driven through its controls and menus, as Windows
// delivers a user's edits, clicks and commands: its layout at 96 dpi, the
// keyboard's order, a session, a failure, a paste, the data dialog and the
// results on the clipboard. The window's logic has its own tests; these cover
// the view.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "engine/joined.h"
#include "form/how_many.h"
#include "form/results.h"
#include "form/win32/clipboard.h"
#include "form/win32/data_dialog_window.h"
#include "form/win32/files.h"
#include "form/win32/how_many_window.h"
#include "form/win32/main_form.h"
#include "retention/scree_plot.h"
#include "tests/data/questionnaire.h"

namespace trolvane {
namespace {

class Win32Window : public ::testing::Test {
  protected:
    // COM is started as the program starts it, for screen readers and pictures.
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ShowWindow(form.window(), SW_SHOWNORMAL);
    }
    void TearDown() override { CoUninitialize(); }

    HWND Control(Control control, int row = 0) { return form.control({control, row}); }

    std::wstring Text(HWND control) {
        std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
        text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
        return text;
    }

    void Type(::trolvane::Control control, const std::wstring& text, int row = 0) {
        SetWindowTextW(Control(control, row), text.c_str());
    }

    // Runs the action; the first window of this thread titled so that it opens
    // is handed to act, which closes it. True where one opened.
    bool WhenOpened(const wchar_t* title, std::function<void(HWND)> act,
                    const std::function<void()>& action) {
        awaited_ = title;
        act_ = std::move(act);
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Act);
        action();
        KillTimer(nullptr, timer);
        return !std::exchange(act_, nullptr);
    }

    // Runs the action; a message box it raises is read and closed.
    std::wstring Reported(const std::function<void()>& action) {
        std::wstring report;
        WhenOpened(
            L"Trolvane",
            [&](HWND box) {
                report = Text(GetDlgItem(box, 0xFFFF));
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            },
            action);
        return report;
    }

    std::wstring Click(::trolvane::Control button) {
        return Reported([&] { SendMessageW(Control(button), BM_CLICK, 0, 0); });
    }

    // Chooses the menu command shown with this text, as a click on it does.
    void Choose(const std::wstring& command) {
        HMENU bar = GetMenu(form.window());
        for (int m = 0; m < GetMenuItemCount(bar); ++m) {
            HMENU menu = GetSubMenu(bar, m);
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                wchar_t text[128] = L"";
                GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
                std::wstring shown = text;
                std::erase(shown, L'&');
                if (shown.substr(0, shown.find(L'\t')) == command) {
                    SendMessageW(form.window(), WM_COMMAND, GetMenuItemID(menu, i), 0);
                    return;
                }
            }
        }
        ADD_FAILURE() << "no menu command " << command;
    }

    // Drops the file on the window, as Explorer does.
    void Drop(const std::filesystem::path& file) {
        const std::wstring name = file.wstring();
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
        auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::memcpy(files + 1, name.c_str(), name.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(form.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    // Opens the file as the command line does, or drops it on the window; the
    // data dialog it shows is read, and Use These Numbers pressed (Return) or Cancel.
    struct DataDialogSeen {
        std::wstring summary;
        bool useEnabled = false;
        bool closedByUse = false;
        bool offersCorrelations = false;
    };
    DataDialogSeen OpenFile(const std::string& bytes, bool use, bool dropped = false) {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / "trolvane-win32-test.csv";
        std::ofstream(file, std::ios::binary) << bytes;
        DataDialogSeen seen;
        const bool opened = WhenOpened(
            L"Trolvane: Data",
            [&](HWND dialog) {
                seen.summary = Text(GetDlgItem(dialog, kSummaryItem));
                seen.useEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
                seen.offersCorrelations = IsWindowVisible(GetDlgItem(dialog, kCorrelationsItem));
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                // Windows hides a dialog once it has ended.
                seen.closedByUse = !IsWindowVisible(dialog);
                if (!use && !seen.closedByUse) {
                    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                }
            },
            [&] { dropped ? Drop(file) : form.OpenDataFile(file); });
        std::filesystem::remove(file);
        EXPECT_TRUE(opened) << "no data dialog";
        return seen;
    }

    void TypeWorkedExample(const std::wstring& determinant, const std::wstring& fourth) {
        Type(Control::v, L"4");
        Type(Control::n, L"50");
        Type(Control::det, determinant);
        Type(Control::f, L"4");
        Click(Control::Command1);
        const std::wstring eigenvalues[] = {L"2", L"1", L"0.6", fourth};
        for (int k = 1; k <= 4; ++k) {
            Type(Control::eigen, eigenvalues[k - 1], k);
        }
    }

    // Whether the box's text, in its own font of 6 pt or more, is within its
    // formatting rectangle; else whether the box's tooltip gives it whole.
    bool ShowsItsNumber(HWND box, bool wholeOnly) {
        const std::wstring text = Text(box);
        HDC dc = GetDC(box);
        auto* font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
        SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ReleaseDC(box, dc);
        RECT room;
        SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        LOGFONTW look;
        GetObjectW(font, sizeof look, &look);
        // The window's tooltip control, which the window owns.
        HWND tips = nullptr;
        do {
            tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr);
        } while (tips != nullptr && GetWindow(tips, GW_OWNER) != form.window());
        wchar_t tip[64] = L"";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form.window();
        tool.uId = reinterpret_cast<UINT_PTR>(box);
        tool.lpszText = tip;
        SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
        return (extent.cx <= room.right - room.left && -look.lfHeight >= 8) ||
               (!wholeOnly && text == tip);
    }

    // Presses Ctrl with the letter, and Shift where asked, as the message loop hands it over.
    bool PressKeys(bool shift, char letter) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG press{};
        press.hwnd = form.window();
        press.message = WM_KEYDOWN;
        press.wParam = static_cast<WPARAM>(letter);
        const bool taken = form.TranslateKeys(press);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return taken;
    }

    // Handles the thread's messages until the condition holds, or ten seconds
    // have passed.
    bool Until(const std::function<bool()>& condition) {
        const ULONGLONG end = GetTickCount64() + 10000;
        while (!condition() && GetTickCount64() < end) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!form.TranslateKeys(message)) {
                    DispatchMessageW(&message);
                }
            }
            Sleep(10);
        }
        return condition();
    }

    MainForm form{GetModuleHandleW(nullptr)};

  private:
    static void CALLBACK Act(HWND, UINT, UINT_PTR, DWORD) {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) {
                wchar_t title[64] = L"";
                GetWindowTextW(window, title, 64);
                if (awaited_ == title && IsWindowVisible(window)) {
                    *reinterpret_cast<HWND*>(found) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found != nullptr && act_) {
            std::exchange(act_, nullptr)(found);
        }
    }
    static inline std::wstring awaited_;
    static inline std::function<void(HWND)> act_;
};

TEST_F(Win32Window, StandsAtItsPlacesAt96Dpi) {
    ASSERT_EQ(GetDpiForWindow(form.window()), 96u);
    RECT client;
    GetClientRect(form.window(), &client);
    EXPECT_EQ(client.right, 332);
    EXPECT_EQ(client.bottom, 627);
    for (const ControlEntry& entry : kControls) {
        RECT place;
        GetWindowRect(form.control(entry.id), &place);
        MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, entry.place.left / 15) << ControlName(entry);
        EXPECT_EQ(place.top, entry.place.top / 15) << ControlName(entry);
        EXPECT_EQ(place.right - place.left, entry.place.width / 15) << ControlName(entry);
    }
    LOGFONTW font;
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(Control::v), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -16);
}

TEST_F(Win32Window, TheKeyboardRunsThroughTheShownBoxes) {
    EXPECT_FALSE(IsWindowVisible(Control(Control::eigen, 1)));
    Type(Control::v, L"4");
    Type(Control::f, L"2");
    Click(Control::Command1);
    EXPECT_EQ(GetFocus(), Control(Control::eigen, 1));
    std::vector<HWND> order;
    HWND control = Control(Control::v);
    do {
        order.push_back(control);
        control = GetNextDlgTabItem(form.window(), control, FALSE);
    } while (control != Control(Control::v) && order.size() < 20);
    const std::vector<HWND> expected = {Control(Control::v),        Control(Control::n),
                                        Control(Control::det),      Control(Control::f),
                                        Control(Control::Command1), Control(Control::eigen, 1),
                                        Control(Control::eigen, 2), Control(Control::Command2)};
    EXPECT_EQ(order, expected);
}

TEST_F(Win32Window, ShowsTheWorkedExample) {
    TypeWorkedExample(L"0.48", L"0.4");
    EXPECT_EQ(Click(Control::Command2), L"");
    EXPECT_EQ(Text(Control(Control::test, 1)), L" X\u00b2(5)= 9.728 p > .05");
    EXPECT_EQ(Text(Control(Control::test, 3)), L" X\u00b2 has df = 0");
    EXPECT_TRUE(IsWindowVisible(Control(Control::test, 1)));
    EXPECT_FALSE(IsWindowVisible(Control(Control::test, 4)));
    Type(Control::n, L"60");
    EXPECT_EQ(Text(Control(Control::test, 1)), L" X\u00b2(5)= 9.728 p > .05");
}

TEST_F(Win32Window, AFailureNamesItsBoxAndLeavesTheKeyboardThere) {
    TypeWorkedExample(L"0.48", L"");
    const std::wstring report = Click(Control::Command2);
    EXPECT_NE(report.find(L"Type mismatch"), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"Eigenvalue 4 holds no number. Then press Test again."),
              std::wstring::npos)
        << report;
    EXPECT_EQ(GetFocus(), Control(Control::eigen, 4));
    EXPECT_EQ(Text(Control(Control::eigen, 3)), L"0.6");
    EXPECT_EQ(Text(Control(Control::det)), L"0.48");
}

TEST_F(Win32Window, APastedColumnFillsTheRows) {
    const std::wstring column = L"Eigenvalue\r\n2\r\n1\r\n0.6\r\n";
    ASSERT_TRUE(OpenClipboard(form.window()));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (column.size() + 1) * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(data)), column.c_str());
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    Type(Control::f, L"1");
    Click(Control::Command1);
    SendMessageW(Control(Control::eigen, 1), WM_PASTE, 0, 0);
    EXPECT_EQ(Text(Control(Control::eigen, 1)), L"2");
    EXPECT_EQ(Text(Control(Control::eigen, 3)), L"0.6");
    EXPECT_TRUE(IsWindowVisible(Control(Control::eigen, 3)));
    EXPECT_EQ(Text(Control(Control::fnum, 3)), L"3");
}

// Run with a German user locale: Windows' separators reach the captions.
TEST_F(Win32Window, WritesTheUsersDecimalComma) {
    if (UserNumberFormat().decimal != ",") {
        GTEST_SKIP() << "the user locale writes no decimal comma";
    }
    TypeWorkedExample(L"0,48", L"0,4");
    Type(Control::eigen, L"0,6", 3);
    EXPECT_EQ(Click(Control::Command2), L"");
    EXPECT_EQ(Text(Control(Control::test, 1)), L" X\u00b2(5)= 9,728 p > .05");
}

// Numbers longer than the boxes were drawn for: the boxes at the top show them
// whole as they are typed and after Start and Test; an eigenvalue box shows its
// whole number or has it as its tooltip.
TEST_F(Win32Window, BoxesShowTheNumbersTheyHold) {
    const auto topBoxesShowWhole = [&] {
        for (const ::trolvane::Control box : {Control::v, Control::n, Control::det, Control::f}) {
            EXPECT_TRUE(ShowsItsNumber(Control(box), true)) << Utf8(Text(Control(box)));
        }
    };
    Type(Control::v, L"25");
    Type(Control::det, L"0.000564063865899769");
    Type(Control::f, L"3");
    for (const wchar_t* n : {L"2436", L"100000", L"1000000"}) {
        Type(Control::n, n);
        topBoxesShowWhole();
    }
    Click(Control::Command1);
    Type(Control::eigen, L"5.13431117720728", 1);
    Type(Control::eigen, L"2.123456789012345", 2);
    Type(Control::eigen, L"1.23456789012345E-01", 3);
    EXPECT_EQ(Click(Control::Command2), L"");
    topBoxesShowWhole();
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(ShowsItsNumber(Control(Control::eigen, k), false)) << k;
    }
    // Typed key by key, a box scrolls as it fills; Test leaves each showing its
    // first digit.
    const std::pair<::trolvane::Control, const wchar_t*> typed[] = {
        {Control::n, L"100000"}, {Control::det, L"0.000564063865899769"}};
    for (const auto& [box, number] : typed) {
        SetFocus(Control(box));
        SendMessageW(Control(box), EM_SETSEL, 0, -1);
        for (const wchar_t* key = number; *key != L'\0'; ++key) {
            SendMessageW(Control(box), WM_CHAR, *key, 1);
        }
    }
    EXPECT_EQ(Click(Control::Command2), L"");
    for (const auto& [box, number] : typed) {
        EXPECT_EQ(Text(Control(box)), number);
        EXPECT_EQ(SendMessageW(Control(box), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << Utf8(number);
    }
    topBoxesShowWhole();
}

TEST_F(Win32Window, UsingAMatrixFromAFileFillsTheWindow) {
    Type(Control::n, L"50");
    const DataDialogSeen seen =
        OpenFile("1,.5,.4,.3\n.5,1,.35,.25\n.4,.35,1,.2\n.3,.25,.2,1\n", true);
    EXPECT_NE(seen.summary.find(L"Correlation matrix of 4 variables\r\n"), std::wstring::npos)
        << seen.summary;
    EXPECT_TRUE(seen.useEnabled);
    EXPECT_TRUE(seen.closedByUse);
    EXPECT_FALSE(seen.offersCorrelations);
    EXPECT_EQ(Text(Control(Control::v)), L"4");
    EXPECT_EQ(Text(Control(Control::f)), L"3");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(IsWindowVisible(Control(Control::eigen, k))) << k;
        EXPECT_NE(Text(Control(Control::test, k)).find(L" X\u00b2"), std::wstring::npos) << k;
    }
}

TEST_F(Win32Window, AConsoleCorrelationTableGivesItsSampleSizeAndTestRuns) {
    const DataDialogSeen seen = OpenFile(
        "(obs=47)\n\n             | Fertil~y Agricu~e Examin~n\n-------------+------------------\n"
        "   Fertility |   1.0000\n Agriculture |   0.3531   1.0000\n"
        " Examination |  -0.6459  -0.6865   1.0000\n",
        true);
    EXPECT_NE(seen.summary.find(L"Correlation matrix of 3 variables, 47 cases\r\n"),
              std::wstring::npos)
        << seen.summary;
    EXPECT_TRUE(seen.closedByUse);
    EXPECT_EQ(Text(Control(Control::n)), L"47");
    EXPECT_NE(Text(Control(Control::test, 1)).find(L" X\u00b2"), std::wstring::npos);
}

TEST_F(Win32Window, ARefusedDroppedFileKeepsTheDialogOpenAndTheWindowAsItWas) {
    Type(Control::v, L"7");
    const std::wstring determinant = Text(Control(Control::det));
    SetFocus(Control(Control::det));
    const DataDialogSeen seen = OpenFile("no numbers here\n", false, true);
    EXPECT_FALSE(seen.summary.empty());
    EXPECT_FALSE(seen.useEnabled);
    // Return with Use disabled leaves the dialog open.
    EXPECT_FALSE(seen.closedByUse);
    EXPECT_EQ(Text(Control(Control::v)), L"7");
    EXPECT_EQ(Text(Control(Control::det)), determinant);
    // Cancel gives the keyboard back to the box it was in.
    EXPECT_EQ(GetFocus(), Control(Control::det));
}

TEST_F(Win32Window, CopiesTheResultsAsTextAndAsAnHtmlTable) {
    PutOnClipboard(form.window(), "before", "");
    EXPECT_EQ(Reported([&] { Choose(L"Copy Results"); }), Wide(kNoResults));
    EXPECT_EQ(ClipboardText(form.window()), L"before");

    TypeWorkedExample(L"0.48", L"0.4");
    Click(Control::Command2);
    Choose(L"Copy Results");

    // The same results from the window's logic, without the window.
    FormState replayed(UserNumberFormat());
    LoadForm(replayed);
    const std::pair<ControlId, std::string> typed[] = {
        {{Control::v}, "4"},          {{Control::n}, "50"},         {{Control::det}, "0.48"},
        {{Control::f}, "4"},          {{Control::eigen, 1}, "2"},   {{Control::eigen, 2}, "1"},
        {{Control::eigen, 3}, "0.6"}, {{Control::eigen, 4}, "0.4"},
    };
    for (const auto& [box, text] : typed) {
        EditBox(replayed, box, text);
        if (box.control == Control::f) {
            PressStart(replayed);
        }
    }
    PressTest(replayed);
    const std::optional<CopiedResults> expected = CopyResults(replayed);
    ASSERT_TRUE(expected);
    EXPECT_EQ(ClipboardText(form.window()), Wide(WindowsLineEnds(expected->plainText)));

    // Word processors find the table between the offsets the header gives.
    ASSERT_TRUE(OpenClipboard(form.window()));
    HANDLE data = GetClipboardData(RegisterClipboardFormatW(L"HTML Format"));
    const std::string html = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data != nullptr) {
        GlobalUnlock(data);
    }
    CloseClipboard();
    const auto offset = [&](const std::string& name) {
        const std::size_t at = html.find(name + ":");
        return at == std::string::npos ? 0 : std::stoul(html.substr(at + name.size() + 1, 10));
    };
    const std::size_t start = offset("StartFragment");
    ASSERT_LE(start, offset("EndFragment"));
    EXPECT_EQ(html.substr(start, offset("EndFragment") - start), expected->html);
    EXPECT_EQ(html.substr(offset("StartHTML"), 6), "<html>");
    EXPECT_EQ(offset("EndHTML"), html.size());
}

// A file is written whole or not at all: where it cannot take the place of
// what stands under its name, that stays, and nothing is left beside it.
TEST(WriteWholeFile, ReplacesAFileOrLeavesTheFolderAsItWas) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "trolvane-whole-file-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "taken.svg");
    EXPECT_EQ(WriteWholeFile((folder / "plot.svg").wstring(), "<svg/>"), "");
    EXPECT_EQ(WriteWholeFile((folder / "plot.svg").wstring(), "<svg></svg>"), "");
    EXPECT_NE(WriteWholeFile((folder / "taken.svg").wstring(), "<svg/>"), "");
    EXPECT_NE(WriteWholeFile((folder / "missing" / "plot.svg").wstring(), "<svg/>"), "");
    const std::vector<std::filesystem::directory_entry> left(
        std::filesystem::directory_iterator(folder), {});
    EXPECT_EQ(left.size(), 2u);
    std::string written;
    std::getline(std::ifstream(folder / "plot.svg"), written);
    EXPECT_EQ(written, "<svg></svg>");
    std::filesystem::remove_all(folder);
}

// Six variables of two factors, 120 cases.
std::string TwoFactorData() {
    std::string csv = "a,b,c,d,e,f\n";
    for (int i = 0; i < 120; ++i) {
        const double factors[] = {std::sin(i * 1.7), std::cos(i * 2.3)};
        for (int j = 0; j < 6; ++j) {
            csv += std::to_string(factors[j / 3] + 0.6 * std::sin(i * (j + 3.1) * 0.77 + j));
            csv += j < 5 ? "," : "\n";
        }
    }
    return csv;
}

// Two clusters of three that do not correlate with each other: every rule,
// the table and the copies, and the window still running.
TEST_F(Win32Window, HowManyComponentsOnBlocksThatDoNotCorrelate) {
    Type(Control::n, L"200");
    OpenFile(
        "1 .6 .5 0 0 0\n.6 1 .4 0 0 0\n.5 .4 1 0 0 0\n"
        "0 0 0 1 .7 .6\n0 0 0 .7 1 .5\n0 0 0 .6 .5 1\n",
        true);
    ASSERT_TRUE(PressKeys(true, 'H'));
    HWND window = FindWindowW(nullptr, Wide(kHowManyTitle).c_str());
    ASSERT_NE(window, nullptr);
    HWND lines = GetDlgItem(window, kLinesItem);
    ASSERT_TRUE(Until([&] { return GetWindowTextLengthW(lines) > 0; }));
    EXPECT_EQ(SendMessageW(lines, EM_GETLINECOUNT, 0, 0), 10);
    EXPECT_NE(Text(lines).find(L"Minimum average partial: keep 2 (fourth powers: 2)"),
              std::wstring::npos);
    SendMessageW(GetDlgItem(window, kCopyTableItem), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(window).find(L"nan"), std::wstring::npos);
    SendMessageW(GetDlgItem(window, kCopyPlotItem), BM_CLICK, 0, 0);
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"image/svg+xml")));
    CloseClipboard();
    EXPECT_TRUE(IsWindow(form.window()));
    SendMessageW(window, WM_CLOSE, 0, 0);
}

TEST_F(Win32Window, HowManyComponentsFollowsTheDataAndCopiesItsTable) {
    OpenFile(TwoFactorData(), true);
    ASSERT_TRUE(PressKeys(true, 'H'));
    HWND window = FindWindowW(nullptr, Wide(kHowManyTitle).c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    HWND lines = GetDlgItem(window, kLinesItem);
    ASSERT_TRUE(Until([&] { return GetWindowTextLengthW(lines) > 0; }));

    // The same rules from the window's logic, without the window.
    FormState replayed(UserNumberFormat());
    LoadForm(replayed);
    UseData(replayed, *OpenDataDialog(TwoFactorData(), replayed.format).reading);
    const std::optional<RuleNumbers> numbers = NumbersForRules(replayed);
    ASSERT_TRUE(numbers);
    const std::optional<RuleResults> rules = ComputeRules(*numbers, replayed.ruleSettings);
    ASSERT_TRUE(rules);
    EXPECT_EQ(SendMessageW(lines, EM_GETLINECOUNT, 0, 0), 10);
    EXPECT_EQ(Text(lines), Wide(WindowsLineEnds(Joined(RuleLines(*rules, replayed.format), "\n"))));
    EXPECT_NE(Text(lines).find(L"\r\nEmpirical Kaiser criterion: keep "), std::wstring::npos);

    SendMessageW(GetDlgItem(window, kCopyTableItem), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(window),
              Wide(WindowsLineEnds(CopiedTable(*rules, replayed.format).plainText)));

    // The plot's first dot, filled as parallel analysis keeps it, is drawn
    // where the layout puts it.
    HWND plot = GetDlgItem(window, kPlotItem);
    RECT shown;
    GetClientRect(plot, &shown);
    const ScreePlot laidOut = LaidOutScreePlot(
        PlotData(*rules), {double(shown.right), double(shown.bottom), 1.0}, replayed.format);
    ASSERT_FALSE(laidOut.dots.empty());
    const Circle& first = laidOut.dots.front();
    EXPECT_NE(first.fill, laidOut.background);
    UpdateWindow(plot);
    HDC dc = GetDC(plot);
    const COLORREF drawn = GetPixel(dc, int(first.centre.x), int(first.centre.y));
    ReleaseDC(plot, dc);
    EXPECT_EQ(drawn, RGB(first.fill.red, first.fill.green, first.fill.blue));

    // Copy Plot: SVG, and a PNG at least 1200 pixels wide.
    SendMessageW(GetDlgItem(window, kCopyPlotItem), BM_CLICK, 0, 0);
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"image/svg+xml")));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    unsigned long pngWidth = 0;
    if (HANDLE png = GetClipboardData(RegisterClipboardFormatW(L"PNG"))) {
        // The width stands in the header's first chunk, big-endian.
        const auto* bytes = static_cast<const unsigned char*>(GlobalLock(png));
        pngWidth = bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];
        GlobalUnlock(png);
    }
    CloseClipboard();
    EXPECT_GE(pngWidth, 1200u);

    // A percentile out of its range is refused, naming its box, which then
    // holds the keyboard with its text selected.
    HWND percentile = GetDlgItem(window, kFirstSettingItem + 1);
    SetWindowTextW(percentile, L"100");
    MSG enter{};
    enter.hwnd = GetDlgItem(window, kFirstSettingItem);
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    EXPECT_NE(Reported([&] { form.TranslateKeys(enter); }).find(L"Percentile"), std::wstring::npos);
    EXPECT_EQ(GetFocus(), percentile);
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(percentile, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);

    // A changed box marks the lines out of date; Escape closes the window.
    Type(Control::n, L"300");
    EXPECT_NE(Text(GetDlgItem(window, kStatusItem)), L"");
    MSG escape{};
    escape.hwnd = lines;
    escape.message = WM_KEYDOWN;
    escape.wParam = VK_ESCAPE;
    EXPECT_TRUE(form.TranslateKeys(escape));
    EXPECT_FALSE(IsWindowVisible(window));
}

std::filesystem::path TestData(const char* name) {
    return std::filesystem::path(TROLVANE_TEST_DATA) / name;
}

// The table's text in the row and column.
std::wstring Cell(HWND table, int row, int column) {
    wchar_t text[64] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(table, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Polychoric chosen with the arrow key on the choice that Shift+Tab reaches
// from Use: the summary and the parallel analysis on permuted answers that
// every edition shows. The next file starts with the choice: its variable that
// cannot be polychoric is named, with Use disabled, until Pearson gives back
// the summary it had.
TEST_F(Win32Window, PolychoricCorrelationsOfAQuestionnaire) {
    std::wstring summary;
    ASSERT_TRUE(WhenOpened(
        L"Trolvane: Data",
        [&](HWND dialog) {
            HWND choice = GetDlgItem(dialog, kCorrelationsItem);
            EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDOK), TRUE), choice);
            EXPECT_EQ(SendMessageW(choice, CB_GETCURSEL, 0, 0), 0);
            SendMessageW(choice, WM_KEYDOWN, VK_DOWN, 0);
            summary = Text(GetDlgItem(dialog, kSummaryItem));
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        [&] { form.OpenDataFile(TestData("questionnaire.csv")); }));
    EXPECT_EQ(summary, Wide(WindowsLineEnds(testing::kQuestionnaireSummary)));
    EXPECT_EQ(Text(Control(Control::n)), L"300");

    ASSERT_TRUE(PressKeys(true, 'H'));
    HWND window = FindWindowW(nullptr, Wide(kHowManyTitle).c_str());
    ASSERT_NE(window, nullptr);
    HWND lines = GetDlgItem(window, kLinesItem);
    const std::wstring expected = Wide(testing::kQuestionnaireParallelAnalysis);
    EXPECT_TRUE(Until([&] { return Text(lines).starts_with(expected + L"\r\n"); })) << Text(lines);
    HWND table = GetDlgItem(window, kTableItem);
    for (int row = 0; row < int(testing::kQuestionnaireRandom.size()); ++row) {
        const auto& [mean, percentile] = testing::kQuestionnaireRandom[std::size_t(row)];
        EXPECT_EQ(Cell(table, row, 2), Wide(mean)) << row;
        EXPECT_EQ(Cell(table, row, 3), Wide(percentile)) << row;
    }
    SendMessageW(window, WM_CLOSE, 0, 0);

    const std::filesystem::path aged = TestData("questionnaire_age.csv");
    std::ifstream read(aged, std::ios::binary);
    const std::wstring pearson = Wide(WindowsLineEnds(
        OpenDataDialog({std::istreambuf_iterator<char>(read), {}}, UserNumberFormat()).summary));
    EXPECT_TRUE(WhenOpened(
        L"Trolvane: Data",
        [&](HWND dialog) {
            HWND choice = GetDlgItem(dialog, kCorrelationsItem);
            HWND shown = GetDlgItem(dialog, kSummaryItem);
            EXPECT_EQ(SendMessageW(choice, CB_GETCURSEL, 0, 0), 1);
            EXPECT_EQ(Text(shown), Wide(testing::kQuestionnaireAgeRefusal));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
            SendMessageW(choice, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ(Text(shown), pearson);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        [&] { form.OpenDataFile(aged); }));
}

}  // namespace
}  // namespace trolvane
