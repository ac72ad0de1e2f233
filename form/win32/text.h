// Text as Windows takes it: UTF-16 for the API, UTF-8 for the window's logic,
// and CR LF line ends for edit boxes, the clipboard and the console.
#pragma once

#include <string>
#include <string_view>

namespace trolvane {

std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

// Every line end as CR LF, whatever the text had.
std::string WindowsLineEnds(std::string_view text);

}  // namespace trolvane
