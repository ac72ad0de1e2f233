#include "form/rules_computation.h"

#include <utility>

#include "form/how_many.h"

namespace trolvane {

// How long a computation runs before the window shows how far it is.
constexpr RulesComputation::Clock::duration kLongComputation = std::chrono::milliseconds(500);

std::optional<RulesComputation::Request> RulesComputation::AfterCommand(const FormState& form,
                                                                        Clock::time_point now) {
    if (form.testRuns == rulesOfRun_) {
        return std::nullopt;
    }
    return Start(form, now);
}

std::optional<RulesComputation::Request> RulesComputation::Start(const FormState& form,
                                                                 Clock::time_point now) {
    rulesOfRun_ = form.testRuns;
    stopped_.reset();
    running_.reset();
    const std::optional<RuleNumbers> numbers = NumbersForRules(form);
    if (!numbers) {
        return std::nullopt;
    }
    return Run({0, *numbers, form.ruleSettings}, now);
}

std::optional<RulesComputation::Request> RulesComputation::Run(Request request,
                                                               Clock::time_point now) {
    request.id = ++lastId_;
    running_ = request;
    started_ = now;
    return request;
}

bool RulesComputation::Finish(int id, std::optional<RuleResults> rules, FormState& form) {
    if (waitingFor() != id) {
        return false;
    }
    running_.reset();
    if (rules) {
        form.rules = std::move(rules);
    }
    return true;
}

std::optional<int> RulesComputation::waitingFor() const {
    return running_ ? std::optional(running_->id) : std::nullopt;
}

std::optional<RulesComputation::Shown> RulesComputation::Progress(Clock::time_point now,
                                                                  int setsDone,
                                                                  int modelsFitted) const {
    if (!running_ || now - started_ <= kLongComputation) {
        return std::nullopt;
    }
    const int sets = running_->settings.sets;
    const int models = FactorModelsToFit(running_->numbers);
    if (models > 0 && (modelsFitted > 0 || setsDone >= sets ||
                       !DrawsRandomData(running_->numbers, running_->settings))) {
        return Shown{modelsFitted, models, FittingText(modelsFitted, models)};
    }
    return Shown{setsDone, sets, ProgressText(setsDone, sets)};
}

bool RulesComputation::Close() {
    stopped_ = std::exchange(running_, std::nullopt);
    return stopped_.has_value();
}

std::optional<RulesComputation::Request> RulesComputation::Open(Clock::time_point now) {
    if (!stopped_) {
        return std::nullopt;
    }
    return Run(*std::exchange(stopped_, std::nullopt), now);
}

}  // namespace trolvane
