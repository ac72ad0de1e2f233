// What a paste does to the boxes: a column of eigenvalues copied from a
// statistics program or a spreadsheet fills the rows from the box it is pasted
// into, and a box for one number never glues several into one.
#pragma once

#include <QStringList>

#include "form/form_state.h"

namespace trolvane {

// The fields of a pasted text, separated by line breaks or tabs; empty fields
// at its end are left out.
QStringList PastedFields(const QString& text);

// Text of several fields in eigen(k) goes one field a row, into eigen(k),
// eigen(k + 1), ... up to row 10; each row that receives one is shown and
// numbered. The texts go in as pasted.
void SpreadPastedColumn(FormState& form, int k);

// Text of several fields in a box for one number keeps its first non-empty one.
void KeepFirstPastedField(QLineEdit* box);

}  // namespace trolvane
