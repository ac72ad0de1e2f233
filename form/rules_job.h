// The rules computed on a thread of their own, so that the window stays live
// while parallel analysis runs; the desktop editions' windows use it.
#pragma once

#include <functional>
#include <optional>
#include <thread>

#include "form/rule_results.h"

namespace trolvane {

class RulesJob {
  public:
    // Starts at once; `finished` is called on the job's own thread once the
    // result is ready, for the window to pass on to its own thread.
    RulesJob(RuleNumbers numbers, RandomDataSettings settings, std::function<void()> finished);
    // Cancels the computation and waits for its thread.
    ~RulesJob();
    RulesJob(const RulesJob&) = delete;
    RulesJob& operator=(const RulesJob&) = delete;

    int setsDone() const { return progress_.setsDone; }
    int sets() const { return settings_.sets; }
    // The rules, once `finished` has been called.
    const std::optional<RuleResults>& result() const { return result_; }

  private:
    RandomDataSettings settings_;
    Progress progress_;
    std::optional<RuleResults> result_;
    std::thread thread_;
};

}  // namespace trolvane
