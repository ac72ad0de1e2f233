// The rules computed on a thread of their own, so that the window stays live
// while parallel analysis runs; the desktop editions' windows use it.
#pragma once

#include <functional>
#include <optional>
#include <thread>

#include "form/rule_results.h"
#include "form/rules_computation.h"

namespace trolvane {

class RulesJob {
  public:
    // Starts at once; `finished` is called on the job's own thread once the
    // result is ready, with the computation's identity, for the window to
    // pass on to its own thread. It is not called once cancelled.
    RulesJob(RulesComputation::Request request, std::function<void(int id)> finished);
    // Cancels the computation and waits for its thread.
    ~RulesJob();
    RulesJob(const RulesJob&) = delete;
    RulesJob& operator=(const RulesJob&) = delete;

    int id() const { return id_; }
    int setsDone() const { return progress_.setsDone; }
    int modelsFitted() const { return progress_.modelsFitted; }
    // The rules, once `finished` has been called.
    const std::optional<RuleResults>& result() const { return result_; }

  private:
    int id_;
    Progress progress_;
    std::optional<RuleResults> result_;
    std::thread thread_;
};

}  // namespace trolvane
