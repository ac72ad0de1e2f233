// The rules' computations as every edition runs them: only the one waited for
// is kept, progress shows after half a second, and closing the window stops
// what reopening it runs again.
#include <gtest/gtest.h>

#include "form/data_dialog.h"
#include "form/how_many.h"
#include "form/rules_computation.h"
#include "form/window_logic.h"

namespace trolvane {
namespace {

using namespace std::chrono_literals;

// The worked example, typed and tested.
FormState Tested() {
    FormState form{NumberFormat{}};
    for (const auto& [box, text] : {std::pair{Control::v, "4"},
                                    {Control::n, "50"},
                                    {Control::det, "0.48"},
                                    {Control::f, "4"}}) {
        EditBox(form, {box}, text);
    }
    PressStart(form);
    for (int k = 1; k <= 4; ++k) {
        EditBox(form, {Control::eigen, k}, std::to_string(4.0 / (k + 1)));
    }
    PressTest(form);
    return form;
}

RuleResults Rules(const RulesComputation::Request& request) {
    RuleResults results;
    results.numbers = request.numbers;
    results.settings = request.settings;
    return results;
}

TEST(RulesComputation, OnlyTheComputationWaitedForIsKept) {
    FormState form = Tested();
    RulesComputation rules;
    const auto t0 = RulesComputation::Clock::time_point{};
    const auto first = rules.AfterCommand(form, t0);
    ASSERT_TRUE(first);
    EXPECT_FALSE(rules.AfterCommand(form, t0)) << "due once after each Test";
    form.ruleSettings.seed = 7;
    const auto second = rules.Start(form, t0);
    ASSERT_TRUE(second);
    EXPECT_NE(first->id, second->id);

    // The first one's result arrives late: the window ignores it.
    EXPECT_FALSE(rules.Finish(first->id, Rules(*first), form));
    EXPECT_FALSE(form.rules);
    EXPECT_TRUE(rules.Finish(second->id, Rules(*second), form));
    EXPECT_EQ(form.rules->settings.seed, 7U);
    EXPECT_FALSE(rules.waitingFor());
    EXPECT_FALSE(rules.Finish(second->id, Rules(*first), form)) << "taken once";
}

// With R and n, the factor models follow the random data: the progress turns
// to them once the sets are drawn, or at once where none are drawn.
TEST(RulesComputation, ProgressTurnsToTheFactorModelsAfterTheRandomData) {
    FormState form{NumberFormat{}};
    UseData(form, *OpenDataDialog("1 .5 .4 .3 .2 .1\n.5 1 .5 .4 .3 .2\n.4 .5 1 .5 .4 .3\n"
                                  ".3 .4 .5 1 .5 .4\n.2 .3 .4 .5 1 .5\n.1 .2 .3 .4 .5 1\n",
                                  {})
                       .reading);
    EditBox(form, {Control::n}, "200");
    RulesComputation rules;
    const auto t0 = RulesComputation::Clock::time_point{};
    ASSERT_TRUE(rules.Start(form, t0));
    EXPECT_EQ(rules.Progress(t0 + 1s, 999, 0)->text, "Computing 1000 random data sets: 999 done");
    const auto fitting = rules.Progress(t0 + 1s, 1000, 1);
    EXPECT_EQ(fitting->text, "Fitting 3 factor models: 1 done");
    EXPECT_EQ(fitting->count, 3);

    form.ruleSettings.sets = MostRandomDataSets(6) + 1;
    ASSERT_TRUE(rules.Start(form, t0));
    EXPECT_EQ(rules.Progress(t0 + 1s, 0, 0)->text, "Fitting 3 factor models: 0 done");
}

TEST(RulesComputation, ProgressAfterHalfASecondAndClosingStopsWhatOpeningRunsAgain) {
    FormState form = Tested();
    RulesComputation rules;
    const auto t0 = RulesComputation::Clock::time_point{};
    const auto running = rules.AfterCommand(form, t0);
    ASSERT_TRUE(running);
    EXPECT_FALSE(rules.Progress(t0 + 500ms, 10, 0));
    const auto shown = rules.Progress(t0 + 501ms, 430, 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "Computing 1000 random data sets: 430 done");
    EXPECT_EQ(shown->count, 1000);

    EXPECT_TRUE(rules.Close());
    EXPECT_FALSE(rules.Progress(t0 + 2s, 500, 0));
    EXPECT_FALSE(rules.Finish(running->id, Rules(*running), form)) << "stopped";
    const auto again = rules.Open(t0 + 3s);
    ASSERT_TRUE(again);
    EXPECT_NE(again->id, running->id);
    EXPECT_EQ(again->numbers, running->numbers);
    EXPECT_FALSE(rules.Progress(t0 + 3s + 400ms, 0, 0)) << "timed from its new start";
    EXPECT_FALSE(rules.Open(t0 + 4s)) << "runs once";

    ASSERT_TRUE(rules.Finish(again->id, Rules(*again), form));
    EXPECT_FALSE(rules.Close()) << "nothing left to stop";
    EXPECT_FALSE(rules.Open(t0 + 5s));
}

}  // namespace
}  // namespace trolvane
