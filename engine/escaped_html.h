// Text made safe to stand in HTML or XML, as an element's content or a quoted
// attribute: the copied results' table and the saved scree plot.
#pragma once

#include <string>
#include <string_view>

namespace trolvane {

inline std::string EscapedHtml(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace trolvane
