// What a failure report tells the user to mend: a sentence naming the one box
// to mend by its name on screen, and that box, where the keyboard goes next.
#pragma once

#include <optional>
#include <string>

#include "form/form_state.h"

namespace trolvane {

struct Advice {
    std::string sentence;
    // None where the failure has no place on the window.
    std::optional<ControlId> box;
};

Advice AdviceFor(const RunError& error, const FormState& form);

}  // namespace trolvane
