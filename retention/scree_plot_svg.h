// The scree plot as a standalone SVG 1.1 document, for a report: every shape of
// the laid-out plot as an element of its own, which a drawing program can edit.
#pragma once

#include <string>

#include "retention/scree_plot.h"

namespace trolvane {

// The document, with the plot's name as its title and its description; its
// numbers are written with a decimal point whatever the user's separators.
std::string ScreePlotSvg(const ScreePlot& plot);

}  // namespace trolvane
