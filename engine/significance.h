// Turns one row's statistic into the caption of its result label: the statistic
// with its degrees of freedom and a p-text judged at the .05 and .01 levels.
#pragma once

#include <string>

#include "engine/conversions.h"

namespace trolvane {

using RowText = std::string;  // UTF-8; the superscript two is U+00B2

// " X² has df = 0", " X²(df)= chisq p-text" for df up to 30, or " t(df)= z p-text"
// through the normal-type approximation for df over 30.
RowText Significance(double chisq, double df, const NumberFormat& format = {});

}  // namespace trolvane
