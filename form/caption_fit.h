// The rule every edition fits a caption to its label by: the designed size where
// the caption fits, else a quarter point smaller until it does, never below 6 pt.
#pragma once

namespace trolvane {

inline constexpr double kSmallestLegiblePoints = 6;
inline constexpr double kPointStep = 0.25;

// fits(points) says whether the caption, drawn at that size, fits its label.
template <typename Fits>
double FittingPoints(double designed, Fits fits) {
    double points = designed;
    while (!fits(points) && points - kPointStep >= kSmallestLegiblePoints) {
        points -= kPointStep;
    }
    return points;
}

}  // namespace trolvane
