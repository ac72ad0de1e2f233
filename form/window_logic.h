// What the user's actions do to the window, whatever toolkit draws it: pressing
// a button, editing a box, pressing Return. Each edition's window hands its
// events here and then shows the state, the failure report and the focus.
#pragma once

#include <optional>
#include <string>

#include "form/form_state.h"

namespace trolvane {

// What a failure report says: the error's number and description, then the
// advice, which names the box to mend and the button to press again.
struct FailureReport {
    std::string message;
    std::string advice;
};

// The window as it first shows: the eigenvalue boxes hidden until Start.
void LoadForm(FormState& form);

// Runs the Start or the Test command. A failure stops it where it happened;
// everything it already wrote stays, and the keyboard goes to the box to mend.
// After a Start the keyboard goes to the first shown eigenvalue box.
std::optional<FailureReport> PressStart(FormState& form);
std::optional<FailureReport> PressTest(FormState& form);

// The user changed a box's text: a paste of several fields is spread over the
// rows, or cut to one number in the boxes for one number.
void EditBox(FormState& form, ControlId box, std::string text);

// Return in f runs Start, in an eigenvalue box Test, and in the other boxes
// moves on to the next box, as Tab does.
std::optional<FailureReport> PressReturn(FormState& form, ControlId box);

}  // namespace trolvane
