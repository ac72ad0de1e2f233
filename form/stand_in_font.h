// The font family the window's controls are drawn in: one whose metrics match
// the ones the layout was drawn for, so that every caption fits its label.
#pragma once

#include <QString>

namespace trolvane {

// Tahoma where the desktop offers it; else the copy Wine's font package
// installs, loaded for this program only; else the desktop's general font.
// Chosen once per process.
QString StandInFamily();

}  // namespace trolvane
