// The Windows window driven through its controls, as Windows delivers a user's
// edits and clicks: its layout at 96 dpi, the keyboard's order, a session, a
// failure and a paste. The window's logic has its own tests; these cover the view.
#include <gtest/gtest.h>

#include "form/win32/main_form.h"

namespace trolvane {
namespace {

constexpr int kDismissTimer = 1;

class Win32Window : public ::testing::Test {
  protected:
    void SetUp() override { ShowWindow(form.window(), SW_SHOWNORMAL); }

    HWND Control(Control control, int row = 0) { return form.control({control, row}); }

    std::wstring Text(HWND control) {
        wchar_t text[256] = L"";
        GetWindowTextW(control, text, 256);
        return text;
    }

    void Type(::trolvane::Control control, const std::wstring& text, int row = 0) {
        SetWindowTextW(Control(control, row), text.c_str());
    }

    // Clicks the button; a message box it raises is read and closed.
    std::wstring Click(::trolvane::Control button) {
        report_.clear();
        SetTimer(nullptr, kDismissTimer, 50, DismissReport);
        SendMessageW(Control(button), BM_CLICK, 0, 0);
        KillTimer(nullptr, kDismissTimer);
        return report_;
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
    static void CALLBACK DismissReport(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", L"Trolvane");
        if (box == nullptr) {
            return;
        }
        wchar_t text[512] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        report_ = text;
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    }
    static inline std::wstring report_;
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

}  // namespace
}  // namespace trolvane
