// What the window says of inputs no correlation matrix can have: one sentence
// naming the box to check by its name on screen and why, and that box.
#pragma once

#include <string>

#include "engine/impossible_inputs.h"
#include "form/controls.h"

namespace trolvane {

struct BoxToCheck {
    std::string sentence;
    ControlId box;
};

BoxToCheck DescribeImpossible(const ImpossibleInput& input);

}  // namespace trolvane
