// The Windows window driven through its controls and menus, as Windows
// delivers a user's edits, clicks and commands: its layout at 96 dpi, the
// keyboard's order, a session, a failure, a paste, the data dialog and the
// results on the clipboard. The window's logic has its own tests; these cover
// the view.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "form/results.h"
#include "form/win32/clipboard.h"
#include "form/win32/data_dialog_window.h"
#include "form/win32/main_form.h"

namespace trolvane {
namespace {

class Win32Window : public ::testing::Test {
  protected:
    void SetUp() override { ShowWindow(form.window(), SW_SHOWNORMAL); }

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

TEST_F(Win32Window, UsingAMatrixFromAFileFillsTheWindow) {
    Type(Control::n, L"50");
    const DataDialogSeen seen =
        OpenFile("1,.5,.4,.3\n.5,1,.35,.25\n.4,.35,1,.2\n.3,.25,.2,1\n", true);
    EXPECT_NE(seen.summary.find(L"Correlation matrix of 4 variables\r\n"), std::wstring::npos)
        << seen.summary;
    EXPECT_TRUE(seen.useEnabled);
    EXPECT_TRUE(seen.closedByUse);
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

}  // namespace
}  // namespace trolvane
