// The window's logic without a window: marks on results that are out of date or
// computed from impossible inputs, failures that name their box, and where the
// keyboard goes.
#include <gtest/gtest.h>

#include <cmath>

#include "form/window_logic.h"

namespace trolvane {
namespace {

using Ids = std::vector<std::pair<ControlId, std::string>>;

class WindowLogic : public ::testing::Test {
  protected:
    void Type(const Ids& boxes) {
        for (const auto& [box, text] : boxes) {
            EditBox(form, box, text);
        }
    }
    void TypeInputs(const std::string& p, const std::string& n, const std::string& det,
                    const std::string& f) {
        Type({{{Control::v}, p}, {{Control::n}, n}, {{Control::det}, det}, {{Control::f}, f}});
    }
    void TypeEigenvalues(const std::vector<std::string>& eigenvalues) {
        for (int k = 1; k <= static_cast<int>(eigenvalues.size()); ++k) {
            EditBox(form, {Control::eigen, k}, eigenvalues[k - 1]);
        }
    }
    void WorkedExample() {
        TypeInputs("4", "50", "0.48", "4");
        ASSERT_FALSE(PressStart(form));
        TypeEigenvalues({"2", "1", "0.6", "0.4"});
        ASSERT_FALSE(PressTest(form));
    }

    FormState form{NumberFormat{}};
};

TEST_F(WindowLogic, AnEditedInputMarksItsRowsOutOfDateUntilTestWritesThemAgain) {
    WorkedExample();
    EXPECT_EQ(form.test(1).Note(), "Exact p = 0.08331 (chi-square 9.728 on 5 df)");
    Type({{{Control::v}, "4 "}, {{Control::eigen, 3}, "0.60"}});
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(form.test(k).outOfDate, "") << "the same numbers, row " << k;
    }
    Type({{{Control::eigen, 2}, "1.1"}});
    EXPECT_EQ(form.test(1).outOfDate, "");
    EXPECT_EQ(form.test(2).Note(),
              "Out of date: Eigenvalue 2 has changed since this row was computed.\n"
              "Exact p = 0.3951 (chi-square 1.857 on 2 df)");
    Type({{{Control::n}, "60"}});
    EXPECT_EQ(form.test(1).outOfDate,
              "Out of date: Sample size has changed since this row was computed.");
    ASSERT_FALSE(PressTest(form));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(form.test(k).outOfDate, "");
    }
}

TEST_F(WindowLogic, RowsTheLastTestDidNotWriteAreOutOfDate) {
    WorkedExample();
    Type({{{Control::eigen, 2}, "x"}});
    const auto report = PressTest(form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->advice, "Eigenvalue 2 holds no number. Then press Test again.");
    ASSERT_TRUE(form.focus);
    EXPECT_EQ(form.focus->box, (ControlId{Control::eigen, 2}));
    EXPECT_EQ(form.test(1).outOfDate, "");
    EXPECT_EQ(form.test(2).outOfDate, "Out of date: the last Test did not write this row.");
    EXPECT_EQ(form.test(3).outOfDate, "Out of date: the last Test did not write this row.");
}

TEST_F(WindowLogic, TheWarningIsMarkedOutOfDateWhenAStartFindsItNoLongerHolds) {
    TypeInputs("4", "50", "0.48", "4");
    PressStart(form);
    EXPECT_EQ(form.oops.caption, "Can only test up to #factors - 1");
    EXPECT_EQ(form.oops.outOfDate, "");
    Type({{{Control::f}, "3"}});
    PressStart(form);
    EXPECT_EQ(form.oops.caption, "Can only test up to #factors - 1");
    EXPECT_EQ(form.oops.Note(),
              "Out of date: the last Start found that every factor can be tested.");
    Type({{{Control::f}, "5"}});
    PressStart(form);
    EXPECT_EQ(form.oops.outOfDate, "");
}

TEST_F(WindowLogic, ARowFromImpossibleInputsKeepsItsCaptionAndNamesTheBox) {
    TypeInputs("4", "50", "0.9", "1");
    PressStart(form);
    TypeEigenvalues({"2"});
    ASSERT_FALSE(PressTest(form));
    EXPECT_EQ(form.test(1).caption, " X\u00b2(5)= -19.293 p > .05");
    EXPECT_EQ(form.test(1).Note().rfind(
                  "Determinant of R is too large for these eigenvalues, which makes the "
                  "statistic negative.\nExact p = 1",
                  0),
              0u);
}

TEST_F(WindowLogic, AFailureNamesTheBoxThatCausedIt) {
    TypeInputs("12", "300", "1.5", "5");
    PressStart(form);
    TypeEigenvalues({"4.1", "2", "1.3", "0.9", "0.7"});
    const auto report = PressTest(form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->message, "Run-time error '5':\n\nInvalid argument");
    EXPECT_EQ(report->advice,
              "Determinant of R is above 1, which no correlation matrix has. Then press Test "
              "again.");
    EXPECT_EQ(form.focus->box, ControlId{Control::det});
}

TEST_F(WindowLogic, ReturnMovesOnOrRunsTheCommand) {
    TypeInputs("4", "50", "0.48", "2");
    PressReturn(form, {Control::v});
    EXPECT_EQ(form.focus->box, ControlId{Control::n});
    PressReturn(form, {Control::det});
    EXPECT_EQ(form.focus->box, ControlId{Control::f});
    PressReturn(form, {Control::f});
    EXPECT_TRUE(form.eigen(2).visible);
    EXPECT_EQ(form.focus->box, (ControlId{Control::eigen, 1}));
    TypeEigenvalues({"2", "1"});
    EXPECT_FALSE(PressReturn(form, {Control::eigen, 2}));
    EXPECT_EQ(form.test(2).caption, " X\u00b2(2)= 1.857 p > .05");
}

// Every edition creates its controls in this order, so a screen reader meets
// each box right after the label that names it.
TEST(Controls, AreReadInTheKeyboardsOrderEachBoxAfterItsName) {
    std::vector<std::string> names;
    for (const int i : ReadingOrder()) {
        names.push_back(ControlName(kControls[i]));
    }
    const std::vector<std::string> keyboard = {"Label1", "v",      "Label2", "n",        "Label3",
                                               "det",    "Label4", "f",      "Command1", "eigen_1"};
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kControlCount));
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 10), keyboard);
    EXPECT_EQ(names[18], "eigen_10");
    EXPECT_EQ(names[19], "Command2");
}

// WCAG's contrast ratio of two colours.
double Contrast(Rgb a, Rgb b) {
    const auto luminance = [](Rgb c) {
        const auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Marks, StayLegible) {
    EXPECT_GE(Contrast(kOutOfDateText, kOrange), 4.5);
    EXPECT_GE(Contrast(kWarningText, kWarningBackground), 4.5);
}

}  // namespace
}  // namespace trolvane
