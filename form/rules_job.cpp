#include "form/rules_job.h"

#include <utility>

#include "form/how_many.h"

namespace trolvane {

RulesJob::RulesJob(RuleNumbers numbers, RandomDataSettings settings, std::function<void()> finished)
    : settings_(settings),
      thread_([this, numbers = std::move(numbers), finished = std::move(finished)] {
          result_ = ComputeRules(numbers, settings_, &progress_);
          if (!progress_.cancelled) {
              finished();
          }
      }) {}

RulesJob::~RulesJob() {
    progress_.cancelled = true;
    thread_.join();
}

}  // namespace trolvane
