// Which shown results no longer follow from the boxes: a row the last Test did
// not write, or whose numbers have changed since, and a warning a Start undid.
#pragma once

#include "form/form_state.h"

namespace trolvane {

// Marks each result row current or out of date, with the reason, from the
// numbers the next Test would read.
void MarkRowsOutOfDate(FormState& form);

// Marks the warning out of date when the last Start found it no longer holds.
void MarkWarningOutOfDate(FormState& form, bool noLongerHolds);

}  // namespace trolvane
