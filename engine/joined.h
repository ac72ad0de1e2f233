// Texts joined into one, with a separator between each and the next: the
// summary's lines, a report's cells and the like.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trolvane {

inline std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += parts[i];
    }
    return joined;
}

}  // namespace trolvane
