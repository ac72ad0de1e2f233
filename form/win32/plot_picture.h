// The scree plot drawn with GDI from its laid-out shapes: in the How Many
// Components window, and as a picture for the clipboard and a file.
#pragma once

#include <windows.h>

#include <string>

#include "retention/scree_plot.h"

namespace trolvane {

// Draws the plot on the device context in device pixels, its top left corner
// at the origin, over a background of its own.
void PaintScreePlot(HDC dc, const ScreePlot& plot);

// The plot drawn as a picture of its size: as a device-independent bitmap (its
// header and rows, as the clipboard's CF_DIB holds them) and as PNG, encoded
// with WIC; each empty where it could not be made. COM must be started on
// this thread.
struct PlotPicture {
    std::string dib;
    std::string png;
};
PlotPicture DrawnPlot(const ScreePlot& plot);

}  // namespace trolvane
