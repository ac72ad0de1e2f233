#include "form/rules_job.h"

#include <exception>
#include <utility>

#include "form/how_many.h"

namespace trolvane {

RulesJob::RulesJob(RulesComputation::Request request, std::function<void(int id)> finished)
    : id_(request.id),
      thread_([this, request = std::move(request), finished = std::move(finished)] {
          // Nothing thrown here may end the program: what could not be
          // computed is said in the rules' lines.
          try {
              result_ = ComputeRules(request.numbers, request.settings, &progress_);
          } catch (const std::exception&) {
              result_ = RulesFrom(request.numbers, request.settings, std::nullopt);
              result_->randomFailed = true;
          }
          if (!progress_.cancelled) {
              finished(id_);
          }
      }) {}

RulesJob::~RulesJob() {
    progress_.cancelled = true;
    thread_.join();
}

}  // namespace trolvane
