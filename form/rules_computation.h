// Which computation of the rules the window waits for, when it shows how far
// it is, and when closing the window stops it: decided here once for every
// edition, whose windows only run the computations and draw what this says.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "form/form_state.h"
#include "form/rule_results.h"

namespace trolvane {

class RulesComputation {
  public:
    using Clock = std::chrono::steady_clock;

    // A computation to run: its identity, and what it computes from.
    struct Request {
        int id = 0;
        RuleNumbers numbers;
        RandomDataSettings settings;
    };

    // After a command has run: the rules are due once after each Test.
    std::optional<Request> AfterCommand(const FormState& form, Clock::time_point now);
    // The rules computed again now, from the boxes and settings as they are
    // (after Use, or new settings), in place of any computation still running;
    // none where the boxes give no numbers for the rules, and the last rules stay.
    std::optional<Request> Start(const FormState& form, Clock::time_point now);
    // A computation has ended with its rules, or none where it was stopped:
    // kept in `form` only from the computation waited for; true then.
    bool Finish(int id, std::optional<RuleResults> rules, FormState& form);

    // The computation waited for, if any: a computation with another identity
    // is no longer wanted.
    std::optional<int> waitingFor() const;
    // How far the computation waited for is, once it has taken longer than
    // half a second; none before, or without one.
    // The random data sets first, then the factor models.
    struct Shown {
        int done = 0;
        int count = 0;
        // "Computing 1000 random data sets: 430 done", then "Fitting 19
        // factor models: 12 done"
        std::string text;
    };
    std::optional<Shown> Progress(Clock::time_point now, int setsDone, int modelsFitted) const;

    // The How Many Components window has closed: true where the computation
    // waited for must stop now.
    bool Close();
    // The window has opened: the computation closing stopped, to run again.
    std::optional<Request> Open(Clock::time_point now);

  private:
    std::optional<Request> Run(Request request, Clock::time_point now);

    int lastId_ = 0;
    // The Test runs whose rules have been started.
    int rulesOfRun_ = 0;
    std::optional<Request> running_;
    Clock::time_point started_;
    // What closing the window stopped.
    std::optional<Request> stopped_;
};

}  // namespace trolvane
