// What a failure report tells the user to mend: a sentence naming the box or
// row where the command stopped, in the window's own words, and that box.
#pragma once

#include <QString>

#include "form/form_state.h"

namespace trolvane {

struct Advice {
    QString sentence;
    // The box the sentence names first, where the keyboard goes once the
    // report is closed; none where the failure has no place on the window.
    QLineEdit* box = nullptr;
};

Advice AdviceFor(const RunError& error, const FormState& form);

}  // namespace trolvane
