// The font family the window's controls are drawn in: one whose metrics match
// the ones the layout was drawn for, so that every caption fits its label.
#pragma once

#include <QFont>
#include <QString>

namespace trolvane {

// The size most of the window's text is drawn at.
inline constexpr double kSmallPoints = 8.25;

// Tahoma where the desktop offers it; else the copy Wine's font package
// installs, loaded for this program only; else the desktop's general font.
// Chosen once per process.
QString StandInFamily();

// The stand-in family at the given size and weight.
QFont StandInFont(double points, bool bold = false);

}  // namespace trolvane
