// What every fuzz target holds the engine to: the separator sets users have, and
// a check that stops the run with a message when a property fails.
#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/conversions.h"
#include "engine/run_error.h"

namespace trolvane::fuzz {

inline const std::array<NumberFormat, 3> kFormats{{
    {".", ","},
    {",", "."},
    {",", "\u00a0"},
}};

inline void Require(bool holds, std::string_view property, std::string_view input) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %.*s\ninput: \"%.*s\"\n",
                     static_cast<int>(property.size()), property.data(),
                     static_cast<int>(input.size()), input.data());
        std::abort();
    }
}

}  // namespace trolvane::fuzz
