// What the two buttons do: Start prepares the rows for the eigenvalues, Test
// computes every testable row's statistic and writes its caption.
#pragma once

#include "form/form_state.h"

namespace trolvane {

void StartCommand(FormState& form);
void TestCommand(FormState& form);

}  // namespace trolvane
